#include "exchange/ExchangeFiles.h"

#include "dictionary/Feedback.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"

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
        error = target.ErrorText().empty() ? reporter.reason : target.ErrorText();
        return false;
    }
    return true;
}

std::string ResourceKindName(int kind)
{
    switch (kind) {
    case 3:
        return "String table";
    case 4:
        return "Menu";
    case 5:
        return "Dialog";
    default:
        return {};
    }
}
