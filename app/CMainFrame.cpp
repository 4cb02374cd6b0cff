#include "app/CMainFrame.h"

#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "app/MaintenanceCommands.h"
#include "app/RecentFiles.h"
#include "app/SearchCommands.h"
#include "app/WindowPlacement.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "pages/CSheetWizard.h"
#include "pages/Sheets.h"
#include "preview/CDlgPreviewTabs.h"
#include "preview/PreviewFonts.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"
#include "views/CFvMisc.h"
#include "views/CFvTree.h"
#include "views/CListCtrlBookmark.h"
#include "views/CResTreeCtrl.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/CDlgGenerate.h"
#include "windows/DictionaryTexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

// The program's pictures live in a static library: register them by hand.
static void InitLorvoResources()
{
    Q_INIT_RESOURCE(lorvo);
}

CMainFrame::CMainFrame(bool firstStart) : m_documents(new DocumentCommands(this)), m_firstStart(firstStart)
{
    InitLorvoResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/lorvo/icons/lingorel64.png")));
    m_originalFont = m_translationFont = TemplateFont();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    m_searches = new SearchCommands(this, m_findBox);
    m_maintenance = new MaintenanceCommands(this);
    ConnectSearchAndTools();

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_treeView = new CFvTree(m_splitter);
    m_miscView = new CFvMisc(m_splitter);
    m_splitter->addWidget(m_treeView);
    m_splitter->addWidget(m_miscView);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    const int treeWidth = AppSettings().Get(Settings::Integer::SplitCx);
    m_splitter->setSizes({treeWidth, std::max(200, 1000 - treeWidth)});
    setCentralWidget(m_splitter);

    connect(m_documents, &DocumentCommands::documentOpened, this, &CMainFrame::OnDocumentOpened);
    connect(m_documents, &DocumentCommands::aboutToReplace, this, [this] {
        if (!CloseDictionaryWindow())
            m_dictionaryWindow->Discard(); // the dictionary goes: its list cannot stay
        PrepareCommand();
        Tree()->SaveSelection();
    });
    connect(m_documents, &DocumentCommands::hideTextsWindow, this, &CMainFrame::HideTextsWindow);
    connect(m_documents, &DocumentCommands::titleChanged, this, [this] {
        setWindowTitle(m_documents->Title());
        setWindowModified(m_documents->Doc().IsModified());
        FillRecentFiles();
        UpdateActions();
    });
    connect(m_documents, &DocumentCommands::fontsChanged, this, &CMainFrame::SetFonts);
    // Posted: the Extract wizard comes up once the opening is over.
    connect(
        m_documents, &DocumentCommands::extractRequested, this,
        [this] {
            if (QAction* extract = Action(Cmd::Extract); extract && extract->isEnabled())
                extract->trigger();
        },
        Qt::QueuedConnection);
    connect(Tree(), &CResTreeCtrl::selectionChanged, this, [this](int kind) {
        // The texts window follows the selection while the Texts tab is on.
        if (m_textsWindow) {
            if ((kind == 3 || kind == 4 || kind == 5) && m_tabs &&
                m_tabs->SelectedTab() == CDlgPreviewTabs::TabTexts && !DictionaryWindowVisible())
                ShowTextsWindow();
            else
                m_textsWindow->hide();
        }
        UpdateActions();
    });
    connect(Tree(), &CResTreeCtrl::filePropertiesRequested, this,
            [this](const QString& source, const QString& destination) {
                CSheetFileProperties sheet(source.toStdString(), destination.toStdString(), this);
                sheet.exec();
            });
    connect(Tree(), &CResTreeCtrl::documentChanged, this, [this] {
        setWindowModified(m_documents->Doc().IsModified());
        UpdateActions();
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            OnActivateApp();
    });
    setWindowTitle(m_documents->Title());
    UpdateActions();
    StartTimer(3, 50);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::ShowAtRememberedPlace()
{
    ::ShowAtRememberedPlace(this, m_splitter);
}

CResTreeCtrl* CMainFrame::Tree() const
{
    return m_treeView->Tree();
}

void CMainFrame::UpdateCounts()
{
    const CTrelvarDoc& doc = m_documents->Doc();
    if (!doc.IsOpen()) {
        m_counts->clear();
        return;
    }
    const int texts = doc.General()->TextCount();
    const int translated = doc.General()->CountTranslated();
    m_counts->setText(tr("%1 texts, %2 translated (%3 %)")
                          .arg(texts)
                          .arg(translated)
                          .arg(texts > 0 ? 100.0 * translated / texts : 0.0, 0, 'f', 1));
}

void CMainFrame::ShowRunSummary(const QString& done)
{
    // What the run did, on the left; the counts stay on the right, where
    // every change keeps them current (a copy here would go stale).
    UpdateCounts();
    statusBar()->showMessage(done);
}

void CMainFrame::SetFonts(const std::string& original, const std::string& translation, bool lists,
                          bool previews)
{
    m_originalFont = FontFromDescription(original);
    m_translationFont = FontFromDescription(translation);
    m_fontsForLists = lists;
    m_fontsForPreviews = previews;
    Tree()->SetPreviewFonts(m_originalFont, m_translationFont, previews);
    if (m_dictionaryWindow)
        m_dictionaryWindow->SetFonts(m_originalFont, m_translationFont, lists);
    if (m_textsWindow)
        m_textsWindow->SetFonts(m_originalFont, m_translationFont, lists);
}

void CMainFrame::SetAvailable(int command, bool available)
{
    if (available)
        m_unavailable.remove(command);
    else
        m_unavailable.insert(command);
    UpdateActions();
}

void CMainFrame::UpdateActions()
{
    const bool open = m_documents->Doc().IsOpen();
    UpdateCounts();
    auto enable = [this](int id, bool on) {
        if (QAction* a = Action(id))
            a->setEnabled(on && !m_unavailable.contains(id));
    };
    for (int id : {Cmd::FileSave, Cmd::Import, Cmd::Export, Cmd::Properties, Cmd::Insert, Cmd::Extract,
                   Cmd::Generate, Cmd::TextsNotToTranslate, Cmd::ResourcesNotToExtract, Cmd::UnusedTexts,
                   Cmd::CheckTranslations, Cmd::Align, Cmd::Pretranslate, Cmd::UpdateIcons,
                   Cmd::DeleteAllShortcuts, Cmd::FindInResources, Cmd::Results})
        enable(id, open);
    // A dictionary another program has open is looked at, not written.
    enable(Cmd::FileSave, open && !m_documents->Doc().IsReadOnly());
    for (int id : {Cmd::FileNew, Cmd::FileOpen, Cmd::Options, Cmd::Help, Cmd::WhatsNew, Cmd::AppAbout,
                   Cmd::Dictionary})
        enable(id, id == Cmd::Dictionary ? open : true);
    enable(Cmd::DoNotExtract, Tree()->CanDoNotExtract());
    Action(Cmd::DoNotExtract)->setChecked(Tree()->IsNotExtracted());
    Action(Cmd::Dictionary)->setChecked(DictionaryWindowVisible());
    const CDlgDictionaryBase* listWindow = m_textsWindow && m_textsWindow->isVisible()
                                               ? static_cast<const CDlgDictionaryBase*>(m_textsWindow)
                                           : DictionaryWindowVisible() ? m_dictionaryWindow
                                                                       : nullptr;
    enable(Cmd::DoNotTranslate, listWindow && listWindow->CanDoNotTranslate());
    Action(Cmd::DoNotTranslate)->setChecked(listWindow && listWindow->IsDoNotTranslate());
    // Find and Replace work on the list on screen; without one there is
    // nothing to search.
    const bool listShown = m_searches && m_searches->ListWindow();
    enable(Cmd::EditFind, open);
    enable(Cmd::EditReplace, listShown);
    enable(Cmd::FindNext, m_searches && m_searches->CanFindNext());
    enable(Cmd::FindPrevious, m_searches && m_searches->CanFindNext());
    m_findBox->setEnabled(listShown);
    Action(Cmd::Results)->setChecked(m_searches && m_searches->ResultsVisible());
}

void CMainFrame::StartTimer(int timer, int milliseconds)
{
    QTimer::singleShot(milliseconds, this, [this, timer] { OnTimer(timer); });
}

void CMainFrame::OnTimer(int timer)
{
    switch (timer) {
    case 1: {
        CTrelvarDoc& doc = m_documents->Doc();
        doc.MarkChanged(CTrelvarDoc::ContextChanged);
        if (m_textsWindow && m_textsWindow->isVisible())
            m_textsWindow->Fill();
        setWindowModified(true);
        Tree()->Model().UpdateTranslationIcons();
        Tree()->RefreshIcons();
        // The preview on screen shows the new translations.
        if (Tree()->PreviewVisible() && Tree()->SelectedTab() == CDlgPreviewTabs::TabTranslation) {
            Tree()->DropTranslator();
            Tree()->Preview();
        }
        break;
    }
    case 3:
        if (!m_tabs) {
            m_tabs = new CDlgPreviewTabs;
            m_miscView->SetPreviewTabs(m_tabs);
            Tree()->SetHost(m_tabs->Host());
            connect(m_tabs, &CDlgPreviewTabs::tabSelected, this, &CMainFrame::OnTabSelected);
            const int tab = m_firstStart ? 1 : AppSettings().Get(Settings::Integer::SelTab);
            m_tabs->SelectTab(tab);
            Tree()->RestoreSelection(m_firstStart);
            StartTimer(4, 100);
        }
        m_searches->FillFindBox();
        break;
    case 4:
        if (AppSettings().Get(Settings::Flag::DictionaryOpen) && m_documents->Doc().IsOpen())
            DictionaryWindow()->ShowWindow();
        if (AppSettings().Get(Settings::Flag::FindInResource) && m_documents->Doc().IsOpen())
            m_searches->ShowResults();
        UpdateActions();
        break;
    default:
        break;
    }
}

void CMainFrame::OnOptions()
{
    Tree()->DestroyPreviews();
    CSheetOptions sheet(&m_documents->Doc(), m_originalFont, m_translationFont, this);
    if (sheet.exec() == QDialog::Accepted)
        ApplyOptions();
}

void CMainFrame::ApplyOptions()
{
    const Settings settings = AppSettings();
    if (m_documents->Doc().IsOpen())
        m_documents->AnnounceFonts();
    for (CDlgDictionaryBase* window : {static_cast<CDlgDictionaryBase*>(m_dictionaryWindow),
                                       static_cast<CDlgDictionaryBase*>(m_textsWindow)}) {
        if (window)
            window->RefreshLook();
    }
    m_searches->RefreshResultColours();
    if (m_tabs)
        m_tabs->SetTexture(QString::fromStdString(settings.Get(Settings::Text::MainViewTexture)));
    Tree()->Model().updateIcons = settings.Get(Settings::Flag::UpdateTree);
    if (Tree()->Model().updateIcons)
        Tree()->UpdateIconsNow();
    // The preview comes back with the new rectangles, texture and fonts.
    Tree()->DropTranslator();
    if (Tree()->PreviewVisible())
        Tree()->Preview();
    update();
}

void CMainFrame::OnProperties()
{
    CTrelvarDoc& doc = m_documents->Doc();
    if (!doc.IsOpen())
        return;
    PrepareCommand();
    CSheetProperties sheet(&doc, Tree()->Model(), this);
    sheet.exec();
    setWindowModified(doc.IsModified());
    UpdateActions();
    RestoreTextsWindow();
}

void CMainFrame::RestoreTextsWindow()
{
    if (m_tabs && m_tabs->SelectedTab() == CDlgPreviewTabs::TabTexts && !DictionaryWindowVisible())
        ShowTextsWindow();
}

void CMainFrame::RebuildTree()
{
    Tree()->SaveSelection();
    m_treeView->OnUpdate(&m_documents->Doc(), m_tabs ? m_tabs->Host() : nullptr);
    Tree()->RestoreSelection(false);
}

void CMainFrame::RunWizard(int pageSet)
{
    CTrelvarDoc& doc = m_documents->Doc();
    if (!(pageSet & CSheetWizard::PageNew) && !doc.IsOpen())
        return;
    PrepareCommand();
    CSheetWizard sheet(pageSet, &doc, &m_documents->Reporter(), this);
    // Extract alone offers the scripts found changed since their extraction.
    const bool changedRound = pageSet == CSheetWizard::ExtractSet;
    if (changedRound && doc.Files() && doc.Files()->ChangedCount() > 0) {
        CSheetWizard::FileMap changed;
        for (const auto& entry : doc.Files()->Changed())
            changed[entry.value.source] = entry.value.destination;
        sheet.SetFilesToPreselect(changed);
    }
    bool rebuild = false;
    bool refresh = false;
    bool extracted = false;
    connect(&sheet, &CSheetWizard::dictionaryCreated, m_documents, &DocumentCommands::DocumentCreated);
    connect(&sheet, &CSheetWizard::filesChanged, this, [&rebuild] { rebuild = true; });
    connect(&sheet, &CSheetWizard::treeRebuildNeeded, this, [&rebuild] { rebuild = true; });
    connect(&sheet, &CSheetWizard::treeRefreshNeeded, this, [&refresh] { refresh = true; });
    int extractedFiles = 0;
    connect(&sheet, &CSheetWizard::textsExtracted, this, [&extracted, &extractedFiles](int files) {
        extracted = true;
        extractedFiles += files;
    });
    if (m_wizardHook)
        m_wizardHook(&sheet);
    sheet.exec();
    if (changedRound && doc.Files())
        doc.Files()->ForgetAllChanged();
    if (rebuild || refresh) {
        // The tree's resources or their not-extracted marks changed.
        RebuildTree();
    } else if (extracted) {
        Tree()->UpdateIconsNow();
    }
    if (extracted && DictionaryWindowVisible())
        m_dictionaryWindow->Refill();
    setWindowModified(doc.IsModified());
    UpdateActions();
    if (extracted)
        ShowRunSummary(tr("%1 file(s) extracted").arg(extractedFiles));
}

void CMainFrame::OnTabSelected(int tab)
{
    CResTreeCtrl* tree = Tree();
    tree->SetSelectedTab(tab);
    if (tab == CDlgPreviewTabs::TabOriginal || tab == CDlgPreviewTabs::TabTranslation) {
        HideTextsWindow();
        tree->SetPreviewVisible(true);
        tree->SetTranslatedMode(tab == CDlgPreviewTabs::TabTranslation);
        tree->Preview();
    } else if (tab == CDlgPreviewTabs::TabTexts) {
        tree->SetPreviewVisible(false);
        if (!DictionaryWindowVisible())
            ShowTextsWindow();
    }
    tree->UpdateIconsIfDirty();
}

void CMainFrame::OnDocumentOpened()
{
    HideTextsWindow();
    m_searches->ClearResults();
    m_treeView->OnUpdate(&m_documents->Doc(), m_tabs ? m_tabs->Host() : nullptr);
    if (DictionaryWindowVisible())
        m_dictionaryWindow->Refill();
    UpdateActions();
}

void CMainFrame::PrepareCommand()
{
    Tree()->DestroyPreviews();
    Tree()->DropTranslator();
    HideTextsWindow();
}

CDlgGeneralDictionary* CMainFrame::DictionaryWindow()
{
    if (!m_dictionaryWindow) {
        m_dictionaryWindow =
            new CDlgGeneralDictionary(this, &m_documents->Doc(), [this] { StartTimer(1, 50); });
        m_dictionaryWindow->SetFonts(m_originalFont, m_translationFont, m_fontsForLists);
        connect(m_dictionaryWindow, &CDlgDictionaryBase::documentChanged, this, [this] {
            setWindowModified(m_documents->Doc().IsModified());
            UpdateActions();
        });
        connect(m_dictionaryWindow->List(), &CListCtrlEx::itemSelectionChanged, this,
                &CMainFrame::UpdateActions);
        ConnectFindRequests(m_dictionaryWindow);
        // The window is one of its own: the search keys work in it too.
        for (int id :
             {Cmd::EditFind, Cmd::EditReplace, Cmd::FindNext, Cmd::FindPrevious, Cmd::FindInResources})
            m_dictionaryWindow->addAction(Action(id));
        // Back on the Texts tab, the selected resource's texts show again.
        connect(m_dictionaryWindow, &CDlgGeneralDictionary::hidden, this, [this] {
            if (m_tabs && m_tabs->SelectedTab() == CDlgPreviewTabs::TabTexts)
                ShowTextsWindow();
            UpdateActions();
        });
    }
    return m_dictionaryWindow;
}

bool CMainFrame::DictionaryWindowVisible() const
{
    return m_dictionaryWindow && m_dictionaryWindow->isVisible();
}

bool CMainFrame::CloseDictionaryWindow()
{
    if (!DictionaryWindowVisible())
        return true;
    if (!m_dictionaryWindow->HasChanges()) {
        m_dictionaryWindow->Discard();
        return true;
    }
    const int answer =
        RkMessageBox(MessageString(MsgSaveGeneralDictionary), 0x0003 | 0x0020, -1, this, nullptr, -1);
    switch (answer) {
    case CRkMessageBox::IdYes:
        // The list goes into the dictionary, which is saved as a whole.
        m_dictionaryWindow->OnOK(false);
        return m_documents->OnFileSave();
    case CRkMessageBox::IdNo:
        m_dictionaryWindow->Discard();
        return true;
    default:
        return false;
    }
}

void CMainFrame::ShowTextsWindow()
{
    const int kind = Tree()->SelectedKind();
    if (!m_tabs || !m_documents->Doc().IsOpen())
        return;
    if (!m_textsWindow) {
        m_textsWindow = new CDlgEntityDictionary(m_tabs->Host(), &m_documents->Doc());
        m_textsWindow->SetFonts(m_originalFont, m_translationFont, m_fontsForLists);
        m_textsWindow->Place();
        connect(m_textsWindow, &CDlgDictionaryBase::documentChanged, this, [this] {
            setWindowModified(m_documents->Doc().IsModified());
            Tree()->MarkIconsDirty();
            UpdateActions();
        });
        connect(m_textsWindow->List(), &CListCtrlEx::itemSelectionChanged, this, &CMainFrame::UpdateActions);
        ConnectFindRequests(m_textsWindow);
    }
    if (kind != 3 && kind != 4 && kind != 5) {
        m_textsWindow->hide();
        return;
    }
    m_textsWindow->SetSourceFile(Tree()->SelectedSource());
    m_textsWindow->SetResourcePrefix(Tree()->SelectedResourceName() + "+");
    m_textsWindow->Fill();
    m_textsWindow->Place();
    m_textsWindow->show();
    m_textsWindow->raise();
    UpdateActions();
}

void CMainFrame::HideTextsWindow()
{
    if (m_textsWindow)
        m_textsWindow->hide();
}

void CMainFrame::OnActivateApp()
{
    CTrelvarDoc& doc = m_documents->Doc();
    if (m_inActivationRound || !doc.IsOpen())
        return;
    // The question may take the focus away and back: one round at a time.
    m_inActivationRound = true;
    FileList& files = *doc.Files();
    files.SetLastAnswer(0);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& entry : files.Files())
        pairs.emplace_back(entry.value.source, entry.value.destination);
    // Only scripts not offered yet are asked about, and the wizard comes up
    // for them alone: the ones offered when the dictionary was opened have
    // their own wizard on the way.
    bool queued = false;
    for (const auto& [source, destination] : pairs)
        queued = files.CheckChanged(source, destination) || queued;
    m_inActivationRound = false;
    if (queued) {
        if (QAction* extract = Action(Cmd::Extract); extract && extract->isEnabled())
            extract->trigger();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    const Settings settings = AppSettings();
    m_searches->SaveFindHistory();
    RememberPlace(this, m_splitter);
    const bool dictionaryOpen = DictionaryWindowVisible();
    if (!CloseDictionaryWindow()) {
        event->ignore();
        return;
    }
    settings.Set(Settings::Flag::DictionaryOpen, dictionaryOpen);
    settings.Set(Settings::Flag::FindInResource, m_searches->ResultsVisible());
    if (m_tabs)
        settings.Set(Settings::Integer::SelTab, m_tabs->SelectedTab());
    if (!m_documents->SaveModified()) {
        event->ignore();
        return;
    }
    Tree()->SaveSelection();
    PrepareCommand();
    event->accept();
}
