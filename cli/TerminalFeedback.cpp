#include "cli/TerminalFeedback.h"

#include "dictionary/Messages.h"

#include <iostream>
#include <string>
#include <unistd.h>

void StderrReporter::Report(int messageId, const std::vector<std::string>& arguments)
{
    ++m_count;
    std::cerr << FormatMessage(messageId, arguments) << '\n';
}

int TerminalQuestion::Ask(int messageId, const std::vector<std::string>& arguments)
{
    if (!m_interactive)
        return NoAll;
    for (;;) {
        std::cerr << FormatMessage(messageId, arguments)
                  << "\n[y]es, [Y]es all, [n]o, [N]o all: " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer))
            return NoAll;
        if (answer == "y")
            return Yes;
        if (answer == "Y")
            return YesAll;
        if (answer == "n" || answer.empty())
            return No;
        if (answer == "N")
            return NoAll;
    }
}

TerminalProgress::TerminalProgress() : m_enabled(isatty(STDERR_FILENO) != 0), m_all(*this), m_current(*this)
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_drawn)
        std::cerr << "\r\033[K" << std::flush;
}

void TerminalProgress::Bar::SetRange(int maximum)
{
    m_maximum = maximum;
    m_owner.Draw();
}

void TerminalProgress::Bar::SetPosition(int position)
{
    m_position = position;
    m_owner.Draw();
}

int TerminalProgress::Bar::Percent() const
{
    if (m_maximum <= 0)
        return 0;
    const long long p = 100LL * m_position / m_maximum;
    return static_cast<int>(p < 0 ? 0 : p > 100 ? 100 : p);
}

void TerminalProgress::Draw()
{
    const int all = m_all.Percent();
    const int current = m_current.Percent();
    if (all == m_lastAll && current == m_lastCurrent)
        return;
    m_lastAll = all;
    m_lastCurrent = current;
    auto bar = [](int percent) {
        const int filled = percent / 5;
        return "[" + std::string(static_cast<std::size_t>(filled), '#') +
               std::string(static_cast<std::size_t>(20 - filled), '.') + "] " + std::to_string(percent) + "%";
    };
    std::cerr << "\rAll files " << bar(all) << "  Current file " << bar(current) << "\033[K" << std::flush;
    m_drawn = true;
}
