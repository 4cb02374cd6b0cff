#include "app/CTrelvarApp.h"

#include "app/CMainFrame.h"
#include "app/DocumentCommands.h"
#include "app/RecentFiles.h"
#include "dictionary/FileList.h"
#include "dictionary/SampleCopy.h"
#include "preview/PreviewFonts.h"
#include "settings/Settings.h"
#include "tessary/CLogFile.h"
#include "tessary/CoolDisplay.h"
#include "tessary/GlobalVarsForDll.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

CTrelvarApp::CTrelvarApp() = default;

CTrelvarApp::~CTrelvarApp() = default;

void CTrelvarApp::SetIdentity()
{
    GlobalVarsForDll::csSoftName = QStringLiteral("Lingorel");
    GlobalVarsForDll::csShortSoftName = QStringLiteral("lorvo");
    GlobalVarsForDll::csPartOfAppTitle = QStringLiteral("Tessary Lingorel");
    GlobalVarsForDll::csInstallFolder = QStringLiteral("Programs");
    GlobalVarsForDll::csWelcomeSentence = QStringLiteral(" ");
}

bool CTrelvarApp::InitInstance(const QStringList& arguments)
{
    SetIdentity();
    m_firstStart = GlobalVarsForDll::InitVars(true);
    GlobalVarsForDll::csButtonBitmap = QStringLiteral("BACKGROUND_DARK");
    RegisterPreviewFonts();

    const Settings settings(GlobalVarsForDll::csIni.toStdString());
    int textures = settings.Get(Settings::Flag::ShowTexture) ? 1 : 0;
    SetGetCoolDisplay(false, textures, SlotTextures);

    m_frame = std::make_unique<CMainFrame>(m_firstStart);
    DocumentCommands* documents = m_frame->Documents();

    // A dictionary named on the command line (options are not files).
    QString named;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--settings")) {
            ++i;
            continue;
        }
        if (!arguments[i].startsWith(QLatin1String("--")))
            named = arguments[i];
    }
    if (!named.isEmpty()) {
        documents->OpenDocumentFile(named);
    } else if (m_firstStart) {
        OpenSample();
    } else if (settings.Get(Settings::Flag::Reload)) {
        const QStringList recent = RecentFiles::Load();
        if (!recent.isEmpty())
            documents->OpenDocumentFile(recent.first());
    }
    return true;
}

bool CTrelvarApp::OpenSample()
{
    DocumentCommands* documents = m_frame->Documents();
    // An installed program (and the build tree alike) ships the sample as
    // templates under share/lingorel/sample; the user gets a copy of their
    // own in the data folder, with its paths pointing there.
    const QDir program(QCoreApplication::applicationDirPath());
    const std::string templates = SampleTemplatesFor(program.path().toStdString());
    const QString folder = QString::fromStdString(UserSampleFolder());
    if (!folder.isEmpty() &&
        QFileInfo::exists(QString::fromStdString(templates) + QStringLiteral("/sample.dic"))) {
        std::string error;
        if (!PlaceSample(templates, folder.toStdString(), error)) {
            CLogFile::LogLine(("Cannot copy the sample: " + error).c_str(), 0xFF, 0xFFFFFFFF);
            return false;
        }
        QDir::setCurrent(folder);
        return documents->OpenDocumentFile(folder + QStringLiteral("/sample.dic"));
    }
    // A program folder that holds the sample itself.
    for (const char* name : {"sample.dic", "sample.ent", "sample.nir", "sample.fil"}) {
        if (!QFileInfo::exists(program.filePath(QString::fromLatin1(name))))
            return false;
    }
    QDir::setCurrent(program.path());
    if (!documents->OpenDocumentFile(program.filePath(QStringLiteral("sample.dic"))))
        return false;
    // The translated sample goes to the dictionary's destination folder.
    QDir().mkpath(QString::fromStdString(documents->Doc().DefaultDestinationFolder()));
    return true;
}
