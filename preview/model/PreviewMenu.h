#pragma once

#include <memory>
#include <string>
#include <vector>

struct PreviewPopup;

/// One entry of a menu bar or pop-up: an item, a separator or a pop-up.
struct PreviewMenuEntry
{
    enum class Type
    {
        Item,
        Separator,
        Popup
    };

    Type type = Type::Item;
    std::string text;        ///< script form
    std::string displayText; ///< as shown (translated in translated mode)
    int index = 0;           ///< items: the running control counter
    bool grayed = false;     ///< GRAYED (MFS_GRAYED, MFS_DISABLED): drawn disabled
    bool checked = false;    ///< CHECKED (MFS_CHECKED)
    std::unique_ptr<PreviewPopup> popup;
};

struct PreviewPopup
{
    std::string text;
    std::string displayText;
    std::vector<PreviewMenuEntry> entries;
};

/// A menu resource read from its script: the bar with its pop-ups and
/// items, in script order, built by AddPopup and AddItem at their depths.
class PreviewMenu
{
public:
    /// Starts a new, empty menu bar.
    void Reset();
    /// A pop-up with its text at a depth (0 = on the bar). Ignored at a
    /// negative depth or when no pop-up is open at the depth above.
    PreviewMenuEntry* AddPopup(const std::string& text, int depth);
    /// An item, or a separator, at a depth; below 1 it goes on the bar.
    /// Ignored when no pop-up is open at the depth above.
    PreviewMenuEntry* AddItem(bool separator, const std::string& text, int depth, int index);

    const std::vector<PreviewMenuEntry>& Bar() const { return m_bar; }
    std::vector<PreviewMenuEntry>& Bar() { return m_bar; }

private:
    std::vector<PreviewMenuEntry> m_bar;
    std::vector<PreviewPopup*> m_popupStack; // the pop-up open at each depth
};
