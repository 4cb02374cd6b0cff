#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Follows the BEGIN/END blocks of the resources, line by line as an
/// extraction reads them, so that the texts that share access keys get one
/// group: a pop-up's items, a menu bar's titles, the controls of a dialog.
class AccessKeyGroups
{
public:
    /// The group of the text on this line of the named resource.
    int OfText(std::string_view line, const std::string& resource);
    /// Any other line of the script.
    void OfOtherLine(std::string_view line);

private:
    std::string m_resource;
    std::vector<int> m_open;
    int m_resourceGroup = 0;
    int m_pending = 0;
    int m_last = 0;
};
