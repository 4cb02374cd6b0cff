#pragma once

#include "exchange/TranslationCheck.h"
#include "preview/model/PreviewDialogInfo.h"

#include <QFont>
#include <QRect>
#include <QString>

/// Whether the preview frames the control's text at all: a visible text,
/// static, group box, button, check box or radio button with a text.
bool HasFramedText(const PreviewControl& control);

/// Whether the text needs more room than the control's rectangle (pixels)
/// gives: the text measured with word wrap in the window's font, plus the
/// room the control itself takes (a group box's line, a button's edges, a
/// check box's box).
bool TextTooLarge(const PreviewControl& control, const QRect& pixels, const QFont& windowFont,
                  const QString& text);

/// The preview's measure for the checks of translations: the dialog laid
/// out in the preview's template font, without any window. The translated
/// texts are in the given code page (by default the open dictionary's).
class PreviewFitMeasure : public FitMeasure
{
public:
    PreviewFitMeasure();
    explicit PreviewFitMeasure(int translationsCodePage);
    std::vector<int> TooLarge(const PreviewDialogInfo& translated) override;

private:
    int m_codePage;
};
