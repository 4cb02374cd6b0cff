#include "app/CMainFrame.h"

#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "app/ProgramSettings.h"
#include "app/RecentFiles.h"
#include "app/WindowPlacement.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "pages/CSheetWizard.h"
#include "preview/CDlgPreviewTabs.h"
#include "preview/PreviewFonts.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/GlobalVarsForDll.h"
#include "views/CFvMisc.h"
#include "views/CFvTree.h"
#include "views/CListCtrlBookmark.h"
#include "views/CResTreeCtrl.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/CDlgGenerate.h"

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

namespace {

struct CommandInfo
{
    int id;
    const char* text;
    const char* icon;
    QKeySequence shortcut;
};

// Every command of the program with its menu text, picture and keys.
const std::vector<CommandInfo>& Commands()
{
    static const std::vector<CommandInfo> commands = {
        {Cmd::FileNew, "&New...\tCtrl+N", "new", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {Cmd::FileOpen, "&Open...\tCtrl+O", "open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {Cmd::FileSave, "&Save\tCtrl+S", "save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {Cmd::Import, "&Import...", nullptr, {}},
        {Cmd::Export, "E&xport...", nullptr, {}},
        {Cmd::AppExit, "E&xit", nullptr, {}},
        {Cmd::EditUndo, "&Undo\tCtrl+Z", nullptr, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {Cmd::EditCut, "Cu&t\tCtrl+X", nullptr, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {Cmd::EditCopy, "&Copy\tCtrl+C", nullptr, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {Cmd::EditPaste, "&Paste\tCtrl+V", nullptr, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {Cmd::EditFind, "&Find...\tCtrl+F", nullptr, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {Cmd::EditReplace, "R&eplace...\tCtrl+H", nullptr, QKeySequence(Qt::CTRL | Qt::Key_H)},
        {Cmd::FindInResources, "F&ind in resources...", nullptr, {}},
        {Cmd::DoNotTranslate, "Do not &translate", nullptr, {}},
        {Cmd::DoNotExtract, "Do not e&xtract", nullptr, {}},
        {Cmd::DeleteAllShortcuts, "Delete all &shortcuts", nullptr, {}},
        {Cmd::Dictionary, "&Dictionary\tCtrl+D", "dictionary", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {Cmd::Results, "&Results", nullptr, {}},
        {Cmd::Properties, "&Properties\tAlt+Enter", nullptr, QKeySequence(Qt::ALT | Qt::Key_Return)},
        {Cmd::UpdateIcons, "Update &icons", "updateicons", {}},
        {Cmd::ViewToolbar, "&Toolbar", nullptr, {}},
        {Cmd::ViewStatusBar, "&Status Bar", nullptr, {}},
        {Cmd::Insert, "&Insert...", "insert", {}},
        {Cmd::Extract, "&Extract...", "extract", {}},
        {Cmd::Generate, "&Generate...", "generate", {}},
        {Cmd::TextsNotToTranslate, "Texts not to &translate...", nullptr, {}},
        {Cmd::ResourcesNotToExtract, "Resources not to e&xtract ...", nullptr, {}},
        {Cmd::UnusedTexts, "&Unused texts...", nullptr, {}},
        {Cmd::Options, "&Options...", nullptr, {}},
        {Cmd::Help, "&Help...", nullptr, QKeySequence(Qt::Key_F1)},
        {Cmd::WhatsNew, "&What's new...", nullptr, {}},
        {Cmd::AppAbout, "&About Lingorel...", "about", {}},
        {Cmd::FindNext, "Find next", "findnext", {}},
        {Cmd::FindPrevious, "Find previous", "findprevious", {}},
        {Cmd::NextPane, "Next pane", nullptr, QKeySequence(Qt::Key_F6)},
        {Cmd::PreviousPane, "Previous pane", nullptr, QKeySequence(Qt::SHIFT | Qt::Key_F6)},
    };
    return commands;
}

} // namespace

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
    // Commands whose windows do not exist yet stay disabled.
    for (int id : {Cmd::Import, Cmd::Export, Cmd::EditFind, Cmd::EditReplace, Cmd::FindInResources,
                   Cmd::Results, Cmd::Properties, Cmd::TextsNotToTranslate, Cmd::UnusedTexts, Cmd::Options,
                   Cmd::FindNext, Cmd::FindPrevious})
        m_unavailable.insert(id);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

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

void CMainFrame::CreateActions()
{
    for (const CommandInfo& c : Commands()) {
        QString text = QString::fromUtf8(c.text);
        text =
            text.left(text.indexOf(QLatin1Char('\t')) >= 0 ? text.indexOf(QLatin1Char('\t')) : text.size());
        auto* action = new QAction(text, this);
        action->setObjectName(QStringLiteral("command%1").arg(c.id));
        action->setData(c.id);
        if (c.icon)
            action->setIcon(QIcon(QStringLiteral(":/lorvo/icons/%1.png").arg(QLatin1String(c.icon))));
        if (!c.shortcut.isEmpty())
            action->setShortcut(c.shortcut);
        m_actions.insert(c.id, action);
        addAction(action);
    }
    // Some commands share keys in the original table.
    Action(Cmd::EditCopy)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    Action(Cmd::EditPaste)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    Action(Cmd::EditCut)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    Action(Cmd::EditUndo)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    for (int id : {Cmd::DoNotTranslate, Cmd::DoNotExtract, Cmd::Dictionary, Cmd::Results, Cmd::ViewToolbar,
                   Cmd::ViewStatusBar})
        Action(id)->setCheckable(true);

    connect(Action(Cmd::FileOpen), &QAction::triggered, m_documents, [this] {
        PrepareCommand();
        m_documents->OnFileOpen();
    });
    connect(Action(Cmd::FileSave), &QAction::triggered, m_documents, &DocumentCommands::OnFileSave);
    connect(Action(Cmd::FileNew), &QAction::triggered, this, [this] {
        PrepareCommand();
        if (!CloseDictionaryWindow())
            return;
        if (m_documents->PrepareNew())
            RunWizard(CSheetWizard::FileNewSet);
    });
    connect(Action(Cmd::Insert), &QAction::triggered, this, [this] { RunWizard(CSheetWizard::InsertSet); });
    connect(Action(Cmd::Extract), &QAction::triggered, this, [this] { RunWizard(CSheetWizard::ExtractSet); });
    connect(Action(Cmd::ResourcesNotToExtract), &QAction::triggered, this,
            [this] { RunWizard(CSheetWizard::NotExtractedSet); });
    connect(Action(Cmd::Generate), &QAction::triggered, this, [this] {
        if (!m_documents->Doc().IsOpen())
            return;
        PrepareCommand();
        CDlgGenerate dialog(&m_documents->Doc(), &m_documents->Reporter(), this);
        dialog.exec();
        if (dialog.GeneratedCount() > 0)
            ShowRunSummary(tr("%1 file(s) generated").arg(dialog.GeneratedCount()));
    });
    connect(Action(Cmd::AppExit), &QAction::triggered, this, &QWidget::close);
    connect(Action(Cmd::AppAbout), &QAction::triggered, this,
            [this] { GlobalVarsForDll::DisplayAboutDlg(this); });
    connect(Action(Cmd::DoNotExtract), &QAction::triggered, this, [this] { Tree()->OnDoNotExtract(); });
    connect(Action(Cmd::Dictionary), &QAction::triggered, this, [this] {
        if (!m_documents->Doc().IsOpen())
            return;
        HideTextsWindow();
        DictionaryWindow()->ShowOrHide();
        UpdateActions();
    });
    connect(Action(Cmd::DoNotTranslate), &QAction::triggered, this, [this] {
        // The texts window first, else the Dictionary window.
        if (m_textsWindow && m_textsWindow->isVisible() && m_textsWindow->CanDoNotTranslate())
            m_textsWindow->OnDoNotTranslate();
        else if (DictionaryWindowVisible() && m_dictionaryWindow->CanDoNotTranslate())
            m_dictionaryWindow->OnDoNotTranslate();
        UpdateActions();
    });
    connect(Action(Cmd::DeleteAllShortcuts), &QAction::triggered, this, [this] {
        PrepareCommand();
        m_documents->OnDeleteAllShortcuts();
    });
    connect(Action(Cmd::UpdateIcons), &QAction::triggered, this, [this] {
        PrepareCommand();
        Tree()->UpdateIconsNow();
    });
    connect(Action(Cmd::Help), &QAction::triggered, this, [this] {
        ShowTextDialog(
            tr("Help"),
            tr("Lingorel translates the texts of Windows resource scripts.\n\n"
               "1. Create a dictionary and insert the scripts to translate (Resource > Insert).\n"
               "2. Extract their texts (Resource > Extract).\n"
               "3. Translate the texts in the Dictionary window, or in context on the Texts tab.\n"
               "4. Check the dialogs and menus on the Original and Translation tabs: red frames mark "
               "texts without translation, white frames translations that do not fit.\n"
               "5. Generate the translated scripts (Resource > Generate)."));
    });
    connect(Action(Cmd::WhatsNew), &QAction::triggered, this, [this] {
        ShowTextDialog(tr("What's new"),
                       tr("This version reads and writes dictionaries made on Windows, keeps every line of a "
                          "script that has no translation exactly as it was, and previews dialogs and menus "
                          "with the pixel sizes they have on Windows."));
    });
    connect(Action(Cmd::ViewToolbar), &QAction::toggled, this, [this](bool on) {
        if (auto* bar = findChild<QToolBar*>())
            bar->setVisible(on);
    });
    connect(Action(Cmd::ViewStatusBar), &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    for (int id : {Cmd::EditUndo, Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste})
        connect(Action(id), &QAction::triggered, this, [this, id] { OnEditCommand(id); });
    connect(Action(Cmd::NextPane), &QAction::triggered, this,
            [this] { (Tree()->hasFocus() ? static_cast<QWidget*>(m_miscView) : Tree())->setFocus(); });
    connect(Action(Cmd::PreviousPane), &QAction::triggered, this,
            [this] { (Tree()->hasFocus() ? static_cast<QWidget*>(m_miscView) : Tree())->setFocus(); });
}

void CMainFrame::CreateMenus()
{
    auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(Action(id));
        }
    };
    menuBar()->setNativeMenuBar(false);
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    add(m_fileMenu, {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, 0, Cmd::Import, Cmd::Export});
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addSeparator();
    add(m_fileMenu, {Cmd::AppExit});
    add(menuBar()->addMenu(tr("&Edit")),
        {Cmd::EditUndo, 0, Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste, 0, Cmd::EditFind, Cmd::EditReplace,
         Cmd::FindInResources, 0, Cmd::DoNotTranslate, Cmd::DoNotExtract, Cmd::DeleteAllShortcuts});
    add(menuBar()->addMenu(tr("&View")), {Cmd::ViewToolbar, Cmd::ViewStatusBar, 0, Cmd::Dictionary,
                                          Cmd::Results, 0, Cmd::Properties, Cmd::UpdateIcons});
    add(menuBar()->addMenu(tr("&Resource")), {Cmd::Insert, Cmd::Extract, Cmd::Generate});
    add(menuBar()->addMenu(tr("&Tools")),
        {Cmd::TextsNotToTranslate, Cmd::ResourcesNotToExtract, Cmd::UnusedTexts, 0, Cmd::Options});
    add(menuBar()->addMenu(tr("&Help")), {Cmd::Help, Cmd::WhatsNew, 0, Cmd::AppAbout});
    FillRecentFiles();
}

void CMainFrame::FillRecentFiles()
{
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    const QStringList files = RecentFiles::Load();
    QAction* before = m_fileMenu->actions().value(m_fileMenu->actions().indexOf(m_recentSeparator) + 1);
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]), m_fileMenu);
        action->setObjectName(QStringLiteral("command%1").arg(Cmd::FileMruFirst + i));
        const QString path = files[i];
        connect(action, &QAction::triggered, this, [this, path] {
            PrepareCommand();
            if (!m_documents->OpenDocumentFile(path) && !QFileInfo::exists(path))
                RecentFiles::Remove(path);
            FillRecentFiles();
        });
        m_fileMenu->insertAction(before, action);
        m_recentActions << action;
    }
    m_recentSeparator->setVisible(!files.isEmpty());
}

void CMainFrame::CreateToolBar()
{
    auto* bar = addToolBar(tr("Toolbar"));
    bar->setObjectName(QStringLiteral("128"));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(true);
    for (int id : {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, 0, Cmd::Dictionary, 0, Cmd::Insert,
                   Cmd::Extract, Cmd::Generate, 0}) {
        if (id == 0)
            bar->addSeparator();
        else
            bar->addAction(Action(id));
    }
    // Slot 10: the find box.
    m_findBox = new QComboBox(bar);
    m_findBox->setObjectName(QString::number(Cmd::FindBox));
    m_findBox->setEditable(true);
    m_findBox->setFixedWidth(180);
    m_findBox->setMaxCount(10);
    m_findBox->setInsertPolicy(QComboBox::NoInsert);
    QFont font = TemplateFont();
    font.setPixelSize(12);
    font.setBold(true);
    m_findBox->setFont(font);
    bar->addWidget(m_findBox);
    for (int id : {0, Cmd::FindNext, Cmd::FindPrevious, 0, Cmd::UpdateIcons, 0, Cmd::AppAbout}) {
        if (id == 0)
            bar->addSeparator();
        else
            bar->addAction(Action(id));
    }
    Action(Cmd::ViewToolbar)->setChecked(true);
}

void CMainFrame::CreateStatusBar()
{
    statusBar()->showMessage(tr("Ready"));
    // The open dictionary's counts stay in the bar's right corner.
    m_counts = new QLabel(statusBar());
    m_counts->setObjectName(QStringLiteral("dictionaryCounts"));
    statusBar()->addPermanentWidget(m_counts);
    Action(Cmd::ViewStatusBar)->setChecked(true);
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
    UpdateCounts();
    statusBar()->showMessage(done + QStringLiteral("; ") + m_counts->text());
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
                   Cmd::UpdateIcons, Cmd::DeleteAllShortcuts, Cmd::FindInResources, Cmd::Results})
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
    // Searching in the lists comes with the find windows.
    for (int id : {Cmd::EditFind, Cmd::EditReplace, Cmd::FindNext, Cmd::FindPrevious})
        enable(id, false);
    m_findBox->setEnabled(false);
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
        FillFindBox();
        break;
    case 4:
        if (AppSettings().Get(Settings::Flag::DictionaryOpen) && m_documents->Doc().IsOpen()) {
            DictionaryWindow()->ShowWindow();
            UpdateActions();
        }
        break;
    default:
        break;
    }
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
        Tree()->SaveSelection();
        m_treeView->OnUpdate(&doc, m_tabs ? m_tabs->Host() : nullptr);
        Tree()->RestoreSelection(false);
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

void CMainFrame::OnEditCommand(int command)
{
    QWidget* focus = QApplication::focusWidget();
    QLineEdit* line = qobject_cast<QLineEdit*>(focus);
    if (auto* combo = qobject_cast<QComboBox*>(focus))
        line = combo->lineEdit();
    if (line) {
        switch (command) {
        case Cmd::EditUndo:
            line->undo();
            break;
        case Cmd::EditCut:
            line->cut();
            break;
        case Cmd::EditCopy:
            line->copy();
            break;
        case Cmd::EditPaste:
            line->paste();
            break;
        }
        return;
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
        switch (command) {
        case Cmd::EditUndo:
            text->undo();
            break;
        case Cmd::EditCut:
            text->cut();
            break;
        case Cmd::EditCopy:
            text->copy();
            break;
        case Cmd::EditPaste:
            text->paste();
            break;
        }
    }
}

void CMainFrame::ShowTextDialog(const QString& title, const QString& text)
{
    CRkCoolDlg dialog(this);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(text, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(460, 240);
    dialog.exec();
}

void CMainFrame::FillFindBox()
{
    m_findBox->clear();
    for (const std::string& entry : AppSettings().Get(Settings::History::Find))
        m_findBox->addItem(QString::fromStdString(entry));
    m_findBox->setCurrentIndex(-1);
}

void CMainFrame::SaveFindHistory()
{
    std::vector<std::string> entries;
    for (int i = 0; i < m_findBox->count(); ++i)
        entries.push_back(m_findBox->itemText(i).toStdString());
    AppSettings().Set(Settings::History::Find, entries);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    const Settings settings = AppSettings();
    SaveFindHistory();
    RememberPlace(this, m_splitter);
    const bool dictionaryOpen = DictionaryWindowVisible();
    if (!CloseDictionaryWindow()) {
        event->ignore();
        return;
    }
    settings.Set(Settings::Flag::DictionaryOpen, dictionaryOpen);
    settings.Set(Settings::Flag::FindInResource, false);
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
