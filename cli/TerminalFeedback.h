#pragma once

#include "dictionary/Feedback.h"

#include <cstdio>

/// Prints the system's messages on stderr, one per line, and counts them.
class StderrReporter : public MessageReporter
{
public:
    void Report(int messageId, const std::vector<std::string>& arguments) override;
    int Count() const { return m_count; }

private:
    int m_count = 0;
};

/// Answers the changed-file question: "No All" without asking, or, when
/// interactive, by asking on the terminal.
class TerminalQuestion : public YesNoAllQuestion
{
public:
    explicit TerminalQuestion(bool interactive) : m_interactive(interactive) {}
    int Ask(int messageId, const std::vector<std::string>& arguments) override;

private:
    bool m_interactive;
};

/// Two progress bars (all files, current file) drawn on one stderr line
/// when stderr is a terminal; nothing otherwise.
class TerminalProgress
{
public:
    TerminalProgress();
    ~TerminalProgress();
    ProgressSink* AllFiles() { return m_enabled ? &m_all : nullptr; }
    ProgressSink* CurrentFile() { return m_enabled ? &m_current : nullptr; }

private:
    class Bar : public ProgressSink
    {
    public:
        explicit Bar(TerminalProgress& owner) : m_owner(owner) {}
        void SetRange(int maximum) override;
        void SetPosition(int position) override;
        int Percent() const;

    private:
        TerminalProgress& m_owner;
        int m_maximum = 0;
        int m_position = 0;
    };
    void Draw();

    bool m_enabled;
    bool m_drawn = false;
    int m_lastAll = -1;
    int m_lastCurrent = -1;
    Bar m_all;
    Bar m_current;
};
