#include "exchange/ExchangeFormats.h"

#include "dictionary/Feedback.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"

namespace {

// Keeps the system's reason of a failed save.
class ReasonReporter : public MessageReporter
{
public:
    void Report(int messageId, const std::vector<std::string>& arguments) override
    {
        reason = arguments.size() > 1 ? arguments[1] : FormatMessage(messageId, arguments);
    }
    std::string reason = "the file could not be written";
};

} // namespace

std::optional<ExchangeFormat> ExchangeFormatOf(const std::string& path, const std::string* named)
{
    if (named) {
        const std::string name = AnsiLower(*named);
        if (name == "po")
            return ExchangeFormat::Po;
        if (name == "xliff" || name == "xlf")
            return ExchangeFormat::Xliff;
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
    return std::nullopt;
}

bool WriteExchangeFile(const ExchangeDocument& exchange, ExchangeFormat format, const std::string& path,
                       std::string& error)
{
    return format == ExchangeFormat::Po ? WritePoFile(exchange, path, error)
                                        : WriteXliffFile(exchange, path, error);
}

bool ReadExchangeFile(const std::string& path, ExchangeFormat format, ExchangeDocument& exchange,
                      std::string& error)
{
    return format == ExchangeFormat::Po ? ReadPoFile(path, exchange, error)
                                        : ReadXliffFile(path, exchange, error);
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error)
{
    LineFile target;
    ReasonReporter reporter;
    if (!target.OpenForWriting(path, &reporter)) {
        error = reporter.reason;
        return false;
    }
    target.WriteRaw(bytes.data(), bytes.size());
    if (!target.Close()) {
        error = reporter.reason;
        return false;
    }
    return true;
}
