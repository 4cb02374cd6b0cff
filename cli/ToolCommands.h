#pragma once

#include "cli/CliCommand.h"

#include <vector>

/// The commands that search and move translations (find, import, export,
/// pseudo, the maintenance lists, sample).
std::vector<CliCommand> ToolCommands();
