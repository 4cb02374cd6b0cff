#pragma once

#include "cli/CliCommand.h"

#include <vector>

/// Every command of lorvo-cli, in the order its help lists them.
const std::vector<CliCommand>& CliCommands();
