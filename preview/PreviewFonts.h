#pragma once

#include "preview/model/PreviewDialogInfo.h"

#include <QFont>
#include <QRect>
#include <QSize>

struct FontDescription;

/// Registers the metric clones of "MS Sans Serif" and "Tahoma" (Debian's
/// fonts-wine) with the application, so that dialog units map to the same
/// pixels as on Windows. Returns whether "MS Sans Serif" is available.
bool RegisterPreviewFonts();

/// The font of the preview template and of the program's default texts:
/// "MS Sans Serif" 8 pt (11 pixels), or the system's sans font of that
/// size when the clone is missing.
QFont TemplateFont();

/// The font a text is drawn and measured in: the given one, unless the
/// text holds letters of scripts other than Latin (Greek, Cyrillic, ...),
/// which the Windows metric clones draw wrongly (accents dropped or put on
/// other letters): then the system's sans font of the same size and weight.
QFont FontForText(const QFont& font, const QString& text);

/// A font described in the settings, or the template font when the
/// description is missing or unreadable.
QFont FontFromDescription(const std::string& description);
std::string DescriptionOfFont(const QFont& font);

/// The dialog base units of a font: the average width of the 52 Latin
/// letters (rounded) and the text height.
QSize BaseUnits(const QFont& font);

/// A rectangle in dialog units in pixels: x · bx / 4, y · by / 8.
QRect MapDialogRect(const PreviewRect& rect, QSize baseUnits);
