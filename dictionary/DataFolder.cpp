#include "dictionary/DataFolder.h"

#include <cstdlib>

std::string UserDataFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data)
        return std::string(data) + "/lingorel";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/share/lingorel";
    return {};
}
