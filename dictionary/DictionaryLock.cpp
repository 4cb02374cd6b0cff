#include "dictionary/DictionaryLock.h"

#include "dictionary/FileSystem.h"

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
    const std::string path = LockPath(dicPath);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A folder the user may not write (nobody else can write the
        // dictionary there either), or none at all (opening the dictionary
        // will say so): there is nothing to guard.
        m_dicPath = dicPath;
        return true;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            m_dicPath = dicPath;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // Locks not supported here: go on unguarded, as editors do.
            ::close(fd);
            m_dicPath = dicPath;
            return true;
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
    m_dicPath.clear();
}
