// libFuzzer target: any bytes as a settings file, with a section, a key and
// a value taken from the input. A value written reads back whatever else
// the file holds, and the lines it does not touch stay as they were.
#include "settings/ProfileFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// A name or value the program could write: no line break, no blank at
// either end; names hold no "=" and do not start a comment or a section.
bool Writable(const std::string& text, bool name)
{
    if (text.empty() || text.find_first_of("\r\n") != std::string::npos)
        return false;
    if (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t')
        return false;
    return !name || (text.find('=') == std::string::npos && text.front() != ';' && text.front() != '#' &&
                     text.front() != '[');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // "section\0key\0value\0" then the file.
    std::string fields[3];
    std::size_t at = 0;
    for (std::string& field : fields) {
        const std::size_t zero = bytes.find('\0', at);
        if (zero == std::string::npos)
            return 0;
        field = bytes.substr(at, zero - at);
        at = zero + 1;
    }
    const std::string text = bytes.substr(at);
    const std::string& section = fields[0];
    const std::string& key = fields[1];
    const std::string& value = fields[2];
    ProfileFile::ReadFromText(text, section, key, "default");
    if (!Writable(section, true) || section.find(']') == 0 || !Writable(key, true) ||
        !Writable(value, false) || value.size() > ProfileFile::kMaxValue)
        return 0;
    const std::string written = ProfileFile::RewriteText(text, section, key, &value);
    if (ProfileFile::ReadFromText(written, section, key, "") != value)
        std::abort();
    // Writing the same value again changes nothing.
    if (ProfileFile::RewriteText(written, section, key, &value) != written)
        std::abort();
    const std::string removed = ProfileFile::RewriteText(written, section, key, nullptr);
    if (removed.size() >= written.size())
        std::abort();
    return 0;
}
