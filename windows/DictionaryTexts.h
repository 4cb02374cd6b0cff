#pragma once

#include <QString>

#include <string>

class QWidget;

// Texts of the dictionary are bytes of its code page (Windows-1252); the
// windows show and take them through one codec.

QString ToDisplay(const std::string& bytes);
/// The bytes of a text typed by the user; false (and a message saying so)
/// when a character has no place in the code page.
bool FromDisplay(const QString& text, std::string& bytes, QWidget* parent);
