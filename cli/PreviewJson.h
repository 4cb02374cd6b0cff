#pragma once

#include <string>

class PreviewMenu;
struct PreviewDialogInfo;

// The description of a previewed resource as JSON, for `lorvo-cli show`.
// Texts are JSON strings in which each byte of the script stands as the
// code point of the same number, so every byte survives.

std::string JsonString(const std::string& bytes);
/// translated: texts are the translated display texts and each control
/// tells whether its text was translated.
std::string DialogJson(const PreviewDialogInfo& dialog, bool ended, bool translated);
std::string MenuJson(const PreviewMenu& menu, bool ended, bool translated);
