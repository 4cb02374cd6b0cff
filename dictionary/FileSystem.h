#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct stat;

// File-system helpers of the stores: existence, the case of stored paths,
// and the time stamps that record when a script was last extracted.

/// True when the path names an existing regular file.
bool FileExists(const std::string& path);

/// The path to open for a stored path. Dictionaries made on Windows store
/// their paths in lower case; on a case-sensitive file system such a path is
/// looked up component by component without regard to case. Returns the
/// path unchanged when it exists or when nothing matches.
std::string ResolveExistingPath(const std::string& path);

/// Last-write time of a file as a Windows FILETIME (100 ns ticks since
/// 1601-01-01), so stamps written here mean the same on Windows.
std::optional<std::uint64_t> LastWriteFileTime(const std::string& path);

/// A FILETIME as its low and high 32-bit halves, each printed as a signed
/// decimal, joined by "+".
std::string FormatStamp(std::uint64_t fileTime);

/// The inverse of FormatStamp; each half is read like atoi reads it.
std::uint64_t ParseStamp(std::string_view stamp);

/// Reads a stamp that is a real time: two signed 32-bit decimal halves
/// joined by "+", a high half that is not negative, and no later than a day
/// from now. Anything else (a stamp edited by hand, "-1+-1", numbers too
/// large) is not a time, and the script it stands for counts as changed.
std::optional<std::uint64_t> ParseValidStamp(std::string_view stamp);

/// Whether the dictionary files can hold the path: they write paths between
/// double quotes, one per line, so a path with a double quote or a line
/// break in it cannot be stored.
bool IsStorablePath(std::string_view path);

/// Which file a path led to when it was opened: two paths name the same
/// file (a link, a second spelling) when their identities agree.
struct FileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known = false;
    /// When the file was last written (as LastWriteFileTime gives it) at
    /// the moment it was opened; not part of what makes it the same file.
    std::uint64_t writeTime = 0;
};

/// What the path names now, following links; an unknown identity when it
/// names nothing.
FileIdentity IdentityOf(const std::string& path);
/// The identity of a file whose status is at hand.
FileIdentity IdentityOfStatus(const struct stat& st);
/// Whether both identities are known and are one file.
bool SameFile(const FileIdentity& a, const FileIdentity& b);
/// Whether the path names the file of that identity.
bool NamesFile(const std::string& path, const FileIdentity& file);

/// The path of one of a dictionary's files: the ".dic" path with its
/// extension replaced (".ent", ".fil", ".nir").
std::string CompanionPath(const std::string& dicPath, const char* extension);

/// The part of a path after its last "\" or "/".
std::string_view FileNameOf(std::string_view path);
/// The part of a path before its last "\" or "/" (empty when there is none).
std::string_view FolderOf(std::string_view path);
