#include "dictionary/DictionaryCommit.h"

#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/SafeFiles.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kJournalHeader = "Lingorel journal";
constexpr const char* kJournalEnd = "end";

std::string FolderFor(const std::string& path)
{
    const std::string folder(FolderOf(path));
    return folder.empty() ? std::string(".") : folder;
}

} // namespace

DictionaryCommit::~DictionaryCommit()
{
    if (!m_done)
        Abandon();
}

std::string DictionaryCommit::JournalPath(const std::string& dicPath)
{
    const std::string folder(FolderOf(dicPath));
    return (folder.empty() ? std::string() : folder + "/") + "." + std::string(FileNameOf(dicPath)) +
           ".journal";
}

void DictionaryCommit::Add(std::string temporary, std::string target)
{
    m_files.emplace_back(std::move(temporary), std::move(target));
}

void DictionaryCommit::Abandon()
{
    for (const auto& [temporary, target] : m_files)
        ::unlink(temporary.c_str());
    m_files.clear();
    m_done = true;
}

bool DictionaryCommit::Commit(std::string& reason)
{
    const std::string journal = JournalPath(m_dicPath);
    LineFile file;
    bool ok = file.OpenForWriting(journal, nullptr);
    if (ok) {
        file.WriteLine(kJournalHeader, LineFile::LineEnd::Lf);
        for (const auto& [temporary, target] : m_files)
            file.WriteLine(temporary + "\t" + target, LineFile::LineEnd::Lf);
        file.WriteLine(kJournalEnd, LineFile::LineEnd::Lf);
        ok = file.Close();
    }
    if (!ok) {
        reason = file.ErrorText();
        Abandon();
        return false;
    }
    SyncFolder(FolderFor(journal));
    // From here on the new dictionary is decided: what a crash interrupts,
    // the next open completes.
    m_done = true;
    for (const auto& [temporary, target] : m_files) {
        if (InjectedFault("rename") || std::rename(temporary.c_str(), target.c_str()) != 0) {
            reason = SystemReason(errno);
            return false;
        }
    }
    SyncFolder(FolderFor(journal));
    ::unlink(journal.c_str());
    SyncFolder(FolderFor(journal));
    return true;
}

void DictionaryCommit::Recover(const std::string& dicPath)
{
    const std::string journal = JournalPath(dicPath);
    LineFile file;
    if (!file.OpenForReading(journal))
        return;
    std::vector<std::pair<std::string, std::string>> files;
    std::string line;
    bool complete = file.ReadFirstLine(line) >= 0 && line == kJournalHeader;
    bool ended = false;
    while (complete && file.ReadLine(line) >= 0) {
        if (line == kJournalEnd) {
            ended = true;
            break;
        }
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            complete = false;
            break;
        }
        files.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    file.Close();
    if (complete && ended) {
        for (const auto& [temporary, target] : files) {
            struct stat st
            {
            };
            if (::lstat(temporary.c_str(), &st) == 0)
                std::rename(temporary.c_str(), target.c_str());
        }
        SyncFolder(FolderFor(journal));
    }
    ::unlink(journal.c_str());
    SyncFolder(FolderFor(journal));
}
