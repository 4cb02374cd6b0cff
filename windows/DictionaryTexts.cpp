#include "windows/DictionaryTexts.h"

#include "dictionary/Codec.h"
#include "dictionary/Messages.h"
#include "tessary/CRkMessageBox.h"

namespace {

const Codec& DisplayCodec()
{
    static const Codec codec;
    return codec;
}

} // namespace

QString ToDisplay(const std::string& bytes)
{
    return QString::fromStdString(DisplayCodec().ToUtf8(bytes));
}

bool FromDisplay(const QString& text, std::string& bytes, QWidget* parent)
{
    if (DisplayCodec().FromUtf8(text.toStdString(), bytes))
        return true;
    // Name the characters that cannot be stored.
    QString missing;
    for (const QChar c : text) {
        std::string one;
        if (!DisplayCodec().FromUtf8(QString(c).toStdString(), one) && !missing.contains(c))
            missing += c;
    }
    const std::string message =
        FormatMessage(MsgTextNotInCodePage, {missing.toStdString(), DisplayCodec().CodePage()});
    RkMessageBox(QString::fromStdString(message), 0x0030, -1, parent, nullptr, -1);
    return false;
}
