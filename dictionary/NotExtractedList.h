#pragma once

#include "dictionary/OrderedMap.h"

#include <cstdint>
#include <string>
#include <string_view>

class LineFile;
class MessageReporter;

/// Resources that extraction skips, by resource key: source path, "+",
/// resource name, "+", kind number. Stored in the ".nir" file.
///
/// The path part of a key is compared without regard to case (the same
/// script may be named with different case by a dictionary made on
/// Windows); the resource name is compared exactly.
class NotExtractedList
{
public:
    const std::string& FilePath() const { return m_path; }
    void SetFilePath(std::string path) { m_path = std::move(path); }

    bool Contains(std::string_view key) const;
    /// Adds the key if absent and marks its script as touched.
    void Add(std::string_view key);
    /// Removes the key; marks its script as touched when it was present.
    bool Remove(std::string_view key);
    int Count() const { return static_cast<int>(m_keys.Size()); }
    /// Keys as they were added, in their order.
    const OrderedMap<std::string>& Keys() const { return m_keys; }

    /// Whether entries of the script were added or removed since its last
    /// extraction.
    bool IsTouched(std::string_view source) const;
    void ForgetTouched(std::string_view source);

    /// A missing file reads as an empty list. A file that cannot be read or
    /// has a wrong header is reported and leaves the list unchanged (false).
    bool Load(MessageReporter* reporter = nullptr);
    /// Reads the list from a file open for reading (a file or bytes in
    /// memory), header first.
    bool Read(LineFile& file, MessageReporter* reporter = nullptr);
    bool Save(MessageReporter* reporter = nullptr) const;
    /// The first line of the last file read that is not a whole record (a
    /// key between quotes); 0 when there is none.
    std::int64_t DamagedLine() const { return m_damagedLine; }
    void Write(LineFile& file) const;

    /// Builds the key of a resource.
    static std::string MakeKey(std::string_view source, std::string_view resourceName, int kind);
    /// The parts of a key; false when it has not all three. The kind is the
    /// number after the last "+" (0 when it is not one).
    static bool SplitKey(std::string_view key, std::string& source, std::string& resourceName, int& kind);

private:
    static std::string Normalise(std::string_view key);

    std::string m_path;
    OrderedMap<std::string> m_keys; // normalised key -> key as given
    OrderedMap<char> m_touched;     // lower-cased source paths
    std::int64_t m_damagedLine = 0;
};
