#pragma once

#include "dictionary/FileSystem.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class MessageReporter;

/// Line-oriented 8-bit text file shared by scripts and dictionary files.
///
/// Reading: lines may end in CR LF or in LF; the line end never reaches the
/// caller's text, but the kind of the last line end read is remembered so
/// that a copy can reproduce it. Lines are returned whole, whatever their
/// length.
///
/// Writing: the new content goes to a temporary file beside the target, and
/// only a complete, flushed file replaces the target when the file is closed.
/// The previous file survives any failure.
class LineFile
{
public:
    enum class LineEnd : std::uint8_t
    {
        None,
        Lf,
        CrLf
    };

    LineFile() = default;
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    /// Opens a regular file for reading; a failure is silent (ErrorText
    /// says why). A FIFO or a device is never opened, so nothing blocks.
    bool OpenForReading(const std::string& path);
    /// Opens for writing; a failure shows "Cannot save the file %s" with
    /// the system's reason. A file the user may not write is not replaced.
    bool OpenForWriting(const std::string& path, MessageReporter* reporter);

    /// Reads lines from bytes in memory instead of a file (the bytes must
    /// outlive the reading).
    void OpenMemory(std::string_view bytes);
    /// Writes into a string instead of a file; closing completes it.
    void OpenMemoryForWriting(std::string* out);

    bool IsOpen() const { return m_fd >= 0 || m_inMemory; }
    bool IsWriting() const { return m_writing; }
    const std::string& Path() const { return m_path; }

    /// Limits the reading of a file opened for reading to the bytes
    /// [from, to): lines are read from `from` on (ReadFirstLine goes back
    /// there), and the file seems to end at `to`. False when the file cannot
    /// be positioned there.
    bool SetReadRange(std::int64_t from, std::int64_t to);

    /// Rewinds and reads the first line. Returns its length, or -1 when the
    /// file is not open or has no line at all.
    std::int64_t ReadFirstLine(std::string& line);
    /// Reads the next line; returns its length, -1 at the end of the file.
    std::int64_t ReadLine(std::string& line);
    /// Reads every byte of a file opened for reading (from its start, the
    /// lines read staying where they were); false (ErrorText says why) on a
    /// read error or a file larger than kMaxLine.
    bool ReadAll(std::string& bytes);
    /// Reads up to size bytes from the start of a file opened for reading
    /// into data, the lines read staying where they were; how many were
    /// read, or -1 on a read error (ErrorText).
    std::int64_t ReadStart(char* data, std::size_t size);
    /// How the line last read ended (None for a last line without newline).
    LineEnd LastLineEnd() const { return m_lastEnd; }

    /// Writes the line followed by the given line end; -1 when not open.
    int WriteLine(const std::string& line, LineEnd end = LineEnd::CrLf);
    /// Writes bytes as they are.
    int WriteRaw(const char* data, std::size_t size);
    /// Writes the pieces one after the other, as one line made of parts.
    int WriteRaw(std::initializer_list<std::string_view> pieces);

    /// The file opened for reading (unknown for bytes in memory).
    const FileIdentity& Identity() const { return m_identity; }

    /// Length of the file in bytes (-1 when not open): when it was opened
    /// for reading, or written so far.
    std::int64_t Size() const;

    /// Closes the file. For writing, this is when the new content replaces
    /// the target; returns false (and reports "Cannot save the file %s") when
    /// that fails, leaving the old file in place.
    bool Close();
    /// Closes a file opened for writing without replacing the target.
    void Discard();
    /// Completes a file opened for writing (written, flushed to the disk)
    /// but leaves it under its temporary name for the caller to put in
    /// place; false (reported) when it could not be completed. Without
    /// syncing, the file is handed to the system only: the caller makes it
    /// durable (with others at once) before putting it in place.
    bool CloseKeepingTemporary(std::string& temporaryPath, bool syncing = true);

    /// Whether reading stopped early: a read error, or a line longer than
    /// any real script holds (kMaxLine). The lines read so far are valid.
    bool Failed() const { return !m_error.empty() && m_readFailed; }
    /// Why the last open, read or write failed.
    const std::string& ErrorText() const { return m_error; }

    /// The longest line read; a longer one ends the reading as a failure.
    static constexpr std::size_t kMaxLine = std::size_t(64) << 20;

private:
    bool Fill();
    void Reset();

    int m_fd = -1;
    std::int64_t m_openSize = 0; // of a file read, when it was opened
    std::int64_t m_written = 0;  // to a file written, not counting m_out
    FileIdentity m_identity;
    std::string m_path;
    std::string m_tempPath;
    MessageReporter* m_reporter = nullptr;
    bool m_writing = false;
    bool m_writeFailed = false;
    bool m_readFailed = false;
    std::string m_error;
    LineEnd m_lastEnd = LineEnd::None;

    bool FlushWrites();
    bool WriteOut(const char* data, std::size_t size);
    /// Flushes and closes the temporary file; false when that failed.
    bool FinishWriting(bool syncing = true);
    void ReportSaveFailure();

    // Write buffer, handed to the file in large blocks.
    std::string m_out;

    // Memory instead of a file: the bytes read, or the string written.
    bool m_inMemory = false;
    std::string_view m_memory;
    std::size_t m_memoryPos = 0;
    std::string* m_memoryOut = nullptr;

    // Read buffer: bytes [m_pos, m_len) are not consumed yet.
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_eof = false;
    // The part of the file being read: from m_rangeFrom, m_rangeLeft bytes
    // not read yet (negative: to the end of the file).
    std::int64_t m_rangeFrom = 0;
    std::int64_t m_rangeSize = -1;
    std::int64_t m_rangeLeft = -1;
};

/// Writes a store (anything with Write(LineFile&)) whole into its file: the
/// old file stays until the new one is complete.
template <class Store>
bool SaveStore(const std::string& path, const Store& store, MessageReporter* reporter)
{
    LineFile file;
    if (!file.OpenForWriting(path, reporter))
        return false;
    store.Write(file);
    return file.Close();
}

/// After a store read its file: false, and reported, when the read stopped
/// early (a read error, a line no dictionary holds) and loaded part of it.
bool ReadToTheEnd(const LineFile& file, const std::string& path, MessageReporter* reporter);
