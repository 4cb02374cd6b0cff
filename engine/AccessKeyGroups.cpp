#include "engine/AccessKeyGroups.h"

namespace {

std::string_view FirstWord(std::string_view line)
{
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

} // namespace

int AccessKeyGroups::OfText(std::string_view line, const std::string& resource)
{
    if (resource != m_resource) {
        m_resource = resource;
        m_open.clear();
        m_resourceGroup = ++m_last;
        m_pending = 0;
    }
    const int group = m_open.empty() ? m_resourceGroup : m_open.back();
    if (FirstWord(line) == "POPUP")
        m_pending = ++m_last;
    return group;
}

void AccessKeyGroups::OfOtherLine(std::string_view line)
{
    const std::string_view word = FirstWord(line);
    if (word == "BEGIN" || word == "{") {
        m_open.push_back(m_pending ? m_pending : m_open.empty() ? m_resourceGroup : ++m_last);
        m_pending = 0;
    } else if ((word == "END" || word == "}") && !m_open.empty()) {
        m_open.pop_back();
    }
}
