#include "cli/CliArguments.h"

#include <algorithm>
#include <filesystem>

const std::string* CliArguments::Option(const std::string& name) const
{
    for (const auto& [key, value] : options) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

std::vector<std::string> CliArguments::Options(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [key, value] : options) {
        if (key == name)
            values.push_back(value);
    }
    return values;
}

bool CliArguments::Flag(const std::string& name) const
{
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::string Absolute(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    std::string out = absolute.lexically_normal().string();
    // Keep a trailing separator: it says the destination is a folder.
    if ((path.back() == '/') && out.back() != '/')
        out += '/';
    return out;
}

std::string Extension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}
