#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ExchangeDocument;

/// The file formats translation tools exchange.
enum class ExchangeFormat
{
    Po,   ///< gettext PO, UTF-8
    Xliff ///< XLIFF 1.2
};

/// The format a user names ("po", "xliff", "xlf") or, when none is named,
/// the one the file's extension says (.po, .pot, .xlf, .xliff); nothing
/// when neither tells.
std::optional<ExchangeFormat> ExchangeFormatOf(const std::string& path, const std::string* named = nullptr);

/// Writes the document in the format, whole or not at all (a temporary
/// file renamed over the target). error receives the reason of a failure.
bool WriteExchangeFile(const ExchangeDocument& exchange, ExchangeFormat format, const std::string& path,
                       std::string& error);
/// Reads a file of the format; texts come out in UTF-8 whatever the
/// file's own encoding. error receives the reason of a failure.
bool ReadExchangeFile(const std::string& path, ExchangeFormat format, ExchangeDocument& exchange,
                      std::string& error);

// One of each, by format.
bool WritePoFile(const ExchangeDocument& exchange, const std::string& path, std::string& error);
bool ReadPoFile(const std::string& path, ExchangeDocument& exchange, std::string& error);
bool WriteXliffFile(const ExchangeDocument& exchange, const std::string& path, std::string& error);
bool ReadXliffFile(const std::string& path, ExchangeDocument& exchange, std::string& error);

/// Writes the bytes as every file of the program is written: whole or not
/// at all, with the permissions of the file replaced. error receives the
/// system's reason of a failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

/// What a comment says about a text not to translate (PO), kept word for
/// word so that it reads back.
inline constexpr const char* kDoNotTranslateComment = "do not translate";
/// What a translator comment says about a resource's own translation that
/// equals the general one.
inline constexpr const char* kInContextComment = "in context";
