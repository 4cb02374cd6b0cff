#pragma once

#include <iosfwd>

// The help, the manual page and the shell completion of lorvo-cli, all made
// from the one table of commands and options, so they never disagree.

void PrintOverview(std::ostream& out);
/// The manual page lorvo-cli(1), in roff.
void PrintManPage(std::ostream& out, const char* version);
/// A bash completion script for the commands and their options.
void PrintBashCompletion(std::ostream& out);
