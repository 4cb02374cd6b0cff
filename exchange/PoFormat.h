#pragma once

#include <string>

struct ExchangeDocument;

/// A gettext PO file, written and read by gettext's own library (UTF-8).
bool WritePoFile(const ExchangeDocument& exchange, const std::string& path, std::string& error);
bool ReadPoFile(const std::string& path, ExchangeDocument& exchange, std::string& error);
