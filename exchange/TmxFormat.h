#pragma once

#include <string>

struct ExchangeDocument;

/// A TMX 1.4b translation memory: one unit per general text that has a
/// translation, in the document's source and target languages. Reading
/// takes, of each unit, the variant of the source language and the first
/// other one (that of the target language when the document names one).
bool WriteTmxFile(const ExchangeDocument& exchange, const std::string& path, std::string& error);
bool ReadTmxFile(const std::string& path, ExchangeDocument& exchange, std::string& error);
