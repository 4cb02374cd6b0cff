#include "dictionary/LineFile.h"

#include "dictionary/Feedback.h"
#include "dictionary/Messages.h"
#include "dictionary/SafeFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kReadBlock = 1 << 16;

// Reads until size bytes are in or the file ends, from the file's position
// (or from `at` without moving it): how many were read, or -1 on an error
// (errno says which).
std::int64_t ReadFully(int fd, char* data, std::size_t size, std::int64_t at = -1)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = at < 0 ? ::read(fd, data + got, size - got)
                                 : ::pread(fd, data + got, size - got, at + static_cast<std::int64_t>(got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(got);
}

} // namespace

LineFile::~LineFile()
{
    Close();
}

void LineFile::Reset()
{
    m_out.clear();
    m_fd = -1;
    m_openSize = 0;
    m_written = 0;
    m_identity = {};
    m_writing = false;
    m_writeFailed = false;
    m_readFailed = false;
    m_tempPath.clear();
    m_pos = m_len = 0;
    m_eof = false;
    m_rangeFrom = 0;
    m_rangeSize = m_rangeLeft = -1;
    m_lastEnd = LineEnd::None;
    m_inMemory = false;
    m_memory = {};
    m_memoryPos = 0;
    m_memoryOut = nullptr;
}

void LineFile::OpenMemory(std::string_view bytes)
{
    Close();
    m_path.clear();
    m_error.clear();
    m_inMemory = true;
    m_memory = bytes;
    // Small texts need no block of their own.
    m_buffer.resize(std::min(kReadBlock, bytes.size() + 1));
}

void LineFile::OpenMemoryForWriting(std::string* out)
{
    Close();
    m_path.clear();
    m_error.clear();
    m_inMemory = true;
    m_memoryOut = out;
    m_writing = true;
}

bool LineFile::OpenForReading(const std::string& path)
{
    Close();
    m_path = path;
    m_error.clear();
    // Opened without blocking, so that a FIFO put in a script's place cannot
    // hang the program; only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_error = SystemReason(errno);
        return false;
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = "not a regular file";
        ::close(fd);
        return false;
    }
    m_identity = IdentityOfStatus(st);
    m_openSize = st.st_size;
    // Reads block again; of the status flags only O_NONBLOCK was set.
    ::fcntl(fd, F_SETFL, 0);
    m_fd = fd;
    // The line buffer is made at the first line read: a caller that reads
    // the file whole never needs it.
    return true;
}

bool LineFile::OpenForWriting(const std::string& path, MessageReporter* reporter)
{
    Close();
    m_path = path;
    m_reporter = reporter;
    m_error.clear();
    // A link stays a link: the file it names gets the new bytes. What is
    // not a regular file (a folder, a device) is never replaced.
    std::string target;
    if (path.empty())
        m_error = SystemReason(EISDIR);
    else if (!ResolveWriteTarget(path, target, m_error))
        target.clear();
    struct stat st
    {
    };
    const bool exists = !target.empty() && ::lstat(target.c_str(), &st) == 0;
    if (exists)
        CanReplace(target, st, &m_error);
    if (m_error.empty())
        m_path = target;
    std::string temp;
    const int fd = m_error.empty() ? CreateTemporaryFile(m_path, temp) : -1;
    if (fd < 0 && m_error.empty())
        m_error = SystemReason(errno);
    if (fd < 0) {
        if (reporter)
            reporter->Report(MsgCannotSaveFile, {path, m_error});
        return false;
    }
    GiveTargetsMode(fd, exists ? &st : nullptr);
    m_fd = fd;
    m_tempPath = temp;
    m_writing = true;
    return true;
}

bool LineFile::Fill()
{
    if (m_eof)
        return false;
    if (m_pos > 0 && m_pos < m_len)
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_len - m_pos);
    m_len -= m_pos;
    m_pos = 0;
    if (m_buffer.empty())
        m_buffer.resize(kReadBlock);
    else if (m_len == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);
    std::size_t got = 0;
    if (m_inMemory) {
        got = std::min(m_buffer.size() - m_len, m_memory.size() - m_memoryPos);
        std::memcpy(m_buffer.data() + m_len, m_memory.data() + m_memoryPos, got);
        m_memoryPos += got;
    } else {
        std::size_t room = m_buffer.size() - m_len;
        if (m_rangeLeft >= 0)
            room = std::min(room, static_cast<std::size_t>(m_rangeLeft));
        const std::int64_t read = room == 0 ? 0 : ReadFully(m_fd, m_buffer.data() + m_len, room);
        if (read < 0) {
            m_eof = true;
            m_readFailed = true;
            m_error = SystemReason(errno);
            return false;
        }
        got = static_cast<std::size_t>(read);
        if (m_rangeLeft >= 0)
            m_rangeLeft -= read;
    }
    if (got == 0) {
        m_eof = true;
        return false;
    }
    m_len += got;
    return true;
}

std::int64_t LineFile::ReadStart(char* data, std::size_t size)
{
    if (m_fd < 0 || m_writing)
        return -1;
    const std::int64_t got = ReadFully(m_fd, data, size, 0);
    if (got < 0) {
        m_readFailed = true;
        m_error = SystemReason(errno);
    }
    return got;
}

bool LineFile::ReadAll(std::string& bytes)
{
    bytes.clear();
    if (m_fd < 0 || m_writing)
        return false;
    const auto fail = [&](std::string reason) {
        m_readFailed = true;
        m_error = std::move(reason);
        bytes.clear();
        return false;
    };
    const auto tooLarge = [] { return "the file is larger than " + std::to_string(kMaxLine >> 20) + " MB"; };
    // Read at once into a buffer of the file's size when it was opened; a
    // file that grew meanwhile is read on to its end.
    if (m_openSize > static_cast<std::int64_t>(kMaxLine))
        return fail(tooLarge());
    if (m_openSize > 0) {
        bytes.resize(static_cast<std::size_t>(m_openSize));
        const std::int64_t got = ReadFully(m_fd, bytes.data(), bytes.size(), 0);
        if (got < 0)
            return fail(SystemReason(errno));
        bytes.resize(static_cast<std::size_t>(got));
    }
    char block[65536];
    for (;;) {
        const std::int64_t got =
            ReadFully(m_fd, block, sizeof block, static_cast<std::int64_t>(bytes.size()));
        if (got < 0)
            return fail(SystemReason(errno));
        bytes.append(block, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxLine)
            return fail(tooLarge());
        if (got < static_cast<std::int64_t>(sizeof block))
            return true;
    }
}

std::int64_t LineFile::ReadFirstLine(std::string& line)
{
    line.clear();
    if (!IsOpen() || m_writing)
        return -1;
    if (m_inMemory) {
        m_memoryPos = 0;
    } else {
        // Back to the start of the file, or of the part of it being read.
        if (::lseek(m_fd, m_rangeFrom, SEEK_SET) != m_rangeFrom)
            return -1;
        m_rangeLeft = m_rangeSize;
    }
    m_pos = m_len = 0;
    m_eof = false;
    return ReadLine(line);
}

bool LineFile::SetReadRange(std::int64_t from, std::int64_t to)
{
    if (m_fd < 0 || m_writing || from < 0 || to < from || ::lseek(m_fd, from, SEEK_SET) != from)
        return false;
    m_rangeFrom = from;
    m_rangeSize = m_rangeLeft = to - from;
    m_pos = m_len = 0;
    m_eof = false;
    return true;
}

std::int64_t LineFile::ReadLine(std::string& line)
{
    line.clear();
    if (!IsOpen() || m_writing)
        return -1;
    std::size_t scanFrom = m_pos;
    for (;;) {
        const char* start = m_buffer.data() + m_pos;
        // An empty buffer may have no storage: memchr is not given its null.
        const void* nl =
            m_len > scanFrom ? std::memchr(m_buffer.data() + scanFrom, '\n', m_len - scanFrom) : nullptr;
        if (nl) {
            const std::size_t end = static_cast<const char*>(nl) - m_buffer.data();
            std::size_t textEnd = end;
            m_lastEnd = LineEnd::Lf;
            if (textEnd > m_pos && m_buffer[textEnd - 1] == '\r') {
                --textEnd;
                m_lastEnd = LineEnd::CrLf;
            }
            line.assign(start, textEnd - m_pos);
            m_pos = end + 1;
            // Keep the buffer small again after one very long line.
            if (m_buffer.size() > 4 * kReadBlock && m_len - m_pos < kReadBlock) {
                std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_len - m_pos);
                m_len -= m_pos;
                m_pos = 0;
                m_buffer.resize(kReadBlock);
                m_buffer.shrink_to_fit();
            }
            return static_cast<std::int64_t>(line.size());
        }
        const std::size_t scanned = m_len - m_pos;
        if (scanned > kMaxLine) {
            // No script has such a line: the file is something else (a
            // device, a binary), and reading it whole would eat the memory.
            m_readFailed = true;
            m_error = "a line is longer than " + std::to_string(kMaxLine >> 20) + " MB";
            m_eof = true;
            m_pos = m_len = 0;
            return -1;
        }
        if (!Fill()) {
            if (m_readFailed)
                return -1;
            if (m_len == m_pos)
                return -1;
            // A last line without a newline.
            line.assign(m_buffer.data() + m_pos, m_len - m_pos);
            m_pos = m_len;
            m_lastEnd = LineEnd::None;
            return static_cast<std::int64_t>(line.size());
        }
        scanFrom = m_pos + scanned;
    }
}

int LineFile::WriteLine(const std::string& line, LineEnd end)
{
    if (!IsOpen() || !m_writing)
        return -1;
    if (WriteRaw(line.data(), line.size()) < 0)
        return -1;
    switch (end) {
    case LineEnd::CrLf:
        return WriteRaw("\r\n", 2);
    case LineEnd::Lf:
        return WriteRaw("\n", 1);
    case LineEnd::None:
        break;
    }
    return 0;
}

int LineFile::WriteRaw(const char* data, std::size_t size)
{
    if (!IsOpen() || !m_writing)
        return -1;
    if (size < kReadBlock) {
        m_out.append(data, size);
        if (m_out.size() >= kReadBlock && !FlushWrites())
            return -1;
        return m_writeFailed ? -1 : 0;
    }
    // A large piece (a long run of lines copied as read) goes out as it is,
    // after what the buffer holds, instead of growing the buffer to its size.
    if (!FlushWrites() || !WriteOut(data, size))
        return -1;
    return 0;
}

int LineFile::WriteRaw(std::initializer_list<std::string_view> pieces)
{
    if (!IsOpen() || !m_writing)
        return -1;
    std::size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    if (size >= kReadBlock) {
        for (std::string_view piece : pieces) {
            if (WriteRaw(piece.data(), piece.size()) < 0)
                return -1;
        }
        return 0;
    }
    for (std::string_view piece : pieces)
        m_out.append(piece);
    if (m_out.size() >= kReadBlock && !FlushWrites())
        return -1;
    return m_writeFailed ? -1 : 0;
}

bool LineFile::WriteOut(const char* data, std::size_t size)
{
    if (m_memoryOut) {
        m_memoryOut->append(data, size);
        return true;
    }
    if (size == 0 || m_writeFailed)
        return !m_writeFailed;
    if (!WriteAll(m_fd, data, size)) {
        m_writeFailed = true;
        m_error = SystemReason(errno);
        return false;
    }
    m_written += static_cast<std::int64_t>(size);
    return true;
}

bool LineFile::FlushWrites()
{
    const bool ok = WriteOut(m_out.data(), m_out.size());
    m_out.clear();
    return ok;
}

std::int64_t LineFile::Size() const
{
    if (m_inMemory)
        return static_cast<std::int64_t>(m_writing ? m_memoryOut->size() + m_out.size() : m_memory.size());
    if (m_fd < 0)
        return -1;
    if (m_writing)
        return m_written + static_cast<std::int64_t>(m_out.size());
    return m_openSize;
}

bool LineFile::FinishWriting(bool syncing)
{
    bool ok = FlushWrites();
    if (ok && syncing && (InjectedFault("sync") || ::fsync(m_fd) != 0)) {
        m_error = SystemReason(errno);
        ok = false;
    }
    if (::close(m_fd) != 0 && ok) {
        m_error = SystemReason(errno);
        ok = false;
    }
    m_fd = -1;
    return ok;
}

void LineFile::ReportSaveFailure()
{
    if (m_reporter)
        m_reporter->Report(MsgCannotSaveFile, {m_path, m_error});
}

bool LineFile::Close()
{
    if (m_inMemory) {
        if (m_writing)
            FlushWrites();
        Reset();
        return true;
    }
    if (m_fd < 0)
        return true;
    if (!m_writing) {
        ::close(m_fd);
        Reset();
        return true;
    }
    bool ok = FinishWriting();
    if (ok && (InjectedFault("rename") || std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)) {
        m_error = SystemReason(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(m_tempPath.c_str());
        ReportSaveFailure();
    }
    Reset();
    return ok;
}

bool LineFile::CloseKeepingTemporary(std::string& temporaryPath, bool syncing)
{
    temporaryPath.clear();
    if (m_fd < 0 || !m_writing)
        return false;
    const bool ok = FinishWriting(syncing);
    if (ok) {
        temporaryPath = m_tempPath;
    } else {
        ::unlink(m_tempPath.c_str());
        ReportSaveFailure();
    }
    Reset();
    return ok;
}

void LineFile::Discard()
{
    if (m_inMemory) {
        Reset();
        return;
    }
    if (m_fd < 0)
        return;
    m_out.clear();
    ::close(m_fd);
    if (m_writing)
        ::unlink(m_tempPath.c_str());
    Reset();
}

bool ReadToTheEnd(const LineFile& file, const std::string& path, MessageReporter* reporter)
{
    if (!file.Failed())
        return true;
    if (reporter)
        reporter->Report(MsgErrorReadingFile, {path, file.ErrorText()});
    return false;
}
