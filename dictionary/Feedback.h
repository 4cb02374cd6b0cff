#pragma once

#include <string>
#include <utility>
#include <vector>

// The core never shows a window. Whatever it has to tell or ask the user goes
// through these small interfaces; the GUI answers them with message boxes and
// progress bars, the command-line tool with stderr and a terminal bar, tests
// with recorders.

/// Receives the messages of the system's message table (id + arguments).
class MessageReporter
{
public:
    virtual ~MessageReporter() = default;
    virtual void Report(int messageId, const std::vector<std::string>& arguments) = 0;
};

/// Answers a question with the four buttons Yes, Yes All, No, No All.
class YesNoAllQuestion
{
public:
    enum Answer
    {
        Yes = 0,
        YesAll = 1,
        No = 2,
        NoAll = 3
    };

    virtual ~YesNoAllQuestion() = default;
    /// Returns 0 (Yes), 1 (Yes All), 2 (No) or 3 (No All).
    virtual int Ask(int messageId, const std::vector<std::string>& arguments) = 0;
    /// A question of its own, answered Yes or No; true for Yes.
    virtual bool Confirm(int messageId, const std::vector<std::string>& arguments)
    {
        const int answer = Ask(messageId, arguments);
        return answer == Yes || answer == YesAll;
    }
};

/// One progress bar: a range 0..maximum and a position.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;
    virtual void SetRange(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
};

/// Holds the messages of work done on another thread, to be told on the
/// thread that shows them, in the order they came.
class HeldMessages : public MessageReporter
{
public:
    void Report(int messageId, const std::vector<std::string>& arguments) override
    {
        m_held.emplace_back(messageId, arguments);
    }
    void TellTo(MessageReporter& reporter) const
    {
        for (const auto& [id, arguments] : m_held)
            reporter.Report(id, arguments);
    }

private:
    std::vector<std::pair<int, std::vector<std::string>>> m_held;
};

/// A reporter that drops every message; the default wherever none is given.
MessageReporter& SilentReporter();
