#pragma once

#include "cli/CliArguments.h"

enum class ExchangeFormat;

/// export and import of the files of translation tools.
int RunExchangeExport(const CliArguments& args, ExchangeFormat format);
int RunExchangeImport(const CliArguments& args, ExchangeFormat format);
/// The checks of the translated result.
int RunCheck(const CliArguments& args);
