#pragma once

#include <QStringList>

#include <memory>

class CMainFrame;

/// The program: it tells the shared library who it is, finds its settings,
/// builds the main window and opens the first dictionary (the one named on
/// the command line, the sample on the very first start, else the last one
/// when Reload is on).
class CTrelvarApp
{
public:
    CTrelvarApp();
    ~CTrelvarApp();

    /// False when the program cannot start.
    bool InitInstance(const QStringList& arguments);
    CMainFrame* MainFrame() const { return m_frame.get(); }
    bool FirstStart() const { return m_firstStart; }

    /// Sets the program's names in the shared library.
    static void SetIdentity();

private:
    bool OpenSample();

    std::unique_ptr<CMainFrame> m_frame;
    bool m_firstStart = false;
};
