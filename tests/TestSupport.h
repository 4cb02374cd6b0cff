#pragma once

#include "dictionary/Feedback.h"

#include <filesystem>
#include <string>
#include <vector>

// Helpers shared by the core tests.

class GeneralDictionary;

/// Every original of a general dictionary, in its order.
std::vector<std::string> Originals(const GeneralDictionary& general);

/// A fresh folder under the system's temporary folder, removed at the end.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

/// Remembers every message reported, formatted.
class RecordingReporter : public MessageReporter
{
public:
    void Report(int messageId, const std::vector<std::string>& arguments) override;
    std::vector<int> ids;
    std::vector<std::string> texts;
};

/// Answers the questions with a fixed list of answers (then "No").
class ScriptedQuestion : public YesNoAllQuestion
{
public:
    explicit ScriptedQuestion(std::vector<int> answers = {}) : answers(std::move(answers)) {}
    int Ask(int messageId, const std::vector<std::string>& arguments) override;
    std::vector<int> answers;
    std::vector<std::string> asked;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
/// Sets a file's last-write time relative to now (seconds, may be negative).
void TouchFile(const std::string& path, int secondsFromNow);

/// The folder of real resource scripts, or empty when it is not available.
std::filesystem::path CorpusDir();
std::filesystem::path SourceDir();
/// Every step-th script of the corpus in path order, from the first.
std::vector<std::string> EveryNthCorpusScript(std::size_t step);
