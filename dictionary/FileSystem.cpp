#include "dictionary/FileSystem.h"

#include "dictionary/TextRules.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// 100 ns ticks between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kEpochDifference = 116444736000000000LL;

std::uint64_t WriteTimeOf(const struct stat& st)
{
    const std::int64_t ticks =
        (static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec) / 100;
    return static_cast<std::uint64_t>(ticks + kEpochDifference);
}

} // namespace

FileIdentity IdentityOfStatus(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true,
            WriteTimeOf(st)};
}

FileIdentity IdentityOf(const std::string& path)
{
    struct stat st
    {
    };
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return {};
    return IdentityOfStatus(st);
}

bool SameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.known && b.known && a.device == b.device && a.inode == b.inode;
}

bool NamesFile(const std::string& path, const FileIdentity& file)
{
    return SameFile(IdentityOf(path), file);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string ResolveExistingPath(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec))
        return path;
    fs::path resolved = path[0] == '/' ? fs::path("/") : fs::path(".");
    const fs::path given(path);
    for (const fs::path& part : given.relative_path()) {
        const fs::path exact = resolved / part;
        if (fs::exists(exact, ec)) {
            resolved = exact;
            continue;
        }
        bool found = false;
        for (fs::directory_iterator it(resolved, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (EqualsNoCase(name, part.string())) {
                resolved /= name;
                found = true;
                break;
            }
        }
        if (!found)
            return path;
    }
    std::string out = resolved.string();
    if (path[0] != '/' && out.rfind("./", 0) == 0)
        out.erase(0, 2);
    return out;
}

std::optional<std::uint64_t> LastWriteFileTime(const std::string& path)
{
    struct stat st
    {
    };
    // A stored path whose case is not the file system's is looked up again.
    if (path.empty() ||
        (::stat(path.c_str(), &st) != 0 && ::stat(ResolveExistingPath(path).c_str(), &st) != 0))
        return std::nullopt;
    return WriteTimeOf(st);
}

std::string FormatStamp(std::uint64_t fileTime)
{
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(fileTime & 0xFFFFFFFFu));
    const auto high = static_cast<std::int32_t>(static_cast<std::uint32_t>(fileTime >> 32));
    return std::to_string(low) + "+" + std::to_string(high);
}

std::uint64_t ParseStamp(std::string_view stamp)
{
    const std::size_t plus = stamp.find('+');
    const std::string_view lowText = stamp.substr(0, plus);
    const std::string_view highText =
        plus == std::string_view::npos ? std::string_view() : stamp.substr(plus + 1);
    const auto low = static_cast<std::uint32_t>(ParseIntPrefix(lowText));
    const auto high = static_cast<std::uint32_t>(ParseIntPrefix(highText));
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool IsStorablePath(std::string_view path)
{
    return path.find_first_of("\"\r\n") == std::string_view::npos;
}

std::optional<std::uint64_t> ParseValidStamp(std::string_view stamp)
{
    auto half = [](std::string_view text, std::int64_t& value) {
        bool negative = !text.empty() && text.front() == '-';
        if (negative)
            text.remove_prefix(1);
        if (text.empty() || text.size() > 10 ||
            text.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        value = 0;
        for (char c : text)
            value = value * 10 + (c - '0');
        if (negative)
            value = -value;
        return value >= INT32_MIN && value <= INT32_MAX;
    };
    const std::size_t plus = stamp.find('+');
    std::int64_t low = 0, high = 0;
    if (plus == std::string_view::npos || !half(stamp.substr(0, plus), low) ||
        !half(stamp.substr(plus + 1), high) || high < 0)
        return std::nullopt;
    const std::uint64_t time = (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint32_t>(low);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
    const std::uint64_t dayFromNow = static_cast<std::uint64_t>(ticks + kEpochDifference) + 864000000000ULL;
    if (time > dayFromNow)
        return std::nullopt;
    return time;
}

std::string_view FileNameOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string CompanionPath(const std::string& dicPath, const char* extension)
{
    const std::size_t nameStart = dicPath.size() - FileNameOf(dicPath).size();
    const std::size_t dot = dicPath.find_last_of('.');
    const std::string stem = (dot == std::string::npos || dot < nameStart) ? dicPath : dicPath.substr(0, dot);
    return stem + extension;
}
