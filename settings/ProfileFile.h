#pragma once

#include <string>
#include <string_view>

/// The settings file in the sectioned "key=value" format, read and written
/// value by value like the Windows private-profile calls: section and key
/// names compare without regard to case, a missing file, section or key
/// gives the default text, values are cut at 1023 bytes, and a write
/// rewrites the file keeping every other line as it was. Nothing is cached:
/// every read sees what the last write left.
class ProfileFile
{
public:
    explicit ProfileFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    /// The value of the key, or the default text when the file, the section
    /// or the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultText) const;
    /// The value read with a decimal conversion like atoi (0 when unparsable).
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    bool HasKey(std::string_view section, std::string_view key) const;

    /// Sets the value, adding the key (and the section) when missing.
    /// False when the file cannot be written; the caller may ignore it.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    bool WriteInt(std::string_view section, std::string_view key, int value) const;
    /// Removes the key; true when the file no longer holds it.
    bool DeleteKey(std::string_view section, std::string_view key) const;

    bool Exists() const;

    /// Longest value a read returns.
    static constexpr std::size_t kMaxValue = 1023;

    // The same rules on the text of a settings file, for both directions.
    static std::string ReadFromText(std::string_view text, std::string_view section, std::string_view key,
                                    std::string_view defaultText);
    /// The text with the key set to the value (value null: removed).
    static std::string RewriteText(std::string_view text, std::string_view section, std::string_view key,
                                   const std::string* value);

private:
    bool Rewrite(std::string_view section, std::string_view key, const std::string* value) const;

    std::string m_path;
};

/// The decimal conversion of settings values: optional blanks and sign,
/// then digits; anything else ends the number (atoi).
int ParseSettingInt(std::string_view text);
