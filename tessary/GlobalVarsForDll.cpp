#include "tessary/GlobalVarsForDll.h"

#include "dictionary/SampleCopy.h"
#include "settings/Settings.h"
#include "tessary/CLogFile.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/ModalAnswers.h"
#include "tessary/TessaryStrings.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdlib>

QString GlobalVarsForDll::csIni;
QString GlobalVarsForDll::csLog;
QString GlobalVarsForDll::csSoftName;
QString GlobalVarsForDll::csShortSoftName;
QString GlobalVarsForDll::csPartOfAppTitle;
QString GlobalVarsForDll::csInstallFolder;
QString GlobalVarsForDll::csWelcomeSentence;
QString GlobalVarsForDll::csButtonBitmap = QStringLiteral("BACKGROUND");
short GlobalVarsForDll::nSystemVersion = 0;

QString GlobalVarsForDll::BaseNameOf(const QString& programFile)
{
    const QString name = QFileInfo(programFile).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString GlobalVarsForDll::SettingsPathFor(const QString& programFile, const QStringList& arguments)
{
    for (int i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--settings"))
            return QFileInfo(arguments[i + 1]).absoluteFilePath();
    }
    const QString fromEnvironment = qEnvironmentVariable("LINGOREL_SETTINGS");
    if (!fromEnvironment.isEmpty())
        return QFileInfo(fromEnvironment).absoluteFilePath();
    const QString base = BaseNameOf(programFile);
    const QFileInfo folder(QFileInfo(programFile).absolutePath());
    // An installed program (in the system's folders, or in any prefix with
    // its data under share/lingorel, which a build tree also has but beside
    // its CMakeCache.txt) keeps its settings in the user's folder even when
    // it may write beside itself (run as root).
    const QString where = folder.absoluteFilePath() + QLatin1Char('/');
    bool installed = QFileInfo::exists(where + QStringLiteral("../share/lingorel")) &&
                     !QFileInfo::exists(where + QStringLiteral("../CMakeCache.txt"));
    for (const char* prefix : {"/usr/", "/bin/", "/opt/", "/snap/"})
        installed = installed || where.startsWith(QLatin1String(prefix));
    if (folder.isDir() && folder.isWritable() && !installed)
        return folder.absoluteFilePath() + QLatin1Char('/') + base + QStringLiteral(".ini");
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/lingorel/") + base + QStringLiteral(".ini");
}

bool GlobalVarsForDll::InitVars(bool showChecks)
{
    Q_UNUSED(showChecks);
    // Bit 0: a modern system; bit 1: of the NT family.
    nSystemVersion = 3;
    const QString program = QCoreApplication::applicationFilePath();
    const QStringList arguments = QCoreApplication::arguments();
    csIni = SettingsPathFor(program, arguments);
    QDir().mkpath(QFileInfo(csIni).absolutePath());
    // The log goes beside the settings file, where the program may write.
    csLog = QFileInfo(csIni).absolutePath() + QLatin1Char('/') + BaseNameOf(program) + QStringLiteral(".log");
    CLogFile::SetFileName(csLog);

    const Settings settings(csIni.toStdString());
    bool firstLaunch = !settings.File().Exists();
    if (!firstLaunch && settings.HasFirstLaunchMark()) {
        firstLaunch = true;
        settings.ClearFirstLaunchMark();
    }

    for (const QString& argument : arguments.mid(1)) {
        if (argument.toLower().contains(QLatin1String("/uninstall")) ||
            argument == QLatin1String("--uninstall")) {
            Uninstall(QFileInfo(program).absolutePath());
            std::exit(0);
        }
    }
    if (firstLaunch)
        ShowWelcome();
    return firstLaunch;
}

void GlobalVarsForDll::ShowWelcome(QWidget* parent)
{
    CRkCoolDlg dialog(parent);
    dialog.setObjectName(QStringLiteral("22513"));
    dialog.SetBackgroundBitmap(QStringLiteral("SKY"));
    dialog.setWindowTitle(csSoftName);
    auto* layout = new QVBoxLayout(&dialog);
    auto* title =
        new QLabel(TessaryStrings::Load(TessaryStrings::Welcome).replace(QLatin1String("%s"), csSoftName));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);
    auto* sentence = new QLabel(csWelcomeSentence);
    sentence->setWordWrap(true);
    layout->addWidget(sentence);
    layout->addStretch();
    layout->addWidget(new QLabel(
        TessaryStrings::Load(TessaryStrings::WelcomeOnce).replace(QLatin1String("%s"), csSoftName)));
    auto* buttons = new QDialogButtonBox;
    auto* about =
        buttons->addButton(TessaryStrings::Load(TessaryStrings::About), QDialogButtonBox::ActionRole);
    about->setObjectName(QStringLiteral("9"));
    auto* go =
        buttons->addButton(TessaryStrings::Load(TessaryStrings::Continue), QDialogButtonBox::AcceptRole);
    go->setObjectName(QStringLiteral("1"));
    go->setDefault(true);
    QObject::connect(about, &QPushButton::clicked, &dialog, [&dialog] { DisplayAboutDlg(&dialog); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(420, 220);
    int answer = 0;
    if (ModalAnswers::Take(dialog.windowTitle(), answer))
        return;
    dialog.exec();
}

void GlobalVarsForDll::DisplayAboutDlg(QWidget* parent)
{
    CRkCoolDlg dialog(parent);
    dialog.setObjectName(QStringLiteral("22502"));
    dialog.SetBackgroundBitmap(QStringLiteral("PINK"));
    dialog.setWindowTitle(
        TessaryStrings::Load(TessaryStrings::About).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    auto* layout = new QVBoxLayout(&dialog);
    auto* name = new QLabel(QStringLiteral("<b>%1</b> %2")
                                .arg(csSoftName.toHtmlEscaped(), QCoreApplication::applicationVersion()));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 4);
    name->setFont(big);
    layout->addWidget(name);
    auto* text = new QLabel(QStringLiteral(
        "Translates the user interface of Windows programs kept in resource scripts: build a dictionary "
        "from the scripts, translate every dialog, menu and string-table text, preview the dialogs and "
        "menus, and generate translated scripts that differ from the sources only in their texts."));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* licence = new QLabel(QStringLiteral(
        "Copyright 2026 The Lingorel developers. This program is free software under the GNU General Public "
        "License, version 3 or (at your option) any later version, and comes without any warranty."));
    licence->setObjectName(QStringLiteral("licence"));
    licence->setWordWrap(true);
    layout->addWidget(licence);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    auto* web =
        buttons->addButton(TessaryStrings::Load(TessaryStrings::WebSite), QDialogButtonBox::ActionRole);
    QObject::connect(web, &QPushButton::clicked, &dialog,
                     [] { GoToWeb(QStringLiteral("https://lingorel.example.org/")); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(420, 230);
    int answer = 0;
    if (ModalAnswers::Take(dialog.windowTitle(), answer))
        return;
    dialog.exec();
}

QString GlobalVarsForDll::BrowserCommand(const QString& command, const QString& address)
{
    const int percent = command.indexOf(QLatin1Char('%'));
    if (percent < 0)
        return command + QLatin1Char(' ') + address;
    int end = percent;
    while (end < command.size() && command[end] != QLatin1Char(' ') && command[end] != QLatin1Char('\t'))
        ++end;
    return command.left(percent) + address + command.mid(end);
}

bool GlobalVarsForDll::GoToWeb(const QString& address)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

bool GlobalVarsForDll::GetPath(const QString* title, QWidget* owner, QString& path)
{
    const QString start = path.isEmpty() ? QDir::homePath() : path;
    const QString chosen = QFileDialog::getExistingDirectory(owner, title ? *title : QString(), start);
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

bool GlobalVarsForDll::Uninstall(const QString& programFolder, bool ask)
{
    CLogFile::LogLine("Desinstall !", 0xFF, 0xFFFFFFFF);
    if (ask && RkMessageBox(TessaryStrings::Load(TessaryStrings::ConfirmUninstall), 0x0004 | 0x0100 | 0x0020,
                            -1, nullptr, nullptr, -1) != 6)
        return false;
    QFile manifest(programFolder + QLatin1Char('/') + BaseNameOf(QCoreApplication::applicationFilePath()) +
                   QStringLiteral(".manifest"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // An installed program: its files are the package manager's. Only
        // what the program made for the user goes: the settings, the log
        // and the copy of the sample.
        QStringList removed;
        for (const QString& path : {csIni, csLog}) {
            if (!path.isEmpty() && QFile::remove(path))
                removed << path;
        }
        QDir sample(QString::fromStdString(UserSampleFolder()));
        if (!sample.path().isEmpty() && sample.exists() && sample.removeRecursively())
            removed << sample.path() + QLatin1Char('/');
        if (removed.isEmpty()) {
            RkMessageBox(
                TessaryStrings::Load(TessaryStrings::NoManifest).replace(QLatin1String("%s"), programFolder),
                0x0030, -1, nullptr, nullptr, -1);
            return false;
        }
        RkMessageBox(TessaryStrings::Load(TessaryStrings::UserFilesRemoved)
                         .replace(QLatin1String("%s"), removed.join(QLatin1Char('\n'))),
                     0x0040, -1, nullptr, nullptr, -1);
        return true;
    }
    // Only the files the installation recorded, each inside the folder.
    const QDir folder(programFolder);
    QStringList failed;
    QStringList folders;
    QTextStream in(&manifest);
    while (!in.atEnd()) {
        const QString entry = in.readLine().trimmed();
        if (entry.isEmpty())
            continue;
        const QString path = QDir::cleanPath(folder.absoluteFilePath(entry));
        if (!path.startsWith(folder.absolutePath() + QLatin1Char('/'))) {
            failed << entry;
            continue;
        }
        if (QFile::remove(path))
            CLogFile::LogLine(QStringLiteral("Delete normal file : %1").arg(path).toLocal8Bit().constData(),
                              0xFF, 0xFFFFFFFF);
        else if (QFileInfo::exists(path))
            failed << path;
        for (QString f = QFileInfo(path).absolutePath();
             f.startsWith(folder.absolutePath() + QLatin1Char('/')); f = QFileInfo(f).absolutePath())
            folders << f;
    }
    manifest.close();
    manifest.remove();
    // Folders left empty go too, deepest first; the program folder last.
    folders.removeDuplicates();
    std::sort(folders.begin(), folders.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& f : folders)
        QDir().rmdir(f);
    QDir().rmdir(folder.absolutePath());
    if (!failed.isEmpty())
        RkMessageBox(TessaryStrings::Load(TessaryStrings::NotDeleted)
                         .replace(QLatin1String("%s"), failed.join(QLatin1Char('\n'))),
                     0x0030, -1, nullptr, nullptr, -1);
    else
        RkMessageBox(TessaryStrings::Load(TessaryStrings::Uninstalled), 0x0040, -1, nullptr, nullptr, -1);
    return true;
}
