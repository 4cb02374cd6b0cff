#pragma once

#include "cli/TerminalFeedback.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/FileList.h"

#include <string>

struct CliArguments;

/// One open dictionary with the terminal's reporter and question, and the
/// conversion of texts between the terminal and the dictionary's code page.
class Session
{
public:
    explicit Session(const CliArguments& args);

    /// Commands that change the dictionary hold its lock while they run;
    /// those that only read it take none.
    bool Open(const std::string& dicPath, CTrelvarDoc::Access access = CTrelvarDoc::Access::ReadWrite);
    CTrelvarDoc& Doc() { return m_doc; }
    StderrReporter& Reporter() { return m_reporter; }
    int Exit() const;
    /// Saves the dictionary, then lets the translation memory learn what
    /// it holds (a memory that cannot be written is a warning, never a
    /// failed save).
    bool Save();

    /// The stored record of a script named on the command line.
    const FileList::Record* FindScript(const std::string& name);

    /// A text typed on the command line in the dictionary's code page.
    bool Text(const std::string& typed, std::string& bytes);
    /// A text of the dictionary as the terminal shows it (UTF-8, or the
    /// bytes themselves with --raw).
    std::string Shown(std::string_view bytes) const;
    /// The code page of the open 8-bit dictionary's texts, or the one the
    /// command line names (cp1252 by default).
    int CodePage() const { return m_codePage; }

private:
    StderrReporter m_reporter;
    TerminalQuestion m_question;
    // The converter of the open dictionary's texts (its originals and
    // translations share one code page on the command line).
    const Codec& TextCodec() const;

    int m_codePage;
    bool m_codePageGiven;
    bool m_raw;
    CTrelvarDoc m_doc;
};
