#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

// The text of an XLIFF or TMX segment. XML 1.0 holds no control character
// but the tab and the line feed (and a carriage return does not read back):
// every other one is written as an inline element, <ph ctype="x-lingorel-char">
// holding its octal escape as a script writes it ("\001"), which the
// translators' tools keep as a code they must not change.

/// Appends the text to the element, its control characters as such
/// elements.
void AppendInlineText(pugi::xml_node element, std::string_view text);
/// The text of an element: its own characters, the control characters its
/// inline elements stand for, and the text of any other inline element
/// (<g>, <mrk>, another tool's <ph>).
std::string InlineTextOf(pugi::xml_node node);

/// Writes the document whole (UTF-8, indented) or not at all.
bool SaveXmlFile(const pugi::xml_document& document, const std::string& path, std::string& error);
/// Reads an XML file whose root element is root; its blanks between
/// elements are kept. False with the reason (what: "an XLIFF file"), when
/// it cannot be read or has another root.
bool LoadXmlFile(const std::string& path, const char* root, const char* what, pugi::xml_document& document,
                 std::string& error);
