#include "dictionary/LineFile.h"

#include "dictionary/Feedback.h"
#include "dictionary/Messages.h"

#include <cstring>
#include <filesystem>
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
    m_writing = false;
    m_writeFailed = false;
    m_tempPath.clear();
    m_pos = m_len = 0;
    m_eof = false;
    m_lastEnd = LineEnd::None;
}

bool LineFile::OpenForReading(const std::string& path)
{
    Close();
    m_path = path;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    struct stat st
    {
    };
    if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(f);
        return false;
    }
    m_file = f;
    m_buffer.resize(kReadBlock);
    return true;
}

bool LineFile::OpenForWriting(const std::string& path, MessageReporter* reporter)
{
    Close();
    m_path = path;
    m_reporter = reporter;
    std::string temp = path + ".XXXXXX";
    if (path.empty() || std::filesystem::is_directory(path)) {
        if (reporter)
            reporter->Report(MsgCannotSaveFile, {path});
        return false;
    }
    const int fd = mkstemp(temp.data());
    std::FILE* f = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!f) {
        if (fd >= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
        }
        if (reporter)
            reporter->Report(MsgCannotSaveFile, {path});
        return false;
    }
    // Give the new file the permissions the old one had, or the usual ones
    // of a new file, instead of the private mode of a temporary file.
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
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
    if (m_len == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);
    const std::size_t got = std::fread(m_buffer.data() + m_len, 1, m_buffer.size() - m_len, m_file);
    if (got == 0) {
        m_eof = true;
        return false;
    }
    m_len += got;
    return true;
}

std::int64_t LineFile::ReadFirstLine(std::string& line)
{
    line.clear();
    if (!m_file || m_writing)
        return -1;
    std::rewind(m_file);
    m_pos = m_len = 0;
    m_eof = false;
    return ReadLine(line);
}

std::int64_t LineFile::ReadLine(std::string& line)
{
    line.clear();
    if (!m_file || m_writing)
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
        if (!Fill()) {
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
    if (!m_file || !m_writing)
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
    if (!m_file || !m_writing)
        return -1;
    m_out.append(data, size);
    if (m_out.size() >= kReadBlock && !FlushWrites())
        return -1;
    return m_writeFailed ? -1 : 0;
}

bool LineFile::FlushWrites()
{
    if (!m_out.empty() && std::fwrite(m_out.data(), 1, m_out.size(), m_file) != m_out.size())
        m_writeFailed = true;
    m_out.clear();
    return !m_writeFailed;
}

std::int64_t LineFile::Size() const
{
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

bool LineFile::Close()
{
    if (!m_file)
        return true;
    if (!m_writing) {
        std::fclose(m_file);
        Reset();
        return true;
    }
    bool ok = FlushWrites() && std::fflush(m_file) == 0 && ::fsync(fileno(m_file)) == 0;
    ok = (std::fclose(m_file) == 0) && ok;
    if (ok)
        ok = std::rename(m_tempPath.c_str(), m_path.c_str()) == 0;
    if (!ok) {
        ::unlink(m_tempPath.c_str());
        if (m_reporter)
            m_reporter->Report(MsgCannotSaveFile, {m_path});
    }
    Reset();
    return ok;
}

void LineFile::Discard()
{
    if (!m_file)
        return;
    m_out.clear();
    std::fclose(m_file);
    if (m_writing)
        ::unlink(m_tempPath.c_str());
    Reset();
}
