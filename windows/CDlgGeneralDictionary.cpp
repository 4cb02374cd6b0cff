#include "windows/CDlgGeneralDictionary.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "engine/AccessKeys.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CWaitWindow.h"
#include "tessary/CoolDisplay.h"
#include "tessary/CoreFeedback.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/DictionaryTexts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_map>

namespace {

// An ASCII text in lower case; false (folded left incomplete) for any other.
bool FoldAscii(const QString& text, std::string& folded)
{
    folded.resize(static_cast<std::size_t>(text.size()));
    const QChar* data = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = data[i].unicode();
        if (c >= 0x80)
            return false;
        folded[static_cast<std::size_t>(i)] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return true;
}

} // namespace

void CDlgGeneralDictionary::FoldOriginals()
{
    // In one block, made once: the views into it stay valid.
    std::size_t total = 0;
    for (const Row& row : m_rows)
        total += static_cast<std::size_t>(row.originalKey.size());
    m_foldedOriginals.clear();
    m_foldedOriginals.reserve(total);
    std::string folded;
    for (Row& row : m_rows) {
        row.originalAscii = FoldAscii(row.originalKey, folded);
        if (!row.originalAscii)
            continue;
        const std::size_t at = m_foldedOriginals.size();
        m_foldedOriginals += folded;
        row.originalFolded = std::string_view(m_foldedOriginals).substr(at, folded.size());
    }
}

int CDlgGeneralDictionary::CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue)
{
    // The second click on a heading sorts the other way.
    if (sortValue >> 16)
        return CompareRows(b, a, sortValue & 0xFFFF);
    // By the shown text of the sorted column, without regard to case.
    // Sorting 100,000 rows compares millions of times: two ASCII texts
    // compare by their lower-case forms made once; others compare their
    // ASCII start here and the rest as Qt compares without regard to case.
    const auto* ra = reinterpret_cast<const Row*>(a);
    const auto* rb = reinterpret_cast<const Row*>(b);
    const bool translation = (sortValue & 0xFFFF) == 1;
    if (translation) {
        for (const Row* r : {ra, rb}) {
            if (!r->translationFoldedMade) {
                r->translationAscii = FoldAscii(r->translationKey, r->translationFolded);
                r->translationFoldedMade = true;
            }
        }
        if (ra->translationAscii && rb->translationAscii)
            return ra->translationFolded.compare(rb->translationFolded);
    } else if (ra->originalAscii && rb->originalAscii) {
        return ra->originalFolded.compare(rb->originalFolded);
    }
    const QString& ka = translation ? ra->translationKey : ra->originalKey;
    const QString& kb = translation ? rb->translationKey : rb->originalKey;
    const qsizetype n = std::min(ka.size(), kb.size());
    const QChar* da = ka.constData();
    const QChar* db = kb.constData();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = da[i].unicode();
        char16_t cb = db[i].unicode();
        if (ca >= 0x80 || cb >= 0x80)
            return QStringView(ka).mid(i).compare(QStringView(kb).mid(i), Qt::CaseInsensitive);
        ca = ca >= 'A' && ca <= 'Z' ? ca + 32 : ca;
        cb = cb >= 'A' && cb <= 'Z' ? cb + 32 : cb;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return ka.size() == kb.size() ? 0 : (ka.size() < kb.size() ? -1 : 1);
}

CDlgGeneralDictionary::CDlgGeneralDictionary(QWidget* parent, CTrelvarDoc* document,
                                             std::function<void()> refreshTimer)
    : CDlgDictionaryBase(parent, document), m_refreshTimer(std::move(refreshTimer))
{
    setObjectName(QStringLiteral("131"));
    // A window of its own (not a tool window of the main one), so that its
    // mnemonics and edits get the keys rather than the main menu.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setModal(false);
    m_baseTitle = tr("Dictionary");
    setWindowTitle(m_baseTitle);
    auto* layout = new QVBoxLayout(this);
    AddHelpBanner(
        this, layout,
        {tr("Enter the translation for the selected text then click on Modify."),
         tr("If you don't want a text to be translated, click on the right button in the list and select "
            "'Do not translate' item.\nIf you want to find resources that use a text, click on the right "
            "button in the list and select 'Find in resources' item."),
         tr("Bookmark shortcuts : \tCtrl+F2 : add - remove    /    Shift+Ctrl+F2 : remove all    /    F2 : "
            "next    /    Shif+F2 : previous")});
    // From the top the help texts are 42001, 42003 and 42002.
    QLabel* second = findChild<QLabel*>(QStringLiteral("42002"));
    QLabel* third = findChild<QLabel*>(QStringLiteral("42003"));
    second->setObjectName(QStringLiteral("42003"));
    third->setObjectName(QStringLiteral("42002"));
    layout->addLayout(NewFilterBar());
    auto* listLabel = new QLabel(tr("&Dictionary:"), this);
    listLabel->setBuddy(m_list);
    layout->addWidget(listLabel);
    m_list->setObjectName(QStringLiteral("1005"));
    m_list->InsertColumn(0, tr("Original"), CListCtrlEx::FormatLeft, 290);
    m_list->InsertColumn(1, tr("Translation"), CListCtrlEx::FormatLeft, 290);
    m_list->SetCompareProcForSorting(&CDlgGeneralDictionary::CompareRows);
    // The translation takes the width the window gives, without a
    // horizontal scroll bar.
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(m_list, 1);
    layout->addWidget(NewMatches());

    auto* edits = new QGridLayout;
    m_originalEdit = new QLineEdit(this);
    m_originalEdit->setObjectName(QStringLiteral("1007"));
    m_originalEdit->setReadOnly(true);
    m_translationEdit = new QLineEdit(this);
    m_translationEdit->setObjectName(QStringLiteral("1008"));
    m_translationEdit->setMaxLength(255);
    auto* originalLabel = new QLabel(tr("&Original:"), this);
    originalLabel->setBuddy(m_originalEdit);
    auto* translationLabel = new QLabel(tr("&Translation:"), this);
    translationLabel->setBuddy(m_translationEdit);
    edits->addWidget(originalLabel, 0, 0);
    edits->addWidget(m_originalEdit, 0, 1);
    edits->addWidget(translationLabel, 1, 0);
    edits->addWidget(m_translationEdit, 1, 1);
    layout->addLayout(edits);

    auto* buttons = new QHBoxLayout;
    m_modify = NewButton(tr("&Modify"), "1072");
    m_clear = NewButton(tr("&Clear"), "1062");
    // Enter belongs to the translation edit (it applies the translation);
    // no button is the default one.
    auto* ok = NewButton(tr("OK"), "1");
    auto* cancel = NewButton(tr("Cancel"), "2");
    m_modify->setEnabled(false);
    m_clear->setEnabled(false);
    buttons->addWidget(m_modify);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_modify, &QPushButton::clicked, this, &CDlgGeneralDictionary::OnModify);
    connect(m_clear, &QPushButton::clicked, this, &CDlgGeneralDictionary::OnClear);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, &CDlgGeneralDictionary::OnCancel);
    connect(m_translationEdit, &QLineEdit::textEdited, this, [this] { m_edited = true; });
    // Enter applies the translation and goes on to the next text, as
    // translators work through a list.
    connect(m_translationEdit, &QLineEdit::returnPressed, this, &CDlgGeneralDictionary::OnModify);
    WatchTranslationFields();
    connect(m_list, &CListCtrlEx::itemSelectionChanged, this, &CDlgGeneralDictionary::OnSelectionChanged);
    connect(m_list, &CListCtrlEx::columnClicked, this, [this](int) { ListSorted(); });
    // At least 401 by 274 dialog units, and a good part of the screen so
    // that the list shows many rows; later the size the user gave it.
    const Settings settings = AppSettings();
    const int width = settings.Get(Settings::Integer::DictionaryWidth);
    const int height = settings.Get(Settings::Integer::DictionaryHeight);
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(width > 0 ? width : std::max(602, screenArea.width() * 11 / 20),
           height > 0 ? height : std::max(445, screenArea.height() * 7 / 10));
    m_list->SetColumnWidth(0, this->width() * 9 / 20);
    ApplyFonts();
}

CDlgGeneralDictionary::~CDlgGeneralDictionary()
{
    SavePosition();
}

void CDlgGeneralDictionary::ApplyFonts()
{
    m_originalEdit->setFont(m_originalFont);
    m_translationEdit->setFont(m_translationFont);
    m_list->SetColumnFont(0, m_fontsForLists ? &m_originalFont : nullptr);
    m_list->SetColumnFont(1, m_fontsForLists ? &m_translationFont : nullptr);
}

void CDlgGeneralDictionary::SavePosition() const
{
    const Settings settings = AppSettings();
    // The inside of the window, as ShowWindow puts it back.
    settings.Set(Settings::Integer::DictionaryLeft, geometry().x());
    settings.Set(Settings::Integer::DictionaryTop, geometry().y());
    settings.Set(Settings::Integer::DictionaryWidth, width());
    settings.Set(Settings::Integer::DictionaryHeight, height());
}

std::string CDlgGeneralDictionary::RowOriginal(int row) const
{
    return reinterpret_cast<const Row*>(m_list->GetItemData(row))->original;
}

bool CDlgGeneralDictionary::RowTranslated(int row) const
{
    return !reinterpret_cast<const Row*>(m_list->GetItemData(row))->translation.empty();
}

void CDlgGeneralDictionary::ShowOrHide()
{
    if (isVisible()) {
        OnCancel();
        return;
    }
    ShowWindow();
}

void CDlgGeneralDictionary::ShowWindow()
{
    Refill();
    const Settings settings = AppSettings();
    const int left = settings.Get(Settings::Integer::DictionaryLeft);
    const int top = settings.Get(Settings::Integer::DictionaryTop);
    if (left == -1 || top == -1) {
        const QWidget* view = parentWidget();
        const QRect area = view ? view->geometry() : screen()->availableGeometry();
        move(area.center() - rect().center());
    } else {
        setGeometry(QRect(QPoint(left, top), size()));
    }
    show();
    raise();
}

void CDlgGeneralDictionary::UpdateTitle()
{
    QString title =
        m_baseTitle +
        QStringLiteral(" ( %1 %2 ) ").arg(m_list->GetItemCount()).arg(MessageString(MsgTexts).toLower());
    // A filter kept from last time is said, with what it hides.
    const bool filtered = (m_filterEdit && !m_filterEdit->text().isEmpty()) ||
                          (m_untranslatedOnly && m_untranslatedOnly->isChecked());
    if (filtered)
        title += tr("- %1 shown by the filter").arg(ShownRowCount());
    setWindowTitle(title);
}

void CDlgGeneralDictionary::FilterApplied()
{
    UpdateTitle();
}

void CDlgGeneralDictionary::Refill()
{
    Restyle();
    ReadRowColours();
    if (m_document && m_document->General() && (m_document->ChangeMask() & CTrelvarDoc::GeneralChanged)) {
        m_document->SetChangeMask(m_document->ChangeMask() & ~CTrelvarDoc::GeneralChanged);
        // Translations typed in the list and not written yet survive the
        // rebuild, for the texts the dictionary still holds.
        const std::unordered_map<std::string, std::string> typed = TypedTranslations();
        m_list->DeleteAllItems();
        m_rows.clear();
        m_originalEdit->clear();
        m_translationEdit->clear();
        m_selected = -1;
        m_edited = false;
        m_rowsChanged = false;
        m_rebuildRequested = true;
        const GeneralDictionary& general = *m_document->General();
        m_list->setUpdatesEnabled(false);
        {
            CWaitWindow wait(MessageString(MsgDisplayDictionary), CWaitWindow::WithProgressBar, this);
            wait.SetRange(general.TextCount());
            int step = 0;
            for (const auto& entry : general.Texts()) {
                Row& row = m_rows.emplace_back();
                row.original = entry.key;
                row.translation = entry.value;
                if (auto kept = typed.find(row.original);
                    kept != typed.end() && kept->second != entry.value) {
                    row.translation = kept->second;
                    m_rowsChanged = true;
                }
                row.originalKey = ToDisplay(row.original);
                row.SetTranslationKey(TranslationToDisplay(row.translation));
                const int item =
                    m_list->InsertItem(m_list->GetItemCount(), row.originalKey, CListCtrlBookmark::NoBookmark,
                                       reinterpret_cast<std::intptr_t>(&row));
                m_list->SetItemText(item, 1, row.translationKey);
                m_list->SetItemOverlay(item, OverlayFor(row.original));
                if ((++step & 0x3FF) == 0)
                    wait.SetPosition(step);
            }
        }
        FoldOriginals();
        m_list->Sort(0, false);
        m_list->setUpdatesEnabled(true);
        ApplyFilter();
    }
    // The memory may have learnt since the list was built.
    MarkExactMatches();
    UpdateTitle();
    m_modify->setEnabled(false);
    m_clear->setEnabled(false);
}

std::string CDlgGeneralDictionary::SelectedOriginal() const
{
    const int row = SelectedRow();
    if (row < 0)
        return {};
    return reinterpret_cast<const Row*>(m_list->GetItemData(row))->original;
}

bool CDlgGeneralDictionary::WriteRow(int row)
{
    if (row < 0 || row >= m_list->GetItemCount())
        return false;
    std::string bytes;
    if (!FromDisplay(m_translationEdit->text(), bytes, this))
        return false;
    auto* data = reinterpret_cast<Row*>(m_list->GetItemData(row));
    data->translation = bytes;
    data->SetTranslationKey(TranslationToDisplay(bytes));
    m_list->SetItemText(row, 1, data->translationKey);
    m_rowsChanged = true;
    return true;
}

bool CDlgGeneralDictionary::StoreReplacedCell(int row, int column, const QString& text)
{
    if (column != 1 || row < 0 || row >= m_list->GetItemCount())
        return false;
    // What was typed for the selected row stays before a cell changes.
    ApplyPendingEdit();
    std::string bytes;
    if (!FromDisplay(text, bytes, this))
        return false;
    auto* data = reinterpret_cast<Row*>(m_list->GetItemData(row));
    data->translation = bytes;
    data->SetTranslationKey(TranslationToDisplay(bytes));
    m_list->SetItemText(row, 1, data->translationKey);
    if (row == m_selected)
        m_translationEdit->setText(data->translationKey);
    m_edited = true;
    m_rowsChanged = true;
    return true;
}

std::unordered_map<std::string, std::string> CDlgGeneralDictionary::TypedTranslations()
{
    std::unordered_map<std::string, std::string> typed;
    if (!HasChanges() || !m_document || !m_document->General())
        return typed;
    ApplyPendingEdit();
    const GeneralDictionary& general = *m_document->General();
    for (const Row& row : m_rows) {
        const std::string* stored = general.FindTranslation(row.original);
        if (!stored || *stored != row.translation)
            typed.emplace(row.original, row.translation);
    }
    return typed;
}

void CDlgGeneralDictionary::ShowRow(int row)
{
    m_originalEdit->setText(m_list->GetItemText(row, 0));
    // A long original is read from its beginning.
    m_originalEdit->setCursorPosition(0);
    m_translationEdit->setText(m_list->GetItemText(row, 1));
}

void CDlgGeneralDictionary::RevertEdits(int row)
{
    ShowRow(row);
    m_edited = false;
}

bool CDlgGeneralDictionary::HasPendingEdit() const
{
    return m_selected >= 0 && m_selected < m_list->GetItemCount() &&
           m_translationEdit->text() != m_list->GetItemText(m_selected, 1);
}

void CDlgGeneralDictionary::ApplyPendingEdit()
{
    if (HasPendingEdit())
        WriteRow(m_selected);
}

bool CDlgGeneralDictionary::HasChanges() const
{
    return m_rowsChanged || HasPendingEdit();
}

void CDlgGeneralDictionary::OnModify()
{
    const int row = m_selected;
    if (!WriteRow(row))
        return;
    m_edited = true;
    // On to the next row shown; after the last one, the first.
    SelectShownRow(NextShownRow(row));
    m_translationEdit->setFocus();
}

void CDlgGeneralDictionary::OnClear()
{
    m_translationEdit->clear();
    const int row = m_selected;
    if (row < 0 || row >= m_list->GetItemCount())
        return;
    auto* data = reinterpret_cast<Row*>(m_list->GetItemData(row));
    data->translation.clear();
    data->SetTranslationKey(QString());
    m_list->SetItemText(row, 1, QString());
    m_edited = true;
    m_rowsChanged = true;
}

void CDlgGeneralDictionary::OnOK(bool startTimer)
{
    // A translation typed and not applied yet is not dropped.
    ApplyPendingEdit();
    m_edited = false;
    m_rowsChanged = false;
    if (m_document && m_document->General()) {
        GeneralDictionary& general = *m_document->General();
        CWaitWindow wait(MessageString(MsgUpdatingDictionary), CWaitWindow::WithProgressBar, this);
        wait.SetRange(m_list->GetItemCount());
        // The resources keep their access keys on their letters as the
        // translations they show change.
        std::vector<std::pair<std::string, std::string>> changes;
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            const auto* data = reinterpret_cast<const Row*>(m_list->GetItemData(row));
            const std::string* current = general.FindTranslation(data->original);
            if (current && *current != data->translation)
                changes.emplace_back(data->original, data->translation);
            if ((row & 0x3FF) == 0)
                wait.SetPosition(row);
        }
        SetGeneralTranslations(general, *m_document->Context(), changes, m_document->TranslationsCodePage());
    }
    if (m_rebuildRequested && startTimer && m_refreshTimer)
        m_refreshTimer();
    SavePosition();
    hide();
    emit documentChanged();
}

void CDlgGeneralDictionary::OnCancel()
{
    if (HasChanges()) {
        switch (
            RkMessageBox(MessageString(MsgSaveGeneralDictionary), 0x0003 | 0x0020, -1, this, nullptr, -1)) {
        case CRkMessageBox::IdYes:
            OnOK();
            return;
        case CRkMessageBox::IdNo:
            break;
        default:
            return; // back to the window
        }
    }
    Discard();
}

void CDlgGeneralDictionary::Discard()
{
    // The next show builds the list again from the dictionary.
    if ((m_edited || HasChanges()) && m_document)
        m_document->SetChangeMask(m_document->ChangeMask() | CTrelvarDoc::GeneralChanged);
    m_edited = false;
    m_rowsChanged = false;
    if (m_selected >= 0 && m_selected < m_list->GetItemCount())
        m_translationEdit->setText(m_list->GetItemText(m_selected, 1));
    SavePosition();
    hide();
}

void CDlgGeneralDictionary::reject()
{
    OnCancel();
}

void CDlgGeneralDictionary::closeEvent(QCloseEvent* event)
{
    OnCancel();
    event->ignore();
}

void CDlgGeneralDictionary::hideEvent(QHideEvent* event)
{
    CDlgDictionaryBase::hideEvent(event);
    emit hidden();
}
