#include "TestSupport.h"

#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::random_device rd;
    for (;;) {
        m_path = fs::temp_directory_path() / ("lingorel-test-" + std::to_string(rd()));
        if (fs::create_directory(m_path))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void RecordingReporter::Report(int messageId, const std::vector<std::string>& arguments)
{
    ids.push_back(messageId);
    texts.push_back(FormatMessage(messageId, arguments));
}

int ScriptedQuestion::Ask(int messageId, const std::vector<std::string>& arguments)
{
    asked.push_back(FormatMessage(messageId, arguments));
    if (answers.empty())
        return No;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void TouchFile(const std::string& path, int secondsFromNow)
{
    fs::last_write_time(path, fs::file_time_type::clock::now() + std::chrono::seconds(secondsFromNow));
}

fs::path CorpusDir()
{
    if (const char* env = std::getenv("LINGOREL_CORPUS"))
        return env;
    const fs::path dir = fs::path(LINGOREL_CORPUS_DIR);
    return fs::exists(dir / "MANIFEST.tsv") ? dir : fs::path();
}

fs::path SourceDir()
{
    return LINGOREL_SOURCE_DIR;
}

std::vector<std::string> EveryNthCorpusScript(std::size_t step)
{
    std::vector<std::string> all;
    for (const auto& e : fs::recursive_directory_iterator(CorpusDir())) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".rc" || ext == ".RC"))
            all.push_back(e.path().string());
    }
    std::sort(all.begin(), all.end());
    std::vector<std::string> chosen;
    for (std::size_t i = 0; i < all.size(); i += step)
        chosen.push_back(all[i]);
    return chosen;
}

std::vector<std::string> Originals(const GeneralDictionary& general)
{
    std::vector<std::string> originals;
    for (const auto& e : general.Texts())
        originals.emplace_back(e.key);
    return originals;
}
