// libFuzzer target: any bytes as a PO, XLIFF or TMX file (the first byte
// chooses), read as an import reads it. What was read is written in the same
// format and read again: the texts, translations and contexts must come
// back as they went out, whatever the file held.
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <unistd.h>

namespace {

// One scratch folder per process: the readers read files.
const std::string& Scratch()
{
    static const std::string folder = [] {
        char name[] = "/tmp/fuzz-exchange-XXXXXX";
        const char* made = ::mkdtemp(name);
        if (!made)
            std::abort();
        return std::string(made);
    }();
    return folder;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

// What an entry carries that a file of any of the formats keeps.
std::string Kept(const ExchangeDocument& exchange, ExchangeFormat format)
{
    std::string out;
    for (const ExchangeEntry& e : exchange.entries) {
        out += e.original + '\x01' + e.translation;
        if (format != ExchangeFormat::Tmx)
            out += '\x01' + e.script + '\x01' + e.resource + '\x01' + std::to_string(e.occurrence) +
                   (e.doNotTranslate ? "n" : "") + (e.fuzzy ? "f" : "");
        out += '\x02';
    }
    return out;
}

// Texts a writer can be given: what came out of a reader is UTF-8 without
// a NUL (a C string library sits below the PO reader).
bool Writable(const ExchangeDocument& exchange)
{
    for (const ExchangeEntry& e : exchange.entries) {
        for (const std::string* text : {&e.original, &e.translation, &e.script, &e.resource}) {
            if (text->find('\0') != std::string::npos)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const ExchangeFormat formats[] = {ExchangeFormat::Po, ExchangeFormat::Xliff, ExchangeFormat::Tmx};
    const ExchangeFormat format = formats[data[0] % 3];
    const std::string in = Scratch() + "/in";
    const std::string out = Scratch() + "/out";
    if (!WriteFile(in, std::string(reinterpret_cast<const char*>(data) + 1, size - 1)))
        std::abort();
    ExchangeDocument read;
    std::string error;
    if (!ReadExchangeFile(in, format, read, error) || !Writable(read))
        return 0;
    // Unsure translations are written as plain ones; the reader's rules
    // for the rest must hold both ways. A catalogue holds a text once in a
    // context: the first is written.
    std::set<std::string> seen;
    std::vector<ExchangeEntry> entries;
    for (ExchangeEntry& e : read.entries) {
        e.fuzzy = false;
        if (format != ExchangeFormat::Po || seen.insert(EntryContext(e) + '\x04' + e.original).second)
            entries.push_back(std::move(e));
    }
    read.entries = std::move(entries);
    if (!WriteExchangeFile(read, format, out, error))
        return 0; // a text the format cannot hold is refused, not mangled
    ExchangeDocument again;
    if (!ReadExchangeFile(out, format, again, error)) {
        std::fprintf(stderr, "what was written cannot be read: %s\n", error.c_str());
        std::abort();
    }
    for (ExchangeEntry& e : again.entries)
        e.fuzzy = false;
    const std::string before = Kept(read, format);
    const std::string after = Kept(again, format);
    if (after != before) {
        std::size_t at = 0;
        while (at < before.size() && at < after.size() && before[at] == after[at])
            ++at;
        std::fprintf(stderr, "read back otherwise at byte %zu:\n[%s]\n[%s]\n", at,
                     before.substr(at > 40 ? at - 40 : 0, 120).c_str(),
                     after.substr(at > 40 ? at - 40 : 0, 120).c_str());
        std::abort();
    }
    return 0;
}
