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

} // namespace

LineFile::~LineFile()
{
    Close();
}

void LineFile::Reset()
{
    m_out.clear();
    m_file = nullptr;
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
    m_identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true};
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        m_error = SystemReason(errno);
        ::close(fd);
        return false;
    }
    m_file = f;
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
    struct stat st
    {
    };
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (path.empty() || (exists && S_ISDIR(st.st_mode)))
        m_error = SystemReason(EISDIR);
    else
        CanReplace(path, &m_error);
    std::string temp;
    const int fd = m_error.empty() ? CreateTemporaryFile(path, temp) : -1;
    if (fd < 0 && m_error.empty())
        m_error = SystemReason(errno);
    std::FILE* f = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!f) {
        if (fd >= 0) {
            m_error = SystemReason(errno);
            ::close(fd);
            ::unlink(temp.c_str());
        }
        if (reporter)
            reporter->Report(MsgCannotSaveFile, {path, m_error});
        return false;
    }
    GiveTargetsMode(fd, path);
    m_file = f;
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
        got = room == 0 ? 0 : std::fread(m_buffer.data() + m_len, 1, room, m_file);
        if (m_rangeLeft >= 0)
            m_rangeLeft -= static_cast<std::int64_t>(got);
    }
    if (got == 0) {
        m_eof = true;
        if (!m_inMemory && std::ferror(m_file)) {
            m_readFailed = true;
            m_error = SystemReason(errno);
        }
        return false;
    }
    m_len += got;
    return true;
}

std::int64_t LineFile::ReadStart(char* data, std::size_t size)
{
    if (!m_file || m_writing)
        return -1;
    std::rewind(m_file);
    const std::size_t got = std::fread(data, 1, size, m_file);
    if (std::ferror(m_file)) {
        m_readFailed = true;
        m_error = SystemReason(errno);
        return -1;
    }
    return static_cast<std::int64_t>(got);
}

bool LineFile::ReadAll(std::string& bytes)
{
    bytes.clear();
    if (!m_file || m_writing)
        return false;
    std::rewind(m_file);
    // Read at once into a buffer of the file's size; a file that grows
    // meanwhile is read on to its end.
    const std::int64_t size = Size();
    if (size > static_cast<std::int64_t>(kMaxLine)) {
        m_readFailed = true;
        m_error = "the file is larger than " + std::to_string(kMaxLine >> 20) + " MB";
        return false;
    }
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), m_file));
    }
    char block[65536];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, m_file);
        bytes.append(block, got);
        if (bytes.size() > kMaxLine) {
            m_readFailed = true;
            m_error = "the file is larger than " + std::to_string(kMaxLine >> 20) + " MB";
            bytes.clear();
            return false;
        }
        if (got < sizeof block)
            break;
    }
    if (std::ferror(m_file)) {
        m_readFailed = true;
        m_error = SystemReason(errno);
        bytes.clear();
        return false;
    }
    return true;
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
        std::clearerr(m_file);
        if (::fseeko(m_file, m_rangeFrom, SEEK_SET) != 0)
            return -1;
        m_rangeLeft = m_rangeSize;
    }
    m_pos = m_len = 0;
    m_eof = false;
    return ReadLine(line);
}

bool LineFile::SetReadRange(std::int64_t from, std::int64_t to)
{
    if (!m_file || m_writing || from < 0 || to < from || ::fseeko(m_file, from, SEEK_SET) != 0)
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
        const void* nl = std::memchr(m_buffer.data() + scanFrom, '\n', m_len - scanFrom);
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
    if (size != 0 && !m_writeFailed &&
        (InjectedFault("write") || std::fwrite(data, 1, size, m_file) != size)) {
        m_writeFailed = true;
        m_error = SystemReason(errno);
    }
    return !m_writeFailed;
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
    if (!m_file)
        return -1;
    if (m_writing) {
        const long pos = std::ftell(m_file);
        return pos < 0 ? -1 : pos + static_cast<std::int64_t>(m_out.size());
    }
    struct stat st
    {
    };
    if (fstat(fileno(m_file), &st) != 0)
        return -1;
    return st.st_size;
}

bool LineFile::FinishWriting(bool syncing)
{
    bool ok = FlushWrites();
    if (ok &&
        (std::fflush(m_file) != 0 || (syncing && (InjectedFault("sync") || ::fsync(fileno(m_file)) != 0)))) {
        m_error = SystemReason(errno);
        ok = false;
    }
    if (std::fclose(m_file) != 0 && ok) {
        m_error = SystemReason(errno);
        ok = false;
    }
    m_file = nullptr;
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
    if (!m_file)
        return true;
    if (!m_writing) {
        std::fclose(m_file);
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
    if (!m_file || !m_writing)
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
    if (!m_file)
        return;
    m_out.clear();
    std::fclose(m_file);
    if (m_writing)
        ::unlink(m_tempPath.c_str());
    Reset();
}
