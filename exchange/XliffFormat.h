#pragma once

#include <string>

struct ExchangeDocument;

/// An XLIFF 1.2 file.
bool WriteXliffFile(const ExchangeDocument& exchange, const std::string& path, std::string& error);
bool ReadXliffFile(const std::string& path, ExchangeDocument& exchange, std::string& error);
