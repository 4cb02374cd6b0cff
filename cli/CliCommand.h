#pragma once

#include "cli/CliArguments.h"

#include <cstddef>
#include <string>
#include <vector>

/// One command of lorvo-cli: how it is written, what it does, and what runs it.
struct CliCommand
{
    const char* name;
    const char* usage;                     // the line after "lorvo-cli "
    const char* summary;                   // one sentence
    std::vector<std::string> valueOptions; // options that take a value
    std::size_t minArgs;
    std::size_t maxArgs; // SIZE_MAX for any number
    int (*run)(const CliArguments&);
    std::vector<std::string> flagOptions = {}; // switches without a value
};
