#include "windows/CDlgDictionaryBase.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/GeneralDictionary.h"
#include "settings/Settings.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/MemoryMatches.h"
#include "windows/SpellingField.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <unordered_set>

CDlgDictionaryBase::CDlgDictionaryBase(QWidget* parent, CTrelvarDoc* document)
    : CRkCoolDlg(parent), m_document(document), m_list(new CListCtrlBookmark(this))
{
    m_list->SetSingleSelection(true);
    m_list->SetFullRowSel(true);
    m_list->setContextMenuPolicy(Qt::NoContextMenu); // the window's own menu
}

void CDlgDictionaryBase::SetFonts(const QFont& original, const QFont& translation, bool forLists)
{
    m_originalFont = original;
    m_translationFont = translation;
    m_fontsForLists = forLists;
    ApplyFonts();
    RefreshSpelling();
}

void CDlgDictionaryBase::RefreshLook()
{
    Restyle();
    ReadRowColours();
    update();
}

int CDlgDictionaryBase::SelectedRow() const
{
    const QList<int> selected = m_list->GetSelectedItems();
    return selected.isEmpty() ? -1 : selected.first();
}

QPushButton* CDlgDictionaryBase::NewButton(const QString& text, const char* id)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}

QLayout* CDlgDictionaryBase::NewFilterBar()
{
    auto* bar = new QHBoxLayout;
    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName(QStringLiteral("filterLineEdit"));
    m_filterEdit->setClearButtonEnabled(true);
    m_filterEdit->setPlaceholderText(tr("Text in the original or a translation"));
    auto* label = new QLabel(tr("Fi&lter:"), this);
    label->setBuddy(m_filterEdit);
    m_untranslatedOnly = new QCheckBox(tr("&Untranslated only"), this);
    m_untranslatedOnly->setObjectName(QStringLiteral("untranslatedOnlyCheckBox"));
    bar->addWidget(label);
    bar->addWidget(m_filterEdit, 1);
    bar->addWidget(m_untranslatedOnly);
    connect(m_filterEdit, &QLineEdit::textChanged, this, &CDlgDictionaryBase::ApplyFilter);
    connect(m_untranslatedOnly, &QCheckBox::toggled, this, &CDlgDictionaryBase::ApplyFilter);
    return bar;
}

bool CDlgDictionaryBase::RowShown(int row) const
{
    return row >= 0 && row < m_list->GetItemCount() && !m_list->isRowHidden(row, QModelIndex());
}

void CDlgDictionaryBase::ApplyFilter()
{
    if (!m_filterEdit)
        return;
    ApplyPendingEdit();
    const QString text = m_filterEdit->text();
    const bool untranslatedOnly = m_untranslatedOnly->isChecked();
    const int columns = m_list->GetColumnCount();
    m_list->setUpdatesEnabled(false);
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        bool shown = !untranslatedOnly || !RowTranslated(row);
        if (shown && !text.isEmpty()) {
            shown = false;
            for (int column = 0; column < columns && !shown; ++column)
                shown = m_list->GetItemText(row, column).contains(text, Qt::CaseInsensitive);
        }
        m_list->setRowHidden(row, QModelIndex(), !shown);
    }
    m_list->setUpdatesEnabled(true);
    // A selected row that is no longer shown is not edited any more.
    const int selected = SelectedRow();
    if (selected >= 0 && !RowShown(selected))
        m_list->clearSelection();
    FilterApplied();
}

int CDlgDictionaryBase::ShownRowCount() const
{
    int shown = 0;
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        shown += RowShown(row) ? 1 : 0;
    return shown;
}

int CDlgDictionaryBase::NextShownRow(int row) const
{
    const int count = m_list->GetItemCount();
    for (int step = 1; step <= count; ++step) {
        const int candidate = (row + step) % count;
        if (RowShown(candidate))
            return candidate;
    }
    return -1;
}

void CDlgDictionaryBase::ReadRowColours()
{
    const Settings settings = AppSettings();
    CItemAttributes* lines = m_list->GetInterlacedLineAttributes();
    lines->RemoveAll();
    for (auto key : {Settings::Colour::OddLine, Settings::Colour::EvenLine}) {
        auto line = std::make_unique<CAttribute>();
        line->SetForeColor(0);
        line->SetBackColor(settings.Get(key));
        lines->Add(std::move(line));
    }
    m_list->viewport()->update();
}

int CDlgDictionaryBase::OverlayFor(const std::string& original) const
{
    return m_document && m_document->General() && m_document->General()->IsDoNotTranslate(original) ? 1 : 2;
}

bool CDlgDictionaryBase::IsDoNotTranslate() const
{
    return CanDoNotTranslate() && m_document->General()->IsDoNotTranslate(SelectedOriginal());
}

void CDlgDictionaryBase::OnDoNotTranslate()
{
    const int row = SelectedRow();
    const std::string original = SelectedOriginal();
    if (row < 0 || original.empty() || !m_document || !m_document->General())
        return;
    GeneralDictionary& general = *m_document->General();
    if (general.IsDoNotTranslate(original))
        general.ClearDoNotTranslate(original);
    else
        general.SetDoNotTranslate(original);
    m_list->SetItemOverlay(row, OverlayFor(original));
    m_document->SetModifiedFlag();
    emit documentChanged();
}

void CDlgDictionaryBase::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_list->rect().contains(m_list->mapFrom(this, event->pos())))
        return;
    const int row = SelectedRow();
    QMenu menu(this);
    QAction* doNotTranslate = menu.addAction(tr("Do not translate"));
    doNotTranslate->setCheckable(true);
    doNotTranslate->setChecked(IsDoNotTranslate());
    doNotTranslate->setEnabled(CanDoNotTranslate());
    connect(doNotTranslate, &QAction::triggered, this, &CDlgDictionaryBase::OnDoNotTranslate);
    connect(menu.addAction(tr("Find...")), &QAction::triggered, this, &CDlgDictionaryBase::findRequested);
    QAction* inResources = menu.addAction(tr("Find in resources"));
    inResources->setEnabled(row >= 0 && !SelectedOriginal().empty());
    connect(inResources, &QAction::triggered, this,
            [this] { emit findInResourcesRequested(SelectedOriginal()); });
    menu.addSeparator();
    const bool marked = row >= 0 && m_list->IsBookmark(row);
    QAction* toggle = menu.addAction(marked ? tr("Remove bookmark\tCtrl+F2") : tr("Add bookmark\tCtrl+F2"));
    toggle->setEnabled(row >= 0);
    connect(toggle, &QAction::triggered, this,
            [this, row, marked] { marked ? m_list->RemoveBookmark(row) : m_list->AddBookmark(row); });
    connect(menu.addAction(tr("Goto next bookmark\tF2")), &QAction::triggered, this,
            [this, row] { m_list->NextBookmark(row); });
    connect(menu.addAction(tr("Goto previous bookmark\tShift+F2")), &QAction::triggered, this,
            [this, row] { m_list->PreviousBookmark(row); });
    connect(menu.addAction(tr("Remove all bookmarks\tShift+Ctrl+F2")), &QAction::triggered, this,
            [this] { m_list->ClearBookmarks(); });
    menu.exec(event->globalPos());
}

QWidget* CDlgDictionaryBase::NewMatches()
{
    m_matches = new MemoryMatches(this);
    connect(m_matches, &MemoryMatches::matchChosen, this,
            [this](const QString& translation) { TakeMatch(translation); });
    return m_matches;
}

void CDlgDictionaryBase::LookUpSelected()
{
    if (m_matches && m_document)
        m_matches->Lookup(*m_document, SelectedOriginal());
}

void CDlgDictionaryBase::TakeMatch(const QString& translation)
{
    const std::vector<QLineEdit*> fields = TranslationFields();
    if (SelectedRow() < 0 || fields.empty())
        return;
    fields.front()->setText(translation);
    fields.front()->setFocus();
}

void CDlgDictionaryBase::OnSelectionChanged()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    // What was typed for the row left is kept in it.
    if (row != m_selected)
        ApplyPendingEdit();
    m_selected = row;
    ShowRow(row);
    m_modify->setEnabled(true);
    m_clear->setEnabled(true);
    LookUpSelected();
}

void CDlgDictionaryBase::SelectShownRow(int row)
{
    m_list->clearSelection();
    if (row < 0)
        return;
    m_list->SetItemState(row, CListCtrlEx::StateSelected | CListCtrlEx::StateFocused,
                         CListCtrlEx::StateSelected | CListCtrlEx::StateFocused);
    m_list->EnsureVisible(row);
}

void CDlgDictionaryBase::SortByColumn(int column)
{
    m_list->Sort(column, false);
    ListSorted();
}

void CDlgDictionaryBase::ListSorted()
{
    m_list->RebuildBookmarks();
    ApplyFilter();
    m_selected = SelectedRow();
}

void CDlgDictionaryBase::WatchTranslationFields()
{
    for (QLineEdit* field : TranslationFields())
        field->installEventFilter(this);
}

bool CDlgDictionaryBase::eventFilter(QObject* watched, QEvent* event)
{
    const std::vector<QLineEdit*> fields = TranslationFields();
    if (event->type() != QEvent::KeyPress || std::find(fields.begin(), fields.end(), watched) == fields.end())
        return CRkCoolDlg::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int row = SelectedRow();
    if (key->key() == Qt::Key_Escape && row >= 0 && HasPendingEdit()) {
        RevertEdits(row);
        return true;
    }
    if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && row >= 0) {
        const int count = m_list->GetItemCount();
        int next = row;
        do
            next = key->key() == Qt::Key_Down ? next + 1 : next - 1;
        while (next >= 0 && next < count && !RowShown(next));
        if (next >= 0 && next < count) {
            SelectShownRow(next);
            static_cast<QWidget*>(watched)->setFocus();
        }
        return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & Qt::ControlModifier)) {
        AcceptEdits();
        return true;
    }
    return CRkCoolDlg::eventFilter(watched, event);
}

void CDlgDictionaryBase::RefreshSpelling()
{
    const std::string language =
        m_document && m_document->IsOpen()
            ? AppSettings().Get(m_document->PathName(), Settings::DictionaryKey::Language)
            : std::string();
    const std::shared_ptr<WordSpeller> speller = SharedSpeller(language);
    std::vector<QLineEdit*> fields = TranslationFields();
    if (QLineEdit* inPlace = m_list->InPlaceEditor())
        fields.push_back(inPlace);
    for (QLineEdit* field : fields) {
        // A field of one letter (the shortcut) holds no word.
        if (field->maxLength() <= 1)
            continue;
        if (auto* spelling = field->findChild<SpellingField*>(QString(), Qt::FindDirectChildrenOnly))
            spelling->SetSpeller(speller);
        else if (speller)
            new SpellingField(field, speller);
    }
}

void CDlgDictionaryBase::MarkExactMatches()
{
    if (!m_matches || !m_document || !m_document->IsOpen())
        return;
    std::vector<std::string> originals;
    std::vector<std::intptr_t> rows;
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        if (RowTranslated(row))
            continue;
        originals.push_back(RowOriginal(row));
        rows.push_back(m_list->GetItemData(row));
    }
    if (rows.empty())
        return;
    m_matches->FindExact(*m_document, std::move(originals), [this, rows](const std::vector<bool>& known) {
        // The rows may have moved (a sort) since: each is found by its data.
        std::unordered_set<std::intptr_t> exact;
        for (std::size_t i = 0; i < rows.size() && i < known.size(); ++i) {
            if (known[i])
                exact.insert(rows[i]);
        }
        m_exactRows = static_cast<int>(exact.size());
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            if (exact.count(m_list->GetItemData(row)) != 0 && !RowTranslated(row))
                m_list->SetItemForeColor(row, 0, kExactMatchColour);
        }
        m_list->viewport()->update();
    });
}
