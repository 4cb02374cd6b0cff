#include "windows/CDlgDictionaryBase.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/GeneralDictionary.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/MemoryMatches.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

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
    auto* label = new QLabel(tr("Filte&r:"), this);
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
