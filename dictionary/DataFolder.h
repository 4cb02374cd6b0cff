#pragma once

#include <string>

/// The folder of the user's own data (the sample, the translation memory,
/// the word list): $XDG_DATA_HOME/lingorel, else ~/.local/share/lingorel;
/// empty when neither variable is set.
std::string UserDataFolder();
