#pragma once

#include <string>
#include <string_view>
#include <vector>

struct stat;

// How the program writes files without ever losing the old one: every new
// file is written in full to a temporary file beside its target, flushed to
// the disk, and only then renamed over the target. Temporary files have a
// hidden name that says whose they are ".<target>.lingorel-<pid>-XXXXXX", so
// that those left by a process that was killed are recognised and removed.

/// The system's reason for the last failure (strerror of errno).
std::string SystemReason(int error);

/// Whether the path names a regular file that can be read; reason (when
/// given) receives why not ("not a regular file" for a FIFO, a device or a
/// folder).
bool IsReadableRegularFile(const std::string& path, std::string* reason = nullptr);

/// The file a write to the path is to replace: the path itself, or, when it
/// is a symbolic link, the file the link names (at the end of a chain of
/// links, whether that file exists or not), so that the link stays a link
/// and what it names gets the new bytes. False (reason set) when what is
/// there is not a regular file (a folder, a device such as /dev/full, a
/// FIFO), or the links go round in a circle.
bool ResolveWriteTarget(const std::string& path, std::string& target, std::string& reason);

/// Whether a new file may replace the one at the path: true when there is
/// none, or when the user may write the one there. A file without any write
/// permission (as a version-control checkout leaves it) stays as it is.
bool CanReplace(const std::string& path, std::string* reason = nullptr);
/// The same for a path that names something, with the status of the name
/// itself (lstat).
bool CanReplace(const std::string& path, const struct stat& named, std::string* reason);

/// The prefix of the temporary files of a target (".<name>.lingorel-").
std::string TemporaryPrefix(std::string_view target);
/// Creates a new temporary file beside the target and returns its
/// descriptor (-1 on failure, with errno set); path receives its name.
int CreateTemporaryFile(const std::string& target, std::string& path);

/// Writes all the bytes, whatever the system takes at a time; false (errno
/// says why) on a failure, where a "write" fault may be injected.
bool WriteAll(int fd, const char* data, std::size_t size);

/// Gives a temporary file the permissions of the file it is to replace
/// (its status given), or without one (null) the usual ones of a new file,
/// instead of its own private mode.
void GiveTargetsMode(int fd, const struct stat* target);

/// Removes the temporary files in the folder that processes which are gone
/// left behind. Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder);
/// The same, once per folder in the life of the process: a run that
/// writes a thousand scripts into one folder reads the folder once.
void RemoveStaleTemporaryFilesOnce(const std::string& folder);

/// Flushes a folder's entries (the renames done in it) to the disk.
void SyncFolder(const std::string& folder);

/// Replaces the destination with the complete temporary file, keeping the
/// old destination as the backup: the backup is made first (a link or a
/// copy, itself written to a temporary file and renamed), then the
/// temporary file is renamed over the destination. At every moment the
/// destination is either the old or the new file and the backup either the
/// old backup or the old destination. False (reason set) when anything
/// failed; the temporary file is then removed and nothing else changed.
/// backupFailed, when given, is set when the backup was what failed.
bool ReplaceKeepingBackup(const std::string& temporary, const std::string& destination,
                          const std::string& backup, std::string& reason, bool* backupFailed = nullptr);

/// A complete new file waiting to replace its destination.
struct PendingReplacement
{
    std::string temporary;
    std::string destination;
    std::string backup;
};

/// Replaces many destinations as ReplaceKeepingBackup does, with one flush
/// to the disk for all their new files instead of one each: the new files
/// (written but not yet flushed) are made durable together first, then
/// each destination is replaced, then each folder is flushed once. At every
/// moment each destination is its old or its new file. reasons receives,
/// for each, why it was not replaced (empty when it was); backupFailed,
/// when given, whether that was for want of its backup (else the new file
/// could not be made durable or put in place).
void ReplaceAllKeepingBackups(const std::vector<PendingReplacement>& pending,
                              std::vector<std::string>& reasons, std::vector<bool>* backupFailed = nullptr);

/// Fault injection for the tests of what a crash or a full disk leaves: the
/// hook is asked before each step of a save or a generation ("write",
/// "sync", "rename"...) and may end the process there, or answer true to
/// make the step fail as a full disk would. No hook in the program.
using FaultHook = bool (*)(const char* step);
void SetFaultHook(FaultHook hook);
/// Whether the step is to fail (ENOSPC is set then).
bool InjectedFault(const char* step);
