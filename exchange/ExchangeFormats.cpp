#include "exchange/ExchangeFormats.h"

#include "dictionary/TextRules.h"
#include "exchange/PoFormat.h"
#include "exchange/TmxFormat.h"
#include "exchange/XliffFormat.h"

std::optional<ExchangeFormat> ExchangeFormatOf(const std::string& path, const std::string* named)
{
    if (named) {
        const std::string name = AnsiLower(*named);
        if (name == "po")
            return ExchangeFormat::Po;
        if (name == "xliff" || name == "xlf")
            return ExchangeFormat::Xliff;
        if (name == "tmx")
            return ExchangeFormat::Tmx;
        return std::nullopt;
    }
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    const std::string extension = AnsiLower(path.substr(dot + 1));
    if (extension == "po" || extension == "pot")
        return ExchangeFormat::Po;
    if (extension == "xlf" || extension == "xliff")
        return ExchangeFormat::Xliff;
    if (extension == "tmx")
        return ExchangeFormat::Tmx;
    return std::nullopt;
}

bool ImportReplacesByDefault(std::optional<ExchangeFormat> format)
{
    return format == ExchangeFormat::Po || format == ExchangeFormat::Xliff;
}

bool WriteExchangeFile(const ExchangeDocument& exchange, ExchangeFormat format, const std::string& path,
                       std::string& error)
{
    switch (format) {
    case ExchangeFormat::Po:
        return WritePoFile(exchange, path, error);
    case ExchangeFormat::Xliff:
        return WriteXliffFile(exchange, path, error);
    case ExchangeFormat::Tmx:
        return WriteTmxFile(exchange, path, error);
    }
    return false;
}

bool ReadExchangeFile(const std::string& path, ExchangeFormat format, ExchangeDocument& exchange,
                      std::string& error)
{
    switch (format) {
    case ExchangeFormat::Po:
        return ReadPoFile(path, exchange, error);
    case ExchangeFormat::Xliff:
        return ReadXliffFile(path, exchange, error);
    case ExchangeFormat::Tmx:
        return ReadTmxFile(path, exchange, error);
    }
    return false;
}
