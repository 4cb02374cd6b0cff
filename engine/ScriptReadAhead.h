#pragma once

#include "engine/ScriptText.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

/// Reads the scripts of a run on a thread of its own, ahead of the work on
/// them, so that opening and reading the next files overlaps the work on
/// the one before. Only reading happens there: every script is still
/// worked on in order, on the caller's thread, from the bytes it would have
/// read itself, so the results do not change.
///
/// A few files and a few megabytes at most are held ahead.
class ScriptReadAhead
{
public:
    explicit ScriptReadAhead(std::vector<std::string> paths);
    ~ScriptReadAhead();
    ScriptReadAhead(const ScriptReadAhead&) = delete;
    ScriptReadAhead& operator=(const ScriptReadAhead&) = delete;

    /// The file of the next path, once it is read, when that path is the
    /// one given; nothing when it is not (the caller then reads the file
    /// itself) or when reading ahead stopped.
    std::optional<ScriptFileRead> Take(const std::string& path);

    static constexpr std::size_t kMostFiles = 16;
    static constexpr std::size_t kMostBytes = std::size_t(16) << 20;

private:
    void ReadAll();
    bool HalfTaken() const { return m_ready.size() <= kMostFiles / 2 && m_readyBytes <= kMostBytes / 2; }

    const std::vector<std::string> m_paths;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<ScriptFileRead> m_ready; // the files of m_paths[m_taken...]
    std::size_t m_readyBytes = 0;
    std::size_t m_taken = 0;
    bool m_stopped = false;  // by the caller
    bool m_finished = false; // the reader read all it could
    std::thread m_reader;
};
