#pragma once

#include <string>

/// The lock that keeps two programs from writing one dictionary at once:
/// an advisory lock (flock) on a hidden file beside the ".dic" file, held
/// for as long as a window has the dictionary open or a command runs. A
/// second writer waits a little for the first to finish, then gives up.
class DictionaryLock
{
public:
    DictionaryLock() = default;
    ~DictionaryLock();
    DictionaryLock(const DictionaryLock&) = delete;
    DictionaryLock& operator=(const DictionaryLock&) = delete;

    /// Takes the lock of the dictionary, waiting up to waitMilliseconds
    /// for another holder to let it go. False when it stays taken.
    bool Acquire(const std::string& dicPath, int waitMilliseconds);
    void Release();
    bool Held() const { return m_fd >= 0; }
    /// The ".dic" path whose lock is held.
    const std::string& DictionaryPath() const { return m_dicPath; }

    /// The lock file of a dictionary: ".<name>.dic.lock" beside it.
    static std::string LockPath(const std::string& dicPath);

private:
    int m_fd = -1;
    std::string m_dicPath;
};
