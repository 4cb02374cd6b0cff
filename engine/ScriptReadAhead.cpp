#include "engine/ScriptReadAhead.h"

#include <exception>
#include <utility>

ScriptReadAhead::ScriptReadAhead(std::vector<std::string> paths) : m_paths(std::move(paths))
{
    m_reader = std::thread([this] { ReadAll(); });
}

ScriptReadAhead::~ScriptReadAhead()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    m_reader.join();
}

void ScriptReadAhead::ReadAll()
{
    try {
        for (const std::string& path : m_paths) {
            {
                // Room for one more; once the files ahead are at their
                // limit, the reader waits until half of them are taken
                // rather than waking for each. A file larger than the limit
                // is read when nothing else waits.
                std::unique_lock<std::mutex> lock(m_mutex);
                if (m_ready.size() >= kMostFiles || m_readyBytes >= kMostBytes)
                    m_changed.wait(lock, [this] { return m_stopped || HalfTaken(); });
                if (m_stopped)
                    break;
            }
            ScriptFileRead read = ReadScriptFile(path);
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_readyBytes += read.bytes.size();
            m_ready.push_back(std::move(read));
            m_changed.notify_all();
        }
    } catch (const std::exception&) {
        // Out of memory: the caller reads the rest itself.
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = true;
    m_changed.notify_all();
}

std::optional<ScriptFileRead> ScriptReadAhead::Take(const std::string& path)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_taken >= m_paths.size() || m_paths[m_taken] != path)
        return std::nullopt;
    m_changed.wait(lock, [this] { return !m_ready.empty() || m_finished; });
    if (m_ready.empty())
        return std::nullopt;
    ScriptFileRead read = std::move(m_ready.front());
    m_ready.pop_front();
    m_readyBytes -= read.bytes.size();
    ++m_taken;
    if (HalfTaken())
        m_changed.notify_all();
    return read;
}
