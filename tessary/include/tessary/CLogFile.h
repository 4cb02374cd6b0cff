#pragma once

#include "tessary/TessaryExport.h"

#include <QString>

#include <cstdint>

/// The program's append-only diagnostic log. Lines carry the local time;
/// a file that reached 300,001 bytes starts again with a line saying so.
class TESSARY_EXPORT CLogFile
{
public:
    static void SetFileName(const QString& path);
    static QString FileName();

    /// Writes "<dd/mm/yyyy (hh:mm:ss)> <label>." — or "<label> (duration=N ms)."
    /// when a duration other than 0xFFFFFFFF is given — when the categories
    /// share a bit with the condition mask. False when the file could not
    /// be written (reported once in a message box).
    static bool LogLine(const char* label, std::uint8_t categories, std::uint32_t duration);
    /// Opens a file (with condition bit 2) and logs whether it worked.
    static void TryFile(const char* path, bool forWriting);
    /// Writes, closes and removes "ess.tmp" in the folder and logs the outcome.
    static void TryDirectory(const char* folder);
    /// cause 3: bad path; 5: access denied; others: their number.
    static void LogFileException(const char* path, unsigned cause, std::uint8_t categories);
    /// Copies the settings file into the log (with condition bit 0).
    static void LogParameters();
    /// Appends an empty line.
    static void AddLineToLogFile();
    static void SetLogFileCondition(std::uint8_t mask);
    static std::uint8_t GetLogFileCondition();

    /// The line LogLine writes for a label at a given local time.
    static QString FormatLine(const QString& label, std::uint32_t duration, const QString& time);

    static constexpr std::int64_t kMaxSize = 300001;
};
