#pragma once

#include "tessary/TessaryExport.h"

#include <QString>
#include <QStringList>

class QWidget;

/// Who the running program is, and where its settings file lives. The
/// program sets its names, then calls InitVars once at start-up.
class TESSARY_EXPORT GlobalVarsForDll
{
public:
    static QString csIni;             ///< full path of the settings file (valid after InitVars)
    static QString csLog;             ///< full path of the log file
    static QString csSoftName;        ///< display name ("Lingorel")
    static QString csShortSoftName;   ///< short name ("lorvo")
    static QString csPartOfAppTitle;  ///< a part of the main window's title
    static QString csInstallFolder;   ///< where the program's shortcut lives
    static QString csWelcomeSentence; ///< program-specific text of the welcome dialog
    static QString csButtonBitmap;    ///< texture of owner-drawn buttons
    static short nSystemVersion;      ///< operating-system family (3 here)

    /// Derives the settings and log paths, detects the first launch (no
    /// settings file yet, or a pending "FirstLaunch" mark, which is
    /// removed), runs the uninstall procedure for "/uninstall" (and ends the
    /// process), and shows the welcome dialog on the first launch.
    /// Returns whether this is the first launch.
    static bool InitVars(bool showChecks);

    /// Where the settings file is for a program file: "--settings FILE" on
    /// the command line or LINGOREL_SETTINGS first; else "<base>.ini" beside
    /// the program when that folder is writable; else in
    /// $XDG_CONFIG_HOME/lingorel/. The base name is the program's file name
    /// up to its first ".".
    static QString SettingsPathFor(const QString& programFile, const QStringList& arguments);
    static QString BaseNameOf(const QString& programFile);

    static void DisplayAboutDlg(QWidget* parent = nullptr);
    static void ShowWelcome(QWidget* parent = nullptr);
    /// Opens an address in the user's web browser.
    static bool GoToWeb(const QString& address);
    /// The browser command with the address put in place of its "%" token
    /// (from the first "%" to the next blank or tab), or appended after a
    /// blank when it has none.
    static QString BrowserCommand(const QString& command, const QString& address);
    /// The folder browser; true with the path set when a folder was chosen.
    static bool GetPath(const QString* title, QWidget* owner, QString& path);

    /// Removes the program: only the files its installation listed in
    /// "<base>.manifest" in its folder. Without that list it refuses and
    /// deletes nothing. Returns whether anything was removed.
    static bool Uninstall(const QString& programFolder, bool ask = true);
};
