#include "app/SearchCommands.h"

#include "app/DocumentCommands.h"
#include "app/FrameServices.h"
#include "dictionary/Messages.h"
#include "preview/CDlgPreviewTabs.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"
#include "views/CFvMisc.h"
#include "views/CListCtrlBookmark.h"
#include "views/CResTreeCtrl.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgFind.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/DictionaryTexts.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

SearchCommands::SearchCommands(FrameServices* frame, QComboBox* findBox)
    : QObject(frame->Window()), m_frame(frame), m_findBox(findBox)
{
    // Enter in the box's edit field searches; the key goes no further (the
    // box would hand it to its edit field a second time).
    m_findBox->lineEdit()->installEventFilter(this);
    connect(m_findBox, &QComboBox::editTextChanged, this, [this] { m_frame->UpdateActions(); });
}

bool SearchCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_findBox->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnToolbarFind(m_findForward);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

CDlgDictionaryBase* SearchCommands::ListWindow() const
{
    if (m_frame->DictionaryWindowVisible())
        return m_frame->DictionaryWindow();
    CDlgEntityDictionary* texts = m_frame->TextsWindow();
    return texts && texts->isVisible() ? texts : nullptr;
}

bool SearchCommands::CanFindNext() const
{
    return !m_findBox->currentText().isEmpty() && ListWindow();
}

void SearchCommands::Remember(const ListSearch& search)
{
    m_last = search;
}

void SearchCommands::OnFind()
{
    CDlgDictionaryBase* window = ListWindow();
    // Where no list is shown (the tree, the previews), a text is found in
    // the resources.
    if (!window) {
        if (m_frame->Documents()->Doc().IsOpen())
            OnFindInResources();
        return;
    }
    SaveFindHistory();
    // Over the window of the list, which stays the active one after it.
    CDlgFind dialog(window, m_last, m_findBox->currentText(), window->window());
    connect(&dialog, &CDlgFind::searched, this, &SearchCommands::Remember);
    connect(&dialog, &CDlgFind::textSearched, this,
            [this](const QString& text) { AddToHistory(m_findBox, text); });
    dialog.exec();
    m_frame->UpdateActions();
}

void SearchCommands::OnReplace()
{
    CDlgDictionaryBase* window = ListWindow();
    if (!window)
        return;
    SaveFindHistory();
    CDlgReplace dialog(window, m_last, m_findBox->currentText(), window->window());
    connect(&dialog, &CDlgFind::searched, this, &SearchCommands::Remember);
    dialog.exec();
    m_frame->UpdateActions();
}

void SearchCommands::OnToolbarFind(bool forward)
{
    m_findForward = forward;
    const QString text = m_findBox->currentText();
    CDlgDictionaryBase* window = ListWindow();
    if (text.isEmpty() || !window)
        return;
    AddToHistory(m_findBox, text, false);
    ListSearch search = m_last;
    // The same search goes on from its last hit; any other starts next to
    // the selected row.
    const int selected = window->SelectedRow();
    const bool goingOn = !search.firstSearch && search.window == window && search.text == text &&
                         search.down == forward && search.found && search.foundRow == selected;
    if (!goingOn) {
        if (search.window != window) {
            search = ListSearch{};
            search.window = window;
        }
        search.text = text;
        search.down = forward;
        search.firstColumn = 0;
        search.SetColumns();
        search.firstSearch = false;
        if (selected >= 0) {
            search.row = selected + (forward ? 1 : -1);
            search.position = 0;
        } else {
            search.Restart();
        }
    }
    search.Next();
    m_last = search;
    m_frame->UpdateActions();
}

void SearchCommands::OnFindInResources()
{
    if (!m_frame->Documents()->Doc().IsOpen())
        return;
    CDlgFindInResources dialog(m_frame->Window());
    if (dialog.exec() == QDialog::Accepted)
        FindInResources(dialog.Text());
}

void SearchCommands::FindInResources(const QString& text)
{
    const CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (text.isEmpty() || !doc.IsOpen())
        return;
    std::string bytes;
    if (!OriginalFromDisplay(text, bytes, m_frame->Window()))
        return;
    // The history of the Find in resources dialog keeps every text looked
    // for, from the dialog or from a list's context menu.
    QComboBox history;
    history.setEditable(true);
    for (const std::string& entry : AppSettings().Get(Settings::History::FindInResources)) {
        if (!entry.empty())
            history.addItem(QString::fromStdString(entry));
    }
    AddToHistory(&history, text);
    AppSettings().Set(Settings::History::FindInResources, HistoryEntries(&history));

    const std::vector<LocatedMatch> matches =
        LocateMatches(m_frame->Tree()->Model(), ::FindInResources(*doc.General(), *doc.Context(), bytes));
    Results()->ShowMatches(matches, text);
    ShowResults();
}

CDlgFindResults* SearchCommands::Results()
{
    if (!m_results) {
        m_results = new CDlgFindResults(m_frame->MiscView());
        m_results->hide();
        m_frame->MiscView()->SetBottomWindow(m_results);
        connect(m_results, &CDlgFindResults::gotoRequested, this, &SearchCommands::GotoText);
    }
    return m_results;
}

bool SearchCommands::ResultsVisible() const
{
    return m_results && m_results->isVisible();
}

void SearchCommands::ShowResults()
{
    Results()->show();
    m_frame->UpdateActions();
}

void SearchCommands::ToggleResults()
{
    if (ResultsVisible())
        m_results->hide();
    else
        Results()->show();
    m_frame->UpdateActions();
}

void SearchCommands::RefreshResultColours()
{
    if (m_results)
        m_results->RefreshColours();
}

void SearchCommands::ClearResults()
{
    if (m_results)
        m_results->Clear();
}

void SearchCommands::GotoText(const CDlgFindResults::Record& record)
{
    if (m_frame->DictionaryWindowVisible()) {
        RkMessageBox(MessageString(MsgCloseDictionaryWindow), 0x0030, -1, m_frame->Window(), nullptr, -1);
        return;
    }
    // The tree may have been rebuilt since the search: the resource is
    // looked up again by its file and name.
    CResTreeCtrl* tree = m_frame->Tree();
    const ResourceTreeItem* item = tree->Model().FindResourceItem(record.file, record.resourceName);
    const int kind = ResourceTree::KindOf(item);
    if (kind != 3 && kind != 4 && kind != 5)
        return;
    if (CDlgPreviewTabs* tabs = m_frame->PreviewTabs())
        tabs->SelectTab(CDlgPreviewTabs::TabTexts);
    tree->Select(item);
    CDlgEntityDictionary* texts = m_frame->TextsWindow();
    if (texts && texts->isVisible())
        texts->SelectText(record.matched);
}

void SearchCommands::FillFindBox()
{
    m_findBox->clear();
    for (const std::string& entry : AppSettings().Get(Settings::History::Find)) {
        if (!entry.empty())
            m_findBox->addItem(QString::fromStdString(entry));
    }
    m_findBox->setCurrentIndex(-1);
}

void SearchCommands::SaveFindHistory()
{
    AppSettings().Set(Settings::History::Find, HistoryEntries(m_findBox));
}
