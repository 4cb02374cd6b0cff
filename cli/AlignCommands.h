#pragma once

#include "cli/CliCommand.h"

#include <vector>

/// align and align-all: the translations of scripts translated by hand.
std::vector<CliCommand> AlignCommands();
