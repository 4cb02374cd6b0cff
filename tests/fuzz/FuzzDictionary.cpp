// libFuzzer target: any bytes as the four files of a dictionary, all in
// memory. The input is cut at form feeds into the .dic, .ent, .fil and
// .nir files; each is read as opening a dictionary reads it (the .ent
// records then matched to the scripts the .fil names), written back, read
// again and written again: the second writing must equal the first, so
// that a dictionary survives being opened and saved any number of times.
// The whole input is also read as a save's journal, which may name nothing
// but the dictionary's own files.
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryCommit.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/NotExtractedList.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Stores
{
    GeneralDictionary general{true};
    ContextDictionary context;
    FileList files{0, nullptr};
    NotExtractedList notExtracted;

    void Read(const std::array<std::string, 4>& parts)
    {
        LineFile file;
        file.OpenMemory(parts[0]);
        general.Read(file);
        file.OpenMemory(parts[1]);
        context.Read(file);
        file.OpenMemory(parts[2]);
        files.Read(file);
        file.OpenMemory(parts[3]);
        notExtracted.Read(file);
        std::vector<std::string> sources;
        for (const auto& entry : files.Files())
            sources.push_back(entry.value.source);
        context.MatchScripts(sources);
    }

    std::array<std::string, 4> Write() const
    {
        std::array<std::string, 4> out;
        LineFile file;
        file.OpenMemoryForWriting(&out[0]);
        general.Write(file);
        file.Close();
        file.OpenMemoryForWriting(&out[1]);
        context.Write(file);
        file.Close();
        file.OpenMemoryForWriting(&out[2]);
        files.Write(file);
        file.Close();
        file.OpenMemoryForWriting(&out[3]);
        notExtracted.Write(file);
        file.Close();
        return out;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::array<std::string, 4> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size() && start <= bytes.size(); ++i) {
        std::size_t end = bytes.find('\f', start);
        if (end == std::string::npos)
            end = bytes.size();
        parts[i] = bytes.substr(start, end - start);
        start = end + 1;
    }
    Stores first;
    first.Read(parts);
    const auto written = first.Write();
    Stores second;
    second.Read(written);
    const auto again = second.Write();
    for (std::size_t i = 0; i < again.size(); ++i) {
        if (again[i] != written[i]) {
            std::fprintf(stderr, "file %zu written differently:\n%s\n-- then --\n%s\n", i, written[i].c_str(),
                         again[i].c_str());
            std::abort();
        }
    }
    // The whole input as a save's journal: what it names is checked before
    // anything would be renamed.
    std::vector<DictionaryCommit::JournalRecord> records;
    if (DictionaryCommit::ParseJournal(bytes, "/dictionaries/d.dic", records)) {
        for (const auto& r : records) {
            const bool own = r.target == "/dictionaries/d.dic" || r.target == "/dictionaries/d.ent" ||
                             r.target == "/dictionaries/d.fil" || r.target == "/dictionaries/d.nir";
            if (!own || r.temporary.rfind("/dictionaries/.d.", 0) != 0)
                std::abort();
        }
    }
    return 0;
}
