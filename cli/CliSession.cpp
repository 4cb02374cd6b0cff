#include "cli/CliSession.h"

#include "cli/CliCommands.h"
#include "dictionary/Messages.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

std::string Absolute(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return path;
    std::string out = absolute.lexically_normal().string();
    // Keep a trailing separator: it says the destination is a folder.
    if ((path.back() == '/') && out.back() != '/')
        out += '/';
    return out;
}

Session::Session(const CliArguments& args)
    : m_question(args.ask), m_codePage(ParseCodePage(args.codePage)), m_raw(args.raw)
{
    if (m_codePage == 0 || m_codePage == kUtf8CodePage) {
        std::cerr << "lorvo-cli: unknown code page '" << args.codePage << "'; using Windows-1252\n";
        m_codePage = 1252;
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
    // An 8-bit dictionary does not record its code page: it is the one the
    // command line names. A Unicode dictionary is UTF-8 whatever it says.
    m_doc.SetEncodings(m_codePage, m_codePage);
    return true;
}

const Codec& Session::TextCodec() const
{
    return Codec::Cached(m_doc.IsOpen() ? m_doc.TranslationsCodePage() : m_codePage);
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
    return m_raw ? std::string(bytes) : TextCodec().ToUtf8(bytes);
}
