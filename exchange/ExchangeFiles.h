#pragma once

#include <string>
#include <string_view>

// What the readers and writers of the exchange formats share: how a file is
// written, and the words their comments use.

/// Writes the bytes as every file of the program is written: whole or not
/// at all, with the permissions of the file replaced. error receives the
/// system's reason of a failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

/// What a comment says about a text not to translate (PO), kept word for
/// word so that it reads back.
inline constexpr const char* kDoNotTranslateComment = "do not translate";
/// What a translator comment says about a resource's own translation that
/// equals the general one.
inline constexpr const char* kInContextComment = "in context";

/// The name of a resource's kind as translators read it ("Dialog", "Menu",
/// "String table"); empty for an unknown kind.
std::string ResourceKindName(int kind);
