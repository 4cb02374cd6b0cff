#include "windows/DictionaryTexts.h"

#include "dictionary/Codec.h"
#include "dictionary/Messages.h"
#include "tessary/CRkMessageBox.h"

namespace {

bool Encode(const Codec& codec, const QString& text, std::string& bytes, QWidget* parent)
{
    if (codec.FromUtf8(text.toStdString(), bytes))
        return true;
    // Name the characters that cannot be stored.
    QString missing;
    for (const QChar c : text) {
        std::string one;
        if (!codec.FromUtf8(QString(c).toStdString(), one) && !missing.contains(c))
            missing += c;
    }
    const std::string message =
        FormatMessage(MsgTextNotInCodePage, {missing.toStdString(), codec.CodePage()});
    RkMessageBox(QString::fromStdString(message), 0x0030, -1, parent, nullptr, -1);
    return false;
}

} // namespace

QString ToDisplay(const std::string& bytes)
{
    return QString::fromStdString(Codec::Cached(OpenOriginalsCodePage()).ToUtf8(bytes));
}

QString TranslationToDisplay(const std::string& bytes)
{
    return QString::fromStdString(Codec::Cached(OpenTranslationsCodePage()).ToUtf8(bytes));
}

bool FromDisplay(const QString& text, std::string& bytes, QWidget* parent)
{
    return Encode(Codec::Cached(OpenTranslationsCodePage()), text, bytes, parent);
}

bool OriginalFromDisplay(const QString& text, std::string& bytes, QWidget* parent)
{
    return Encode(Codec::Cached(OpenOriginalsCodePage()), text, bytes, parent);
}
