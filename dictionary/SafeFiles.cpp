#include "dictionary/SafeFiles.h"

#include "dictionary/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FaultHook g_faultHook = nullptr;

std::string FolderFor(std::string_view path)
{
    const std::string folder(FolderOf(path));
    return folder.empty() ? std::string(".") : folder;
}

// Copies a file into a new temporary file beside the target; path receives
// its name. The copy is flushed to the disk.
bool CopyToTemporary(const std::string& from, const std::string& target, std::string& path)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = CreateTemporaryFile(target, path);
    if (out < 0) {
        const int saved = errno;
        ::close(in);
        errno = saved;
        return false;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) {
            ok = false;
            break;
        }
    }
    struct stat st
    {
    };
    if (ok && ::fstat(in, &st) == 0)
        ::fchmod(out, st.st_mode & 07777);
    ok = ok && !InjectedFault("sync") && ::fsync(out) == 0;
    const int saved = errno;
    ::close(in);
    ok = ::close(out) == 0 && ok;
    if (!ok) {
        ::unlink(path.c_str());
        errno = saved;
    }
    return ok;
}

} // namespace

std::string SystemReason(int error)
{
    return std::strerror(error);
}

bool IsReadableRegularFile(const std::string& path, std::string* reason)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) {
        if (reason)
            *reason = SystemReason(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        if (reason)
            *reason = "not a regular file";
        return false;
    }
    return true;
}

bool ResolveWriteTarget(const std::string& path, std::string& target, std::string& reason)
{
    target = path;
    for (int links = 0; links < 40; ++links) {
        struct stat st
        {
        };
        if (::lstat(target.c_str(), &st) != 0)
            return true; // nothing there yet: a new file
        if (S_ISREG(st.st_mode))
            return true;
        if (!S_ISLNK(st.st_mode)) {
            reason = S_ISDIR(st.st_mode) ? SystemReason(EISDIR) : "not a regular file";
            return false;
        }
        std::string named(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t length = ::readlink(target.c_str(), named.data(), named.size());
        if (length < 0) {
            reason = SystemReason(errno);
            return false;
        }
        named.resize(static_cast<std::size_t>(length));
        // A relative link is relative to the folder that holds it.
        if (!named.empty() && named.front() != '/') {
            const std::string_view folder = FolderOf(target);
            named = (folder.empty() ? std::string() : std::string(folder) + "/") + named;
        }
        target = named;
    }
    reason = SystemReason(ELOOP);
    return false;
}

bool CanReplace(const std::string& path, std::string* reason)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return true; // nothing to replace
    return CanReplace(path, st, reason);
}

bool CanReplace(const std::string& path, const struct stat& named, std::string* reason)
{
    // Nobody may write it, or this user may not: a read-only file is the
    // user's decision, which a rename must not quietly undo.
    if ((named.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
        if (reason)
            *reason = SystemReason(EACCES);
        return false;
    }
    return true;
}

std::string TemporaryPrefix(std::string_view target)
{
    return "." + std::string(FileNameOf(target)) + ".lingorel-";
}

namespace {

// A temporary name beside the target up to its six random characters:
// ".<name>.lingorel-<pid>-", which tells whose it is.
std::string TemporaryStem(const std::string& target)
{
    const std::string folder(FolderOf(target));
    return (folder.empty() ? std::string() : folder + "/") + TemporaryPrefix(target) +
           std::to_string(::getpid()) + "-";
}

} // namespace

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        if (InjectedFault("write"))
            return false;
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int CreateTemporaryFile(const std::string& target, std::string& path)
{
    path = TemporaryStem(target) + "XXXXXX";
    if (InjectedFault("create")) {
        path.clear();
        return -1;
    }
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0)
        path.clear();
    return fd;
}

void GiveTargetsMode(int fd, const struct stat* target)
{
    if (target) {
        ::fchmod(fd, target->st_mode & 07777);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

void RemoveStaleTemporaryFilesOnce(const std::string& folder)
{
    static std::mutex mutex;
    static std::set<std::string> cleaned;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!cleaned.insert(folder).second)
            return;
    }
    RemoveStaleTemporaryFiles(folder);
}

int RemoveStaleTemporaryFiles(const std::string& folder)
{
    const std::string dir = folder.empty() ? std::string(".") : folder;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(d)) {
        const std::string_view name = entry->d_name;
        const std::size_t mark = name.rfind(".lingorel-");
        if (name.empty() || name.front() != '.' || mark == std::string_view::npos || mark == 0)
            continue;
        // ".lingorel-<pid>-XXXXXX": the owner's process number.
        const std::string_view rest = name.substr(mark + 10);
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos || dash == 0 || rest.size() - dash - 1 != 6)
            continue;
        const std::string digits(rest.substr(0, dash));
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
            continue;
        const pid_t pid = static_cast<pid_t>(std::atol(digits.c_str()));
        if (pid == ::getpid() || pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = dir + "/" + std::string(name);
        struct stat st
        {
        };
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(d);
    return removed;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

namespace {

// Gives the existing file a second name beside the target, a temporary
// one as CreateTemporaryFile makes; a name already taken is never reused,
// since link refuses it. False (errno says why) when no link is made.
bool LinkUnderTemporaryName(const std::string& existing, const std::string& target, std::string& path)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string stem = TemporaryStem(target);
    thread_local std::uint64_t state = static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15ull ^
                                       static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&path));
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = stem;
        for (int i = 0; i < 6; ++i) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            path += kLetters[(state >> 33) % (sizeof kLetters - 1)];
        }
        if (::link(existing.c_str(), path.c_str()) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    path.clear();
    return false;
}

// The replacement without the flush of the destination's folder.
// backupFailed: set when the backup, not the new file, could not be made.
bool Replace(const std::string& temporary, const std::string& destination, const std::string& backup,
             std::string& reason, bool* backupFailed = nullptr)
{
    // The backup: a second name for the old destination when the file
    // system allows it, else a copy; renamed over the old backup only once
    // it is complete.
    std::string copy;
    const bool made = !InjectedFault("link") && LinkUnderTemporaryName(destination, backup, copy);
    bool exists = true;
    if (!made) {
        // Whether there is anything to back up: a file system without hard
        // links refuses every link, whether the destination is there or not.
        struct stat st
        {
        };
        exists = ::stat(destination.c_str(), &st) == 0 || errno != ENOENT;
    }
    if (exists) {
        if (!made && !CopyToTemporary(destination, backup, copy)) {
            reason = SystemReason(errno);
            ::unlink(temporary.c_str());
            if (backupFailed)
                *backupFailed = true;
            return false;
        }
        if (InjectedFault("rename") || ::rename(copy.c_str(), backup.c_str()) != 0) {
            reason = SystemReason(errno);
            ::unlink(copy.c_str());
            ::unlink(temporary.c_str());
            if (backupFailed)
                *backupFailed = true;
            return false;
        }
    }
    if (InjectedFault("rename") || ::rename(temporary.c_str(), destination.c_str()) != 0) {
        reason = SystemReason(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

// Makes the files durable: the file systems that hold them flushed once
// each, or, where that cannot be done, each file.
bool SyncAll(const std::vector<PendingReplacement>& pending, std::vector<std::string>& reasons)
{
    std::vector<std::string> folders;
    for (const PendingReplacement& p : pending) {
        const std::string folder = FolderFor(p.temporary);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    bool whole = !InjectedFault("sync");
    for (const std::string& folder : folders) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || ::syncfs(fd) != 0)
            whole = false;
        if (fd >= 0)
            ::close(fd);
    }
    if (whole)
        return true;
    const int error = errno;
    bool all = true;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const int fd = ::open(pending[i].temporary.c_str(), O_RDONLY | O_CLOEXEC);
        if (InjectedFault("sync") || fd < 0 || ::fsync(fd) != 0) {
            reasons[i] = SystemReason(fd < 0 ? errno : error);
            all = false;
        }
        if (fd >= 0)
            ::close(fd);
    }
    return all;
}

} // namespace

bool ReplaceKeepingBackup(const std::string& temporary, const std::string& destination,
                          const std::string& backup, std::string& reason, bool* backupFailed)
{
    if (!Replace(temporary, destination, backup, reason, backupFailed))
        return false;
    SyncFolder(FolderFor(destination));
    return true;
}

void ReplaceAllKeepingBackups(const std::vector<PendingReplacement>& pending,
                              std::vector<std::string>& reasons, std::vector<bool>* backupFailed)
{
    reasons.assign(pending.size(), {});
    if (backupFailed)
        backupFailed->assign(pending.size(), false);
    SyncAll(pending, reasons);
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const PendingReplacement& p = pending[i];
        // A new file that could not be made durable never replaces anything.
        if (!reasons[i].empty()) {
            ::unlink(p.temporary.c_str());
            continue;
        }
        bool backup = false;
        if (!Replace(p.temporary, p.destination, p.backup, reasons[i], &backup)) {
            if (backupFailed)
                (*backupFailed)[i] = backup;
            continue;
        }
        const std::string folder = FolderFor(p.destination);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const std::string& folder : folders)
        SyncFolder(folder);
}

void SetFaultHook(FaultHook hook)
{
    g_faultHook = hook;
}

bool InjectedFault(const char* step)
{
    if (g_faultHook && g_faultHook(step)) {
        errno = ENOSPC;
        return true;
    }
    return false;
}
