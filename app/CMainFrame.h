#pragma once

#include "app/FrameServices.h"

#include <QFont>
#include <QHash>
#include <QMainWindow>
#include <QSet>

#include <functional>
#include <string>

class CDlgDictionaryBase;
class CDlgEntityDictionary;
class CDlgGeneralDictionary;
class CDlgPreviewTabs;
class CFvMisc;
class CFvTree;
class CResTreeCtrl;
class CSheetWizard;
class DocumentCommands;
class MaintenanceCommands;
class SearchCommands;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;

/// The main window: menus, toolbar with its find box, status bar, and the
/// splitter with the resource tree on the left and the preview tabs on the
/// right. It only wires: commands act on the document, the tree and the
/// windows that own them.
class CMainFrame : public QMainWindow, public FrameServices
{
    Q_OBJECT
public:
    explicit CMainFrame(bool firstStart);
    ~CMainFrame() override;

    QAction* Action(int command) const { return m_actions.value(command); }
    QWidget* Window() override { return this; }
    CResTreeCtrl* Tree() const override;
    CFvTree* TreeView() const { return m_treeView; }
    CDlgPreviewTabs* PreviewTabs() const override { return m_tabs; }
    QComboBox* FindBox() const { return m_findBox; }
    QSplitter* Splitter() const { return m_splitter; }
    DocumentCommands* Documents() const override { return m_documents; }
    CFvMisc* MiscView() const override { return m_miscView; }
    SearchCommands* Searches() const override { return m_searches; }
    MaintenanceCommands* Maintenance() const { return m_maintenance; }

    /// Fonts of original texts and translations from their descriptions
    /// (the default font for an unreadable one).
    void SetFonts(const std::string& original, const std::string& translation, bool lists, bool previews);
    const QFont& OriginalFont() const { return m_originalFont; }
    const QFont& TranslationFont() const { return m_translationFont; }

    /// A command whose window exists can be enabled; the others stay off.
    void SetAvailable(int command, bool available);
    /// Applies the enabled and checked rules of every command.
    void UpdateActions() override;

    /// The frame's one-shot timers (1 refresh after a change, 3 preview
    /// tabs, 4 windows of the last session).
    void StartTimer(int timer, int milliseconds) override;
    /// Destroys the previews, forgets the translator and hides the texts
    /// window, before a command that may change the dictionary.
    void PrepareCommand();
    /// The round of changed-file checks run when the program is activated.
    void OnActivateApp();

    /// The "Dictionary" window (made on first use).
    CDlgGeneralDictionary* DictionaryWindow() override;
    bool DictionaryWindowVisible() const override;
    /// The "Texts of this resource" window, shown for the selected resource.
    void ShowTextsWindow();
    void HideTextsWindow() override;
    void RestoreTextsWindow() override;
    CDlgEntityDictionary* TextsWindow() const override { return m_textsWindow; }
    /// Before the dictionary is replaced or the program closes: when the
    /// visible "Dictionary" window holds changed rows, asks whether to save
    /// them (Yes saves the dictionary, No drops them). False when the user
    /// cancels.
    bool CloseDictionaryWindow();
    /// Shows the main window where it was at the last close.
    void ShowAtRememberedPlace();
    /// What a run did, in the status bar (the counts stay beside it).
    void ShowRunSummary(const QString& done) override;

    /// Runs the wizard with a set of its pages (modal).
    void RunWizard(int pageSet);
    /// Builds the tree again from the dictionary (scripts or resources
    /// came or went), keeping the selection.
    void RebuildTree() override;
    /// Tests drive the wizard: called with it before it runs.
    void SetWizardHook(std::function<void(CSheetWizard*)> hook) { m_wizardHook = std::move(hook); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void FillRecentFiles();
    void ConnectSearchAndTools();
    void OnOptions();
    /// After the options sheet's OK: the open windows take the new settings.
    void ApplyOptions();
    void OnProperties();
    void ConnectFindRequests(CDlgDictionaryBase* window);
    void OnDocumentOpened();
    void OnTimer(int timer);
    void OnTabSelected(int tab);
    void OnEditCommand(int command);
    void ShowTextDialog(const QString& title, const QString& text);
    /// The open dictionary's counts in the status bar.
    void UpdateCounts();

    DocumentCommands* m_documents;
    SearchCommands* m_searches = nullptr;
    MaintenanceCommands* m_maintenance = nullptr;
    bool m_firstStart;
    QHash<int, QAction*> m_actions;
    QSet<int> m_unavailable;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    QComboBox* m_findBox = nullptr;
    QLabel* m_counts = nullptr;
    QSplitter* m_splitter = nullptr;
    CFvTree* m_treeView = nullptr;
    CFvMisc* m_miscView = nullptr;
    CDlgPreviewTabs* m_tabs = nullptr;
    CDlgGeneralDictionary* m_dictionaryWindow = nullptr;
    CDlgEntityDictionary* m_textsWindow = nullptr;
    QFont m_originalFont;
    QFont m_translationFont;
    bool m_fontsForLists = false;
    bool m_fontsForPreviews = false;
    bool m_inActivationRound = false;
    std::function<void(CSheetWizard*)> m_wizardHook;
};
