#pragma once

#include "cli/CliCommand.h"

#include <vector>

/// memory (add, remove, find, stats) and pretranslate.
std::vector<CliCommand> MemoryCommands();
