#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ExchangeDocument;

/// The file formats translation tools exchange.
enum class ExchangeFormat
{
    Po,    ///< gettext PO, UTF-8 (a template, POT, too)
    Xliff, ///< XLIFF 1.2
    Tmx    ///< TMX 1.4b, a translation memory
};

/// The format a user names ("po", "xliff", "xlf") or, when none is named,
/// the one the file's extension says (.po, .pot, .xlf, .xliff, .tmx); nothing
/// when neither tells.
std::optional<ExchangeFormat> ExchangeFormatOf(const std::string& path, const std::string* named = nullptr);

/// Whether an import of a file replaces translations the dictionary already
/// has when the user does not say: a PO or XLIFF file is a translator's
/// word on the texts it holds; a translation memory, another dictionary or
/// a text file only fills what has no translation yet.
bool ImportReplacesByDefault(std::optional<ExchangeFormat> format);

/// Writes the document in the format, whole or not at all (a temporary
/// file renamed over the target). error receives the reason of a failure.
bool WriteExchangeFile(const ExchangeDocument& exchange, ExchangeFormat format, const std::string& path,
                       std::string& error);
/// Reads a file of the format; texts come out in UTF-8 whatever the
/// file's own encoding. error receives the reason of a failure.
bool ReadExchangeFile(const std::string& path, ExchangeFormat format, ExchangeDocument& exchange,
                      std::string& error);
