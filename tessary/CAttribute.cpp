#include "tessary/CAttribute.h"

#include <QWidget>

std::uint32_t CAttribute::m_staticForeColor = 0x000000;
std::uint32_t CAttribute::m_staticBackColor = 0xFFFFFF;

CAttribute::~CAttribute()
{
    delete window;
}

CAttribute* CItemAttributes::GetAt(int index) const
{
    if (index < 0 || index >= GetSize())
        return nullptr;
    return m_slots[static_cast<std::size_t>(index)].get();
}

CAttribute* CItemAttributes::SetAtGrow(int index, std::unique_ptr<CAttribute> attribute)
{
    if (index < 0)
        return nullptr;
    if (index >= GetSize())
        m_slots.resize(static_cast<std::size_t>(index) + 1);
    m_slots[static_cast<std::size_t>(index)] = std::move(attribute);
    return m_slots[static_cast<std::size_t>(index)].get();
}

CAttribute* CItemAttributes::Add(std::unique_ptr<CAttribute> attribute)
{
    m_slots.push_back(std::move(attribute));
    return m_slots.back().get();
}

void CItemAttributes::InsertAt(int index, std::unique_ptr<CAttribute> attribute)
{
    if (index < 0)
        return;
    if (index > GetSize())
        m_slots.resize(static_cast<std::size_t>(index));
    m_slots.insert(m_slots.begin() + index, std::move(attribute));
}

void CItemAttributes::RemoveAt(int index)
{
    if (index >= 0 && index < GetSize())
        m_slots.erase(m_slots.begin() + index);
}
