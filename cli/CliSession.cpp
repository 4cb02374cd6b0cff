#include "cli/CliSession.h"

#include "cli/CliArguments.h"
#include "dictionary/Messages.h"
#include "memory/MemorySources.h"
#include "memory/TranslationMemory.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

Session::Session(const CliArguments& args)
    : m_question(args.ask), m_codePage(args.codePage.empty() ? 1252 : ParseCodePage(args.codePage)),
      m_codePageGiven(!args.codePage.empty()), m_raw(args.raw)
{
    if (m_codePage == 0 || m_codePage == kUtf8CodePage) {
        std::cerr << "lorvo-cli: unknown code page '" << args.codePage << "'; using Windows-1252\n";
        m_codePage = 1252;
        m_codePageGiven = false;
    }
    m_doc.SetReporter(&m_reporter);
    m_doc.SetQuestion(&m_question);
    // How long a command waits for another program to let the dictionary go
    // (milliseconds).
    if (const char* wait = std::getenv("LINGOREL_LOCK_WAIT"))
        m_doc.SetLockWait(std::atoi(wait));
}

bool Session::Open(const std::string& dicPath, CTrelvarDoc::Access access)
{
    if (!m_doc.OnOpenDocument(Absolute(dicPath), nullptr, access))
        return false;
    // An 8-bit dictionary's texts are in the code pages it records; one made
    // before records none, and takes the one the command line names (which
    // its next save records). A code page given on the command line that
    // is not the recorded one is said, and used. A Unicode dictionary is
    // UTF-8 whatever it says.
    if (m_doc.IsUnicode())
        return true;
    if (m_doc.RecordsCodePages() && !m_codePageGiven) {
        m_codePage = m_doc.EightBitTranslationsCodePage();
        return true;
    }
    if (m_doc.RecordsCodePages() && (m_doc.EightBitOriginalsCodePage() != m_codePage ||
                                     m_doc.EightBitTranslationsCodePage() != m_codePage))
        std::cerr << "lorvo-cli: " << m_doc.PathName() << " records code page "
                  << FileList::FormatCodePages(m_doc.EightBitOriginalsCodePage(),
                                               m_doc.EightBitTranslationsCodePage())
                  << " for its texts; --code-page " << m_codePage << " is used instead\n";
    m_doc.SetEncodings(m_codePage, m_codePage, m_codePageGiven);
    return true;
}

const Codec& Session::TextCodec() const
{
    return Codec::Cached(m_doc.IsOpen() ? m_doc.TranslationsCodePage() : m_codePage);
}

bool Session::Save()
{
    if (!m_doc.Save())
        return false;
    std::string error;
    const auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
    if (!memory || !RememberDictionary(*memory, m_doc, error))
        std::cerr << "Warning: the translation memory was not updated: " << error << '\n';
    return true;
}

int Session::Exit() const
{
    return m_reporter.Count() == 0 ? ExitOk : ExitError;
}

const FileList::Record* Session::FindScript(const std::string& name)
{
    if (const FileList::Record* record = m_doc.Files()->Find(name))
        return record;
    if (const FileList::Record* record = m_doc.Files()->Find(Absolute(name)))
        return record;
    m_reporter.Report(MsgFileNotInDictionary, {name});
    return nullptr;
}

bool Session::Text(const std::string& typed, std::string& bytes)
{
    if (m_raw || !Codec::IsValidUtf8(typed)) {
        bytes = typed;
        return true;
    }
    if (TextCodec().FromUtf8(typed, bytes))
        return true;
    m_reporter.Report(MsgTextNotInCodePage, {typed, TextCodec().CodePage()});
    return false;
}

std::string Session::Shown(std::string_view bytes) const
{
    // One text, one row: a line break, a tab or another control byte of a
    // text is written as the dictionary files write it ("\X0A").
    std::string text = m_raw ? std::string(bytes) : TextCodec().ToUtf8(bytes);
    std::string shown;
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            shown += "\\X";
            shown += kHex[b >> 4];
            shown += kHex[b & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}
