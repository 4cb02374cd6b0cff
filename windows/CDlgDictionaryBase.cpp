#include "windows/CDlgDictionaryBase.h"

#include "app/ProgramSettings.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/GeneralDictionary.h"
#include "tessary/GlobalVarsForDll.h"
#include "views/CListCtrlBookmark.h"

#include <QContextMenuEvent>
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
    // Searching comes with the find windows.
    menu.addAction(tr("Find..."))->setEnabled(false);
    menu.addAction(tr("Find in resources"))->setEnabled(false);
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
