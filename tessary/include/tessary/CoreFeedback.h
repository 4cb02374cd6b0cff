#pragma once

#include "dictionary/Feedback.h"
#include "tessary/TessaryExport.h"

#include <QString>

class QBoxLayout;
class QProgressBar;
class QWidget;

// The core's messages, questions and progress shown in windows.

/// A text of the core (message table, paths, dictionary texts) for display:
/// UTF-8 when it is valid UTF-8 (the file names of this system), else
/// Windows-1252 bytes.
TESSARY_EXPORT QString DisplayText(const std::string& bytes);

/// A message of the core's table, its markers replaced, for display.
TESSARY_EXPORT QString MessageString(int messageId, const std::vector<std::string>& arguments = {});

/// Shows each message in the library's message box (OK, exclamation).
class TESSARY_EXPORT MessageBoxReporter : public MessageReporter
{
public:
    explicit MessageBoxReporter(QWidget* parent = nullptr) : m_parent(parent) {}
    void Report(int messageId, const std::vector<std::string>& arguments) override;

private:
    QWidget* m_parent;
};

/// Asks with the Yes/No/All box.
class TESSARY_EXPORT YesNoAllAsker : public YesNoAllQuestion
{
public:
    explicit YesNoAllAsker(QWidget* parent = nullptr) : m_parent(parent) {}
    int Ask(int messageId, const std::vector<std::string>& arguments) override;
    /// Asks with a Yes/No box.
    bool Confirm(int messageId, const std::vector<std::string>& arguments) override;

private:
    QWidget* m_parent;
};

/// Drives a progress bar of a window, repainting it as the work goes.
class TESSARY_EXPORT ProgressBarSink : public ProgressSink
{
public:
    explicit ProgressBarSink(QProgressBar* bar) : m_bar(bar) {}
    void SetRange(int maximum) override;
    void SetPosition(int position) override;

private:
    QProgressBar* m_bar;
    int m_shown = -1;
};

/// The two bars of a run over several files: "All files" (1026) above
/// "Current file" (1027), added to a window's layout.
struct FileRunBars
{
    QProgressBar* allFiles;
    QProgressBar* currentFile;
};
TESSARY_EXPORT FileRunBars AddFileRunBars(QWidget* owner, QBoxLayout* layout);
