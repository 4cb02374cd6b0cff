#include "dictionary/DictionaryCommit.h"

#include "dictionary/DictionaryFormat.h"
#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/SafeFiles.h"
#include "dictionary/TextRules.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kJournalHeader = "Lingorel journal 2";
constexpr std::string_view kOldJournalHeader = "Lingorel journal";
constexpr std::string_view kJournalEnd = "end";

std::string FolderFor(const std::string& path)
{
    const std::string folder(FolderOf(path));
    return folder.empty() ? std::string(".") : folder;
}

std::string InFolder(const std::string& folder, std::string_view name)
{
    return folder + "/" + std::string(name);
}

// A file name in a journal field: bytes below 32, 127 and the backslash as
// "\XHH", so that a tab or a line break of a name reads back as it was.
std::string EncodeName(std::string_view name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '\\') {
            out += "\\X";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string DecodeName(std::string_view field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() + 0 && field[i + 1] == 'X' &&
            HexDigitValue(field[i + 2]) >= 0 && HexDigitValue(field[i + 3]) >= 0) {
            out += static_cast<char>(HexDigitValue(field[i + 2]) * 16 + HexDigitValue(field[i + 3]));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// What makes a file the one that was written: its size and an FNV-1a sum
// of its bytes; nothing for a file that cannot be read.
std::optional<std::pair<std::uint64_t, std::uint64_t>> Fingerprint(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::uint64_t sum = 14695981039346656037ull;
    std::uint64_t size = 0;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        for (ssize_t i = 0; i < got; ++i) {
            sum ^= static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
            sum *= 1099511628211ull;
        }
        size += static_cast<std::uint64_t>(got);
    }
    ::close(fd);
    return std::make_pair(size, sum);
}

// The names a journal may hold: one of the dictionary's four files, and a
// temporary file of the program's own naming for it, both in its folder.
bool IsOwnRecord(const std::string& dicPath, std::string_view temporary, std::string_view target)
{
    if (temporary.find('/') != std::string_view::npos || target.find('/') != std::string_view::npos)
        return false;
    const std::string folder(FolderOf(dicPath));
    bool known = false;
    for (const char* extension : {".dic", ".ent", ".fil", ".nir"}) {
        const std::string own(FileNameOf(CompanionPath(dicPath, extension)));
        known = known || own == target;
    }
    const std::string prefix = TemporaryPrefix(target);
    return known && temporary.size() > prefix.size() && temporary.compare(0, prefix.size(), prefix) == 0;
}

// Whether a temporary file of a journal of the earlier layout, which names
// no size, looks whole: its first line is the header of its kind and its
// last line ends.
bool LooksWhole(const std::string& temporary, const std::string& target)
{
    LineFile file;
    std::string first;
    if (!file.OpenForReading(temporary) || file.ReadFirstLine(first) < 0)
        return false;
    std::string bytes;
    LineFile all;
    if (!all.OpenForReading(temporary) || !all.ReadAll(bytes) || bytes.empty() || bytes.back() != '\n')
        return false;
    if (first.rfind("\xEF\xBB\xBF", 0) == 0)
        first.erase(0, 3);
    const std::string_view extension =
        std::string_view(target).substr(target.size() >= 4 ? target.size() - 4 : 0);
    if (extension == ".dic")
        return first == kDicHeader;
    if (extension == ".ent")
        return first == kEntHeader;
    if (extension == ".fil")
        return first == kFilHeader;
    return first == kNirHeader;
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
    m_failedPath = journal;
    LineFile file;
    bool ok = file.OpenForWriting(journal, nullptr);
    if (ok) {
        file.WriteLine(std::string(kJournalHeader), LineFile::LineEnd::Lf);
        // Each new file by its name in the dictionary's folder, with what
        // makes it whole: recovery renames nothing it cannot check.
        for (const auto& [temporary, target] : m_files) {
            const auto print = Fingerprint(temporary);
            if (!print) {
                ok = false;
                break;
            }
            file.WriteLine(EncodeName(FileNameOf(temporary)) + "\t" + EncodeName(FileNameOf(target)) + "\t" +
                               std::to_string(print->first) + "\t" + std::to_string(print->second),
                           LineFile::LineEnd::Lf);
        }
        file.WriteLine(std::string(kJournalEnd), LineFile::LineEnd::Lf);
        ok = file.Close() && ok;
    }
    if (!ok) {
        reason = file.ErrorText().empty() ? SystemReason(errno) : file.ErrorText();
        file.Discard();
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
            m_failedPath = target;
            return false;
        }
    }
    SyncFolder(FolderFor(journal));
    ::unlink(journal.c_str());
    SyncFolder(FolderFor(journal));
    return true;
}

bool DictionaryCommit::ParseJournal(std::string_view text, const std::string& dicPath,
                                    std::vector<JournalRecord>& records)
{
    records.clear();
    const std::string folder = FolderFor(dicPath);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end == std::string_view::npos ? text.size() : end + 1;
    }
    if (lines.empty())
        return false;
    const bool current = lines.front() == kJournalHeader;
    bool sound = current || lines.front() == kOldJournalHeader;
    bool ended = false;
    for (std::size_t n = 1; sound && n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (line == kJournalEnd) {
            ended = true;
            break;
        }
        std::vector<std::string_view> fields;
        for (std::size_t at = 0;;) {
            const std::size_t tab = line.find('\t', at);
            fields.push_back(line.substr(at, tab == std::string_view::npos ? tab : tab - at));
            if (tab == std::string_view::npos)
                break;
            at = tab + 1;
        }
        JournalRecord record;
        if (current && fields.size() == 4) {
            record.temporary = DecodeName(fields[0]);
            record.target = DecodeName(fields[1]);
            const auto [sizeEnd, sizeError] =
                std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), record.size);
            const auto [sumEnd, sumError] =
                std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), record.sum);
            record.fingerprinted = sizeError == std::errc() && sumError == std::errc() &&
                                   sizeEnd == fields[2].data() + fields[2].size() &&
                                   sumEnd == fields[3].data() + fields[3].size();
            sound = record.fingerprinted;
        } else if (!current && fields.size() == 2) {
            // The earlier layout named whole paths, which must be in the
            // dictionary's folder.
            sound =
                FolderFor(std::string(fields[0])) == folder && FolderFor(std::string(fields[1])) == folder;
            record.temporary = FileNameOf(fields[0]);
            record.target = FileNameOf(fields[1]);
        } else {
            sound = false;
        }
        sound = sound && IsOwnRecord(dicPath, record.temporary, record.target);
        record.temporary = InFolder(folder, record.temporary);
        record.target = InFolder(folder, record.target);
        records.push_back(std::move(record));
    }
    return sound && ended;
}

void DictionaryCommit::Recover(const std::string& dicPath)
{
    const std::string journal = JournalPath(dicPath);
    const std::string folder = FolderFor(dicPath);
    struct stat st
    {
    };
    if (::lstat(journal.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    LineFile file;
    std::string text;
    if (!file.OpenForReading(journal) || !file.ReadAll(text))
        return;
    file.Close();
    std::vector<JournalRecord> records;
    bool sound = ParseJournal(text, dicPath, records);
    // Each new file must be whole where it is: still under its temporary
    // name, or already renamed over its target.
    std::vector<bool> pending(records.size(), false);
    for (std::size_t i = 0; sound && i < records.size(); ++i) {
        const JournalRecord& r = records[i];
        if (!r.fingerprinted) {
            pending[i] = LooksWhole(r.temporary, r.target);
            sound = pending[i] || !FileExists(r.temporary);
            continue;
        }
        const auto expected = std::make_pair(r.size, r.sum);
        pending[i] = Fingerprint(r.temporary) == expected;
        sound = pending[i] || (!FileExists(r.temporary) && Fingerprint(r.target) == expected);
    }
    if (sound) {
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (pending[i])
                std::rename(records[i].temporary.c_str(), records[i].target.c_str());
        }
    } else {
        // A journal that names what it may not, or files that are not whole:
        // the old dictionary stays, and the new files it named go.
        for (const JournalRecord& r : records) {
            if (IsOwnRecord(dicPath, FileNameOf(r.temporary), FileNameOf(r.target)) &&
                FolderFor(r.temporary) == folder)
                ::unlink(r.temporary.c_str());
        }
    }
    SyncFolder(folder);
    ::unlink(journal.c_str());
    SyncFolder(folder);
}
