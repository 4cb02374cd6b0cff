// The frame's commands: their table, the menus and bars that show them,
// and the handlers that only pass a command on.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "app/MaintenanceCommands.h"
#include "app/RecentFiles.h"
#include "app/SearchCommands.h"
#include "pages/CSheetWizard.h"
#include "preview/PreviewFonts.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/GlobalVarsForDll.h"
#include "views/CFvMisc.h"
#include "views/CResTreeCtrl.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/CDlgGenerate.h"
#include "windows/DictionaryTexts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
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
        {Cmd::Export, "&Export...", nullptr, {}},
        {Cmd::AppExit, "E&xit", nullptr, {}},
        {Cmd::EditUndo, "&Undo\tCtrl+Z", nullptr, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {Cmd::EditCut, "Cu&t\tCtrl+X", nullptr, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {Cmd::EditCopy, "&Copy\tCtrl+C", nullptr, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {Cmd::EditPaste, "&Paste\tCtrl+V", nullptr, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {Cmd::EditFind, "&Find...\tCtrl+F", nullptr, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {Cmd::EditReplace, "R&eplace...\tCtrl+H", nullptr, QKeySequence(Qt::CTRL | Qt::Key_H)},
        {Cmd::FindInResources, "F&ind in resources...", nullptr, {}},
        {Cmd::DoNotTranslate, "Do &not translate", nullptr, {}},
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
        {Cmd::Align, "&Align with a translated script...", nullptr, {}},
        {Cmd::TextsNotToTranslate, "Texts not to &translate...", nullptr, {}},
        {Cmd::ResourcesNotToExtract, "Resources not to e&xtract ...", nullptr, {}},
        {Cmd::UnusedTexts, "&Unused texts...", nullptr, {}},
        {Cmd::CheckTranslations, "&Check translations...", nullptr, {}},
        {Cmd::Pretranslate, "&Pre-translate...", nullptr, {}},
        {Cmd::Options, "&Options...", nullptr, {}},
        {Cmd::Help, "&Help...", nullptr, QKeySequence(Qt::Key_F1)},
        {Cmd::WhatsNew, "&What's new...", nullptr, {}},
        {Cmd::AppAbout, "&About Lingorel...", "about", {}},
        {Cmd::FindNext, "Find next", "findnext", QKeySequence(Qt::Key_F3)},
        {Cmd::FindPrevious, "Find previous", "findprevious", QKeySequence(Qt::SHIFT | Qt::Key_F3)},
        {Cmd::NextPane, "Next pane", nullptr, QKeySequence(Qt::Key_F6)},
        {Cmd::PreviousPane, "Previous pane", nullptr, QKeySequence(Qt::SHIFT | Qt::Key_F6)},
    };
    return commands;
}

} // namespace

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
    add(menuBar()->addMenu(tr("&Resource")), {Cmd::Insert, Cmd::Extract, Cmd::Generate, 0, Cmd::Align});
    add(menuBar()->addMenu(tr("&Tools")),
        {Cmd::TextsNotToTranslate, Cmd::ResourcesNotToExtract, Cmd::UnusedTexts, Cmd::CheckTranslations,
         Cmd::Pretranslate, 0, Cmd::Options});
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

void CMainFrame::ConnectSearchAndTools()
{
    connect(Action(Cmd::EditFind), &QAction::triggered, m_searches, &SearchCommands::OnFind);
    connect(Action(Cmd::EditReplace), &QAction::triggered, m_searches, &SearchCommands::OnReplace);
    connect(Action(Cmd::FindNext), &QAction::triggered, m_searches,
            [this] { m_searches->OnToolbarFind(true); });
    connect(Action(Cmd::FindPrevious), &QAction::triggered, m_searches,
            [this] { m_searches->OnToolbarFind(false); });
    connect(Action(Cmd::FindInResources), &QAction::triggered, m_searches,
            &SearchCommands::OnFindInResources);
    connect(Action(Cmd::Results), &QAction::triggered, m_searches, [this] {
        m_searches->ToggleResults();
        UpdateActions();
    });
    connect(Action(Cmd::Options), &QAction::triggered, this, &CMainFrame::OnOptions);
    connect(Action(Cmd::Properties), &QAction::triggered, this, &CMainFrame::OnProperties);
    connect(Action(Cmd::Import), &QAction::triggered, m_maintenance, &MaintenanceCommands::OnImport);
    connect(Action(Cmd::Export), &QAction::triggered, m_maintenance, &MaintenanceCommands::OnExport);
    connect(Action(Cmd::TextsNotToTranslate), &QAction::triggered, m_maintenance,
            &MaintenanceCommands::OnTextsNotToTranslate);
    connect(Action(Cmd::UnusedTexts), &QAction::triggered, m_maintenance,
            &MaintenanceCommands::OnUnusedTexts);
    connect(Action(Cmd::Align), &QAction::triggered, m_maintenance, &MaintenanceCommands::OnAlign);
    connect(Action(Cmd::Pretranslate), &QAction::triggered, m_maintenance,
            [this] { m_maintenance->OnPretranslate(); });
    connect(Action(Cmd::CheckTranslations), &QAction::triggered, m_maintenance,
            &MaintenanceCommands::OnCheckTranslations);
}

void CMainFrame::ConnectFindRequests(CDlgDictionaryBase* window)
{
    connect(window, &CDlgDictionaryBase::findRequested, this, [this] {
        if (QAction* find = Action(Cmd::EditFind); find && find->isEnabled())
            find->trigger();
    });
    connect(window, &CDlgDictionaryBase::findInResourcesRequested, this,
            [this](const std::string& original) { m_searches->FindInResources(ToDisplay(original)); });
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
