#include "dictionary/SampleCopy.h"

#include "dictionary/DataFolder.h"
#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

bool ReadWhole(const fs::path& path, std::string& bytes)
{
    LineFile file;
    return file.OpenForReading(path.string()) && file.ReadAll(bytes);
}

bool WriteWhole(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

} // namespace

bool PlaceSample(const std::string& templates, const std::string& folder, std::string& error)
{
    const fs::path from(templates);
    const fs::path to(folder);
    if (fs::exists(to / "sample.dic"))
        return true;
    // Made in a folder of its own, then put in place whole.
    std::error_code ec;
    const fs::path building = to.parent_path() / (to.filename().string() + ".new");
    fs::remove_all(building, ec);
    fs::create_directories(building / "translated", ec);
    if (ec) {
        error = building.string() + ": " + ec.message();
        return false;
    }
    auto fail = [&](const std::string& what) {
        error = what;
        fs::remove_all(building, ec);
        return false;
    };
    for (const char* name : {"sample.rc", "sample.dic"}) {
        fs::copy_file(from / name, building / name, ec);
        if (ec)
            return fail((from / name).string() + ": " + ec.message());
    }
    // The copy's own time: renaming the folder keeps it.
    const std::optional<std::uint64_t> time = LastWriteFileTime((building / "sample.rc").string());
    const std::string stamp = time ? FormatStamp(*time) : std::string();
    const std::string place = to.string();
    for (const char* name : {"sample.fil", "sample.ent", "sample.nir"}) {
        std::string text;
        if (!ReadWhole(from / (std::string(name) + ".in"), text))
            return fail((from / (std::string(name) + ".in")).string());
        // The in-context dictionary keys scripts by their lower-cased path.
        ReplaceAll(text, "@SAMPLE_DIR@", std::string(name) == "sample.ent" ? AnsiLower(place) : place);
        ReplaceAll(text, "@SAMPLE_STAMP@", stamp);
        if (!WriteWhole(building / name, text))
            return fail((building / name).string());
    }
    fs::create_directories(to.parent_path(), ec);
    fs::remove_all(to, ec); // a copy without its dictionary is made again
    fs::rename(building, to, ec);
    if (ec)
        return fail(to.string() + ": " + ec.message());
    return true;
}

std::string SampleTemplatesFor(const std::string& programFolder)
{
    return (fs::path(programFolder) / ".." / "share" / "lingorel" / "sample").lexically_normal().string();
}

std::string UserSampleFolder()
{
    const std::string data = UserDataFolder();
    return data.empty() ? data : data + "/sample";
}
