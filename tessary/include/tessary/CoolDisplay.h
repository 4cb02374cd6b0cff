#pragma once

#include "tessary/TessaryExport.h"

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;
class QStyle;
class QWidget;

// The textured look shared by every dialog, page and sheet: backgrounds
// tiled from a texture, owner-drawn buttons on a darker texture, group boxes
// drawn by hand, a light-yellow help banner.

/// Process-wide display settings, slots numbered from 1. Slots 1 to 5 read
/// 1 until set; slot 6 holds the message box's suppressed categories.
enum CoolSlot : short
{
    SlotPaintedTitle = 2,
    SlotTextures = 3,
    SlotSuppressed = 6
};
TESSARY_EXPORT void SetGetCoolDisplay(bool get, int& value, short slot);
TESSARY_EXPORT bool TexturesOn();

/// The texture of that name ("Background" finds "BACKGROUND"); null when
/// there is none.
TESSARY_EXPORT QPixmap LoadCoolBitmap(const QString& name);

/// Tiles the texture over the rectangle (the widget's whole area when none
/// is given), from its top-left corner. Nothing is painted with textures
/// off or on a display of fewer than 5 bits per pixel.
TESSARY_EXPORT void DlgPaint(QPainter& painter, QWidget* widget, int mode, const QString& bitmap,
                             const QRect* rect = nullptr);

/// Adapts the children of the widget to the texture setting: push buttons
/// and group boxes get the textured style when textures are on and the
/// platform's when off; combo boxes, lists and other complex controls are
/// left alone. Labels whose text is "_NAME" show the picture of that name.
TESSARY_EXPORT void RkModifyDialog(QWidget* widget);

/// Frame states of RkDrawItem.
enum class CoolItemState
{
    Normal = 1,
    Pressed = 2,
    Focused = 3
};

/// Paints a textured push button or tab: the texture, a two-line 3D frame
/// (white and dark shadow, swapped when pressed) and the centred text.
/// A button's "BACKGROUND" becomes the program's button texture.
TESSARY_EXPORT void RkDrawItem(QPainter& painter, QRect rect, CoolItemState state, const QString& text,
                               QString bitmap, bool enabled = true, bool isTab = false,
                               const QPixmap& icon = QPixmap());

/// Style flags of RkDrawText.
enum : std::uint32_t
{
    RkTextButton = 0x0000000B,
    RkTextBold = 0x80000000
};
/// Draws a single line of text transparently at (x, y), in a width × height
/// rectangle when those are not -1 (the text's own size otherwise);
/// centred for buttons, bold in the given colour for RkTextBold (123456
/// meaning white), engraved when disabled. Returns the text's width.
TESSARY_EXPORT int RkDrawText(QPainter& painter, const QString& text, int x, int y, std::uint32_t style,
                              int width, int height, std::uint32_t colour, bool enabled = true);

/// With textures on, a white line along the top edge of a property page
/// and a 3-pixel line of the button face two pixels below.
TESSARY_EXPORT void SpecialPaintForPropertyPage(QPainter& painter, QWidget* page);

/// The style given to buttons and group boxes while textures are on.
TESSARY_EXPORT QStyle* CoolStyle();

/// 0..240: ((max + min) × 240 + 255) / 510 of the colour's channels.
TESSARY_EXPORT int GetLuminosity(std::uint32_t colorRef);
/// A COLORREF (red in the low byte) as a colour, and back.
TESSARY_EXPORT QColor FromColorRef(std::uint32_t colorRef);
TESSARY_EXPORT std::uint32_t ToColorRef(const QColor& colour);

/// The colours of a painted title bar, pixel column by column: the right
/// sixth in the caption colour, the left five sixths fading to black in
/// strips of max(1, d / 80), each channel c × (1 − g² / d²) at distance g.
TESSARY_EXPORT std::vector<QColor> CaptionGradient(const QColor& caption, int width);
/// The title text colour on that caption: white when its luminosity is
/// below 90.
TESSARY_EXPORT QColor CaptionTextColour(const QColor& caption, const QColor& captionText);
