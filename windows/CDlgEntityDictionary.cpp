#include "windows/CDlgEntityDictionary.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "engine/AccessKeys.h"
#include "engine/Literal.h"
#include "exchange/TextOccurrences.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CoreFeedback.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/DictionaryTexts.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace {

// The letter at a 1-based position of the shown translation, if any.
std::string LetterAt(const std::string& shown, int shortcut)
{
    if (shortcut < 1 || shortcut > static_cast<int>(shown.size()))
        return {};
    return shown.substr(static_cast<std::size_t>(shortcut - 1), 1);
}

} // namespace

int CDlgEntityDictionary::CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue)
{
    // The second click on a heading sorts the other way.
    if (sortValue >> 16)
        return CompareRows(b, a, sortValue & 0xFFFF);
    const int column = static_cast<int>(sortValue & 0xFFFF);
    const auto* ra = reinterpret_cast<const Row*>(a);
    const auto* rb = reinterpret_cast<const Row*>(b);
    if (column < 0 || column > 3)
        return 0;
    return QString::compare(ra->keys[column], rb->keys[column], Qt::CaseInsensitive);
}

CDlgEntityDictionary::CDlgEntityDictionary(QWidget* parent, CTrelvarDoc* document)
    : CDlgDictionaryBase(parent, document)
{
    setObjectName(QStringLiteral("142"));
    // A window inside the preview area, not a top-level one.
    setWindowFlags(Qt::Widget);
    setAutoFillBackground(true);
    m_baseTitle = tr("Texts of this resource");
    setWindowTitle(m_baseTitle);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(m_baseTitle, this);
    title->setObjectName(QStringLiteral("titleLabel"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    AddHelpBanner(
        this, layout,
        {tr("Enter the translation for the selected text then click on Modify. It's possible to enter a "
            "particular translation ( in the context ) for a text. This translation is valid only for "
            "the current resource.\nChoose a letter to define the keyboard shortcut.")});
    layout->addLayout(NewFilterBar());
    auto* listLabel = new QLabel(tr("Te&xts:"), this);
    listLabel->setBuddy(m_list);
    layout->addWidget(listLabel);
    m_list->setObjectName(QStringLiteral("1005"));
    m_list->InsertColumn(0, tr("Original"), CListCtrlEx::FormatLeft, 185);
    m_list->InsertColumn(1, tr("Dictionary"), CListCtrlEx::FormatLeft, 185);
    m_list->InsertColumn(2, tr("In context"), CListCtrlEx::FormatLeft, 185);
    m_list->InsertColumn(3, QStringLiteral("_"), CListCtrlEx::FormatLeft, 25);
    m_list->SetCompareProcForSorting(&CDlgEntityDictionary::CompareRows);
    // The original and the two translations share the width the window
    // gives; the shortcut letter keeps its own, so it never hides past the
    // right edge.
    for (int column = 0; column < 3; ++column)
        m_list->header()->setSectionResizeMode(column, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    m_list->setMinimumWidth(185 + 2 * 120 + 25 + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                            2 * m_list->frameWidth() + 4);
    layout->addWidget(m_list, 1);
    layout->addWidget(NewMatches());

    auto* edits = new QGridLayout;
    auto addEdit = [&](const QString& label, const char* id, int row, int column, int length) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(id));
        if (length > 0)
            edit->setMaxLength(length);
        auto* text = new QLabel(label, this);
        text->setBuddy(edit);
        edits->addWidget(text, row, column);
        edits->addWidget(edit, row, column + 1);
        return edit;
    };
    m_originalEdit = addEdit(tr("&Original:"), "1007", 0, 0, 0);
    m_originalEdit->setReadOnly(true);
    m_dictionaryEdit = addEdit(tr("Dictionar&y:"), "1008", 1, 0, 255);
    m_contextEdit = addEdit(tr("&In context:"), "1029", 2, 0, 255);
    m_shortcutEdit = addEdit(tr("&Shortcut:"), "1030", 2, 2, 1);
    m_shortcutEdit->setMaximumWidth(40);
    edits->setColumnStretch(1, 1);
    m_decorationHint = new QLabel(this);
    m_decorationHint->setObjectName(QStringLiteral("decorationHint"));
    edits->addWidget(m_decorationHint, 1, 2, 1, 2);
    layout->addLayout(edits);

    auto* buttons = new QHBoxLayout;
    m_modify = NewButton(tr("&Modify"), "1072");
    m_clear = NewButton(tr("&Clear"), "1062");
    m_deleteShortcuts = NewButton(tr("&Delete shortcuts"), "1060");
    auto* close = NewButton(tr("Close"), "2");
    m_modify->setEnabled(false);
    m_clear->setEnabled(false);
    buttons->addWidget(m_modify);
    buttons->addWidget(m_clear);
    buttons->addWidget(m_deleteShortcuts);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(m_modify, &QPushButton::clicked, this, &CDlgEntityDictionary::OnModify);
    connect(m_clear, &QPushButton::clicked, this, &CDlgEntityDictionary::OnClear);
    connect(m_deleteShortcuts, &QPushButton::clicked, this, &CDlgEntityDictionary::OnDeleteShortcuts);
    connect(close, &QPushButton::clicked, this, &CDlgEntityDictionary::reject);
    connect(m_shortcutEdit, &QLineEdit::textEdited, this, &CDlgEntityDictionary::OnShortcutEdited);
    // Enter in an edit applies the texts and goes on to the next row.
    for (QLineEdit* edit : {m_dictionaryEdit, m_contextEdit, m_shortcutEdit})
        connect(edit, &QLineEdit::returnPressed, this, &CDlgEntityDictionary::OnModify);
    connect(m_list, &CListCtrlEx::itemSelectionChanged, this, &CDlgEntityDictionary::OnSelectionChanged);
    connect(m_list, &CListCtrlEx::columnClicked, this, [this](int) { ListSorted(); });
    WatchTranslationFields();
    // 401 by 281 dialog units until it is laid over its area.
    resize(std::max(602, minimumSizeHint().width()), 457);
    if (parent)
        parent->installEventFilter(this);
    ApplyFonts();
}

CDlgEntityDictionary::~CDlgEntityDictionary()
{
    SavePosition();
}

void CDlgEntityDictionary::ApplyFonts()
{
    m_originalEdit->setFont(m_originalFont);
    for (QLineEdit* edit : {m_dictionaryEdit, m_contextEdit, m_shortcutEdit})
        edit->setFont(m_translationFont);
    m_list->SetColumnFont(0, m_fontsForLists ? &m_originalFont : nullptr);
    for (int c = 1; c <= 3; ++c)
        m_list->SetColumnFont(c, m_fontsForLists ? &m_translationFont : nullptr);
}

void CDlgEntityDictionary::SavePosition() const
{
    const Settings settings = AppSettings();
    settings.Set(Settings::Integer::EntityDicLeft, x());
    settings.Set(Settings::Integer::EntityDicTop, y());
}

void CDlgEntityDictionary::Place()
{
    QWidget* area = parentWidget();
    if (!area)
        return;
    // The window covers the area (less a margin), so the list shows as many
    // rows as the pane holds; not centred, it starts at its remembered place.
    const Settings settings = AppSettings();
    constexpr int margin = 8;
    QPoint at(margin, margin);
    if (!settings.Get(Settings::Flag::Center))
        at = QPoint(std::max(0, settings.Get(Settings::Integer::EntityDicLeft)),
                    std::max(0, settings.Get(Settings::Integer::EntityDicTop)));
    const QSize room(area->width() - at.x() - margin, area->height() - at.y() - margin);
    setGeometry(QRect(at, room.expandedTo(minimumSizeHint())));
}

bool CDlgEntityDictionary::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        Place();
    return CDlgDictionaryBase::eventFilter(watched, event);
}

void CDlgEntityDictionary::reject()
{
    ApplyPendingEdit();
    SavePosition();
    hide();
}

void CDlgEntityDictionary::hideEvent(QHideEvent* event)
{
    // Typed texts are stored before the window goes.
    ApplyPendingEdit();
    CDlgDictionaryBase::hideEvent(event);
}

std::string CDlgEntityDictionary::RowOriginal(int row) const
{
    return reinterpret_cast<const Row*>(m_list->GetItemData(row))->original;
}

bool CDlgEntityDictionary::RowTranslated(int row) const
{
    return !m_list->GetItemText(row, 1).isEmpty() || !m_list->GetItemText(row, 2).isEmpty();
}

bool CDlgEntityDictionary::HasPendingEdit() const
{
    if (m_selected < 0 || m_selected >= m_list->GetItemCount())
        return false;
    return m_dictionaryEdit->text() != m_list->GetItemText(m_selected, 1) ||
           m_contextEdit->text() != m_list->GetItemText(m_selected, 2) ||
           m_shortcutEdit->text() != m_list->GetItemText(m_selected, 3);
}

void CDlgEntityDictionary::ApplyPendingEdit()
{
    if (HasPendingEdit())
        StoreRow(m_selected);
}

void CDlgEntityDictionary::SetSourceFile(const std::string& source)
{
    ApplyPendingEdit();
    m_source = source;
}

void CDlgEntityDictionary::SetResourcePrefix(const std::string& prefix)
{
    ApplyPendingEdit();
    m_prefix = prefix;
}

void CDlgEntityDictionary::ClearList()
{
    m_list->DeleteAllItems();
    m_rows.clear();
    for (QLineEdit* edit : {m_originalEdit, m_dictionaryEdit, m_contextEdit, m_shortcutEdit})
        edit->clear();
    m_selected = -1;
    m_decorationHint->clear();
    m_modify->setEnabled(false);
    m_clear->setEnabled(false);
}

void CDlgEntityDictionary::SetRowTexts(int row, Row& data, const std::string& context, int shortcut)
{
    const std::string& shown = context.empty() ? data.general : context;
    m_list->SetItemText(row, 1, TranslationToDisplay(data.general));
    m_list->SetItemText(row, 2, TranslationToDisplay(context));
    m_list->SetItemText(row, 3, TranslationToDisplay(LetterAt(shown, shortcut)));
    for (int c = 0; c < 4; ++c)
        data.keys[c] = m_list->GetItemText(row, c);
}

void CDlgEntityDictionary::Fill()
{
    // What was typed for the resource shown before is not lost.
    ApplyPendingEdit();
    Restyle();
    ClearList();
    ReadRowColours();
    ApplyFonts();
    const ContextDictionary::Section* section =
        m_document && m_document->Context() ? m_document->Context()->FindFile(m_source) : nullptr;
    if (section && !m_prefix.empty()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_list->setUpdatesEnabled(false);
        const GeneralDictionary& general = *m_document->General();
        // Each occurrence of a text in the resource as the script writes it.
        std::map<std::string, std::vector<const std::string*>, std::less<>> decorated;
        for (const TextOccurrence& o : ScriptTexts()) {
            if (m_prefix.size() == o.resource.size() + 1 &&
                m_prefix.compare(0, o.resource.size(), o.resource) == 0)
                decorated[o.text].push_back(&o.decoded);
        }
        for (const auto& entry : *section) {
            if (!ContextDictionary::KeyBelongsTo(entry.key, m_prefix))
                continue;
            const std::size_t occurrences = entry.value.DistinctOccurrences();
            for (std::size_t occurrence = 0; occurrence < occurrences; ++occurrence) {
                Row& data = m_rows.emplace_back();
                data.textKey = entry.key;
                data.original = entry.value.original;
                data.occurrence = occurrence;
                data.occurrences = occurrences;
                general.GetTranslation(entry.value.original, data.general);
                data.decorated = data.original;
                if (const auto found = decorated.find(data.original); found != decorated.end())
                    data.decorated = *found->second[std::min(occurrence, found->second.size() - 1)];
                QString shown = ToDisplay(data.decorated);
                if (occurrences > 1)
                    shown += QStringLiteral(" (%1/%2)").arg(occurrence + 1).arg(occurrences);
                const int row =
                    m_list->InsertItem(m_list->GetItemCount(), shown, CListCtrlBookmark::NoBookmark,
                                       reinterpret_cast<std::intptr_t>(&data));
                SetRowTexts(row, data, entry.value.contextTranslation, entry.value.ShortcutOf(occurrence));
                m_list->SetItemOverlay(row, OverlayFor(data.original));
            }
        }
        m_list->Sort(0, false);
        m_list->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    ApplyFilter();
    MarkExactMatches();
    setWindowTitle(
        m_baseTitle +
        QStringLiteral(" ( %1 %2 ) ").arg(m_list->GetItemCount()).arg(MessageString(MsgTexts).toLower()));
    if (auto* title = findChild<QLabel*>(QStringLiteral("titleLabel")))
        title->setText(windowTitle());
    const bool any = m_list->GetItemCount() > 0;
    m_deleteShortcuts->setEnabled(any);
    m_modify->setEnabled(false);
    m_clear->setEnabled(false);
}

void CDlgEntityDictionary::SelectText(const std::string& text)
{
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        const auto* data = reinterpret_cast<const Row*>(m_list->GetItemData(row));
        const QString shown = ToDisplay(text);
        if (data->original == text || data->general == text || m_list->GetItemText(row, 2) == shown) {
            SelectShownRow(row);
            return;
        }
    }
}

std::string CDlgEntityDictionary::SelectedOriginal() const
{
    const int row = SelectedRow();
    return row < 0 ? std::string() : reinterpret_cast<const Row*>(m_list->GetItemData(row))->original;
}

void CDlgEntityDictionary::ShowRow(int row)
{
    m_originalEdit->setText(m_list->GetItemText(row, 0));
    // A long original is read from its beginning.
    m_originalEdit->setCursorPosition(0);
    m_dictionaryEdit->setText(m_list->GetItemText(row, 1));
    m_contextEdit->setText(m_list->GetItemText(row, 2));
    m_shortcutEdit->setText(m_list->GetItemText(row, 3));
    ShowDecoration(row);
}

const std::vector<TextOccurrence>& CDlgEntityDictionary::ScriptTexts()
{
    const std::uint64_t stamp = LastWriteFileTime(m_source).value_or(0);
    if (m_scriptTextsOf != m_source || m_scriptTextsStamp != stamp) {
        m_scriptTexts.clear();
        m_scriptTextsOf = m_source;
        m_scriptTextsStamp = stamp;
        if (m_document && !m_source.empty())
            ReadTextOccurrences(m_source, m_document->OriginalsCodePage(), m_document->TranslationsCodePage(),
                                m_document->NotExtracted(), m_scriptTexts);
    }
    return m_scriptTexts;
}

void CDlgEntityDictionary::ShowDecoration(int row)
{
    const auto* data = row >= 0 ? reinterpret_cast<const Row*>(m_list->GetItemData(row)) : nullptr;
    QString hint;
    if (data && data->decorated != data->original) {
        // The original is the normalised text inside the one the script
        // writes; what lies around it comes back around the translation.
        const std::string_view inner = NormalisedView(data->decorated);
        const std::size_t start = static_cast<std::size_t>(inner.data() - data->decorated.data());
        const std::string before = data->decorated.substr(0, start);
        const std::string after = data->decorated.substr(start + inner.size());
        auto quoted = [](const std::string& part) {
            return QStringLiteral("\u201C%1\u201D").arg(ToDisplay(part));
        };
        if (!before.empty() && !after.empty())
            hint = tr("Generation adds %1 before and %2 after the translation")
                       .arg(quoted(before), quoted(after));
        else if (!before.empty())
            hint = tr("Generation adds %1 before the translation").arg(quoted(before));
        else
            hint =
                tr("Generation adds %1 after the translation (unless it ends with one)").arg(quoted(after));
    }
    m_decorationHint->setText(hint);
}

void CDlgEntityDictionary::OnShortcutEdited(const QString& letter)
{
    if (letter.isEmpty())
        return;
    // The letter must be one of the translation that will be shown.
    const QString shown = m_contextEdit->text().isEmpty() ? m_dictionaryEdit->text() : m_contextEdit->text();
    if (shown.isEmpty() || !shown.contains(letter, Qt::CaseSensitive))
        m_shortcutEdit->clear();
}

bool CDlgEntityDictionary::StoreRow(int row)
{
    return StoreTexts(row, m_dictionaryEdit->text(), m_contextEdit->text(), m_shortcutEdit->text());
}

bool CDlgEntityDictionary::StoreReplacedCell(int row, int column, const QString& text)
{
    if (column < 1 || column > 3 || row < 0 || row >= m_list->GetItemCount())
        return false;
    // What was typed for the selected row stays before a cell changes.
    ApplyPendingEdit();
    QString cells[4];
    for (int c = 1; c < 4; ++c)
        cells[c] = c == column ? text : m_list->GetItemText(row, c);
    if (!StoreTexts(row, cells[1], cells[2], cells[3]))
        return false;
    if (row == m_selected)
        ShowRow(row);
    return true;
}

bool CDlgEntityDictionary::StoreTexts(int row, const QString& generalText, const QString& contextText,
                                      const QString& letterText)
{
    if (row < 0 || row >= m_list->GetItemCount() || !m_document || !m_document->Context())
        return false;
    std::string general, context, letter;
    if (!FromDisplay(generalText, general, this) || !FromDisplay(contextText, context, this) ||
        !FromDisplay(letterText, letter, this))
        return false;
    auto* data = reinterpret_cast<Row*>(m_list->GetItemData(row));
    const bool hadLetter = !m_list->GetItemText(row, 3).isEmpty();
    const int codePage = m_document->TranslationsCodePage();
    ContextDictionary::Section* section = m_document->Context()->FindFile(m_source);
    ContextEntry* entry =
        section ? ContextDictionary::FindEntry(*section, m_prefix + data->original) : nullptr;
    // A changed translation takes the resources' access keys along on their
    // letters; then the letter chosen here is this occurrence's.
    SetGeneralTranslation(*m_document->General(), *m_document->Context(), data->original, general, codePage);
    data->general = general;
    int shortcut = -1;
    if (entry) {
        SetContextTranslation(*entry, context, *m_document->General(), codePage);
        const std::string shown(ShownTextOf(*entry, *m_document->General()));
        shortcut = entry->ShortcutOf(data->occurrence);
        // A letter chosen is looked for in the translation shown; a letter
        // taken away leaves no key. Without a translation, the occurrence
        // keeps the key its script gives it.
        if (!letter.empty() && LetterAt(shown, shortcut) != letter) {
            const std::size_t at = shown.find(letter);
            const LiteralEncodingScope encoding(LiteralEncoding{codePage, true});
            shortcut = at == std::string::npos ? 0 : AccessKeyPlace(shown, static_cast<int>(at) + 1);
        } else if (letter.empty() && hadLetter) {
            shortcut = -1;
        }
        entry->SetShortcutOf(data->occurrence, shortcut, data->occurrences);
    }
    SetRowTexts(row, *data, context, shortcut);
    m_document->MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    emit documentChanged();
    return true;
}

void CDlgEntityDictionary::OnModify()
{
    const int row = m_selected;
    if (row < 0 || row >= m_list->GetItemCount() || !StoreRow(row))
        return;
    SelectShownRow(NextShownRow(row));
    m_dictionaryEdit->setFocus();
}

void CDlgEntityDictionary::OnClear()
{
    for (QLineEdit* edit : {m_dictionaryEdit, m_contextEdit, m_shortcutEdit})
        edit->clear();
    if (m_selected >= 0)
        StoreRow(m_selected);
}

void CDlgEntityDictionary::OnDeleteShortcuts()
{
    if (!m_document || !m_document->Context())
        return;
    if (RkMessageBox(MessageString(MsgDeleteShortcutsInResource), 0x0004 | 0x0020, -1, this, nullptr, -1) !=
        CRkMessageBox::IdYes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool changed = m_document->Context()->ClearShortcuts(m_source, m_prefix);
    QApplication::restoreOverrideCursor();
    if (changed) {
        Fill();
        m_document->MarkChanged(CTrelvarDoc::ContextChanged);
        emit documentChanged();
    }
}
