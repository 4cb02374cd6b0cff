#include "dictionary/DictionaryLock.h"

#include "dictionary/FileSystem.h"
#include "dictionary/SafeFiles.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

DictionaryLock::~DictionaryLock()
{
    Release();
}

std::string DictionaryLock::LockPath(const std::string& dicPath)
{
    const std::string folder(FolderOf(dicPath));
    return (folder.empty() ? std::string() : folder + "/") + "." + std::string(FileNameOf(dicPath)) + ".lock";
}

bool DictionaryLock::Acquire(const std::string& dicPath, int waitMilliseconds)
{
    Release();
    m_reason.clear();
    const std::string path = LockPath(dicPath);
    // Made here when it is not there yet; opened for reading only when it
    // may not be written.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    m_made = fd >= 0;
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_reason = SystemReason(errno);
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            m_dicPath = dicPath;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // The file system takes no locks: nothing would keep a second
            // writer out.
            m_reason = SystemReason(errno);
            ::close(fd);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void DictionaryLock::Release()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    m_fd = -1;
    m_made = false;
    m_dicPath.clear();
}

void DictionaryLock::ReleaseAndRemoveMade()
{
    if (m_fd >= 0 && m_made)
        ::unlink(LockPath(m_dicPath).c_str());
    Release();
}
