#pragma once

#include <optional>
#include <string>

/// A font as the settings file stores it: "face;size;charset;bold;italic",
/// the size in tenths of a point.
struct FontDescription
{
    std::string face = "arial";
    int size = 100;
    int charset = 0;
    bool bold = false;
    bool italic = false;

    /// Nothing when the text is empty or not of that form.
    static std::optional<FontDescription> Parse(const std::string& text);
    std::string Format() const;
    /// Height in pixels at 96 dots per inch: size × 2 / 15.
    int PixelHeight() const { return size * 2 / 15; }
};
