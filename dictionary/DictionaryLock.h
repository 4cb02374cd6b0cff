#pragma once

#include <string>

/// The lock that keeps two programs from writing one dictionary at once:
/// an advisory lock (flock) on a hidden file beside the ".dic" file, held
/// for as long as a window has the dictionary open or a command runs. A
/// second writer waits a little for the first to finish, then gives up.
///
/// The lock file is opened for reading and writing, or, when that is not
/// allowed (it belongs to another user, as after one run with sudo), for
/// reading only: such a descriptor holds the lock all the same. When no
/// descriptor can be had at all, or the file system takes no locks, the
/// lock is unusable and a writer must not go on.
class DictionaryLock
{
public:
    DictionaryLock() = default;
    ~DictionaryLock();
    DictionaryLock(const DictionaryLock&) = delete;
    DictionaryLock& operator=(const DictionaryLock&) = delete;

    /// Takes the lock of the dictionary, waiting up to waitMilliseconds
    /// for another holder to let it go. False when it stays taken, or when
    /// it cannot be taken at all (Unusable()).
    bool Acquire(const std::string& dicPath, int waitMilliseconds);
    /// Takes it only if nobody holds it now.
    bool TryAcquire(const std::string& dicPath) { return Acquire(dicPath, 0); }
    void Release();
    /// Lets the lock go, and removes the lock file when this lock made it
    /// (a dictionary that could not be created leaves nothing behind).
    void ReleaseAndRemoveMade();
    bool Held() const { return m_fd >= 0; }
    /// The last Acquire failed because no lock can be had; Reason() says why.
    bool Unusable() const { return !m_reason.empty(); }
    const std::string& Reason() const { return m_reason; }
    /// The ".dic" path whose lock is held.
    const std::string& DictionaryPath() const { return m_dicPath; }

    /// The lock file of a dictionary: ".<name>.dic.lock" beside it.
    static std::string LockPath(const std::string& dicPath);

private:
    int m_fd = -1;
    bool m_made = false;
    std::string m_dicPath;
    std::string m_reason;
};
