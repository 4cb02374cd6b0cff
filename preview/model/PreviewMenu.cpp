#include "preview/model/PreviewMenu.h"

void PreviewMenu::Reset()
{
    m_bar.clear();
    m_popupStack.clear();
}

PreviewMenuEntry* PreviewMenu::AddPopup(const std::string& text, int depth)
{
    if (depth < 0)
        return nullptr;
    std::vector<PreviewMenuEntry>* container = &m_bar;
    if (depth > 0) {
        if (static_cast<std::size_t>(depth) > m_popupStack.size() || !m_popupStack[depth - 1])
            return nullptr;
        container = &m_popupStack[depth - 1]->entries;
    }
    PreviewMenuEntry entry;
    entry.type = PreviewMenuEntry::Type::Popup;
    entry.text = text;
    entry.popup = std::make_unique<PreviewPopup>();
    entry.popup->text = text;
    PreviewPopup* popup = entry.popup.get();
    container->push_back(std::move(entry));
    if (m_popupStack.size() <= static_cast<std::size_t>(depth))
        m_popupStack.resize(depth + 1, nullptr);
    m_popupStack[depth] = popup;
    // A pop-up closes what was open below it.
    m_popupStack.resize(depth + 1);
    return &container->back();
}

PreviewMenuEntry* PreviewMenu::AddItem(bool separator, const std::string& text, int depth, int index)
{
    std::vector<PreviewMenuEntry>* container = &m_bar;
    if (depth >= 1) {
        if (static_cast<std::size_t>(depth) > m_popupStack.size() || !m_popupStack[depth - 1])
            return nullptr;
        container = &m_popupStack[depth - 1]->entries;
    }
    PreviewMenuEntry entry;
    entry.type = separator ? PreviewMenuEntry::Type::Separator : PreviewMenuEntry::Type::Item;
    entry.index = index;
    if (!separator)
        entry.text = text;
    container->push_back(std::move(entry));
    return &container->back();
}
