#include "preview/PreviewFit.h"

#include "dictionary/Codec.h"
#include "preview/PreviewFonts.h"

#include <QFontMetrics>

namespace {

constexpr std::uint32_t kVisible = 0x10000000;

} // namespace

bool HasFramedText(const PreviewControl& control)
{
    switch (control.kind) {
    case PreviewControlKind::Text:
    case PreviewControlKind::Static:
    case PreviewControlKind::Frame:
    case PreviewControlKind::PushButton:
    case PreviewControlKind::DefPushButton:
    case PreviewControlKind::CheckBox:
    case PreviewControlKind::RadioButton:
        return (control.style & kVisible) && !control.text.empty();
    default:
        return false;
    }
}

bool TextTooLarge(const PreviewControl& control, const QRect& pixels, const QFont& windowFont,
                  const QString& text)
{
    const QFontMetrics metrics(FontForText(windowFont, text));
    QString shown = text;
    const QRect needed = metrics.boundingRect(QRect(0, 0, pixels.width(), pixels.height()), Qt::TextWordWrap,
                                              shown.remove(QLatin1Char('&')));
    int width = needed.width();
    int height = needed.height();
    switch (control.kind) {
    case PreviewControlKind::Frame:
        width += 13;
        break;
    case PreviewControlKind::PushButton:
        width += 8;
        height += 1;
        break;
    case PreviewControlKind::DefPushButton:
        width += 10;
        height += 3;
        break;
    case PreviewControlKind::CheckBox:
    case PreviewControlKind::RadioButton:
        width += 17;
        break;
    default:
        break;
    }
    return pixels.width() < width || pixels.height() < height;
}

PreviewFitMeasure::PreviewFitMeasure() : PreviewFitMeasure(OpenTranslationsCodePage()) {}

PreviewFitMeasure::PreviewFitMeasure(int translationsCodePage) : m_codePage(translationsCodePage) {}

std::vector<int> PreviewFitMeasure::TooLarge(const PreviewDialogInfo& translated)
{
    RegisterPreviewFonts();
    const QFont font = TemplateFont();
    const QSize base = BaseUnits(font);
    const Codec& codec = Codec::Cached(m_codePage);
    std::vector<int> tooLarge;
    for (const auto& control : translated.controls) {
        if (!HasFramedText(*control) || !control->translated)
            continue;
        const QString text = QString::fromStdString(codec.ToUtf8(control->displayText));
        if (TextTooLarge(*control, MapDialogRect(control->rect, base), font, text))
            tooLarge.push_back(control->index);
    }
    return tooLarge;
}
