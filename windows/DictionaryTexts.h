#pragma once

#include <QString>

#include <string>

class QWidget;

// Texts of the dictionary are bytes: its originals in one encoding, its
// translations in another (both UTF-8 in a Unicode dictionary). The windows
// show and take them through the open dictionary's codecs.

/// An original (or a script's resource name) as shown.
QString ToDisplay(const std::string& bytes);
/// A translation as shown.
QString TranslationToDisplay(const std::string& bytes);
/// The bytes of a translation typed by the user; false (and a message
/// saying so) when a character has no place in the translations' encoding.
bool FromDisplay(const QString& text, std::string& bytes, QWidget* parent);
/// The same for an original (a text searched for in the originals).
bool OriginalFromDisplay(const QString& text, std::string& bytes, QWidget* parent);
