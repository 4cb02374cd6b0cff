#pragma once

#include "tessary/TessaryExport.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QFont;
class QWidget;

/// Display attributes of a list cell, row, column or alternating phase:
/// a font (not owned), text and background colours (COLORREF, red in the
/// low byte; unset until given), an embedded window (owned) and a user
/// value.
class TESSARY_EXPORT CAttribute
{
public:
    CAttribute() = default;
    ~CAttribute();
    CAttribute(const CAttribute&) = delete;
    CAttribute& operator=(const CAttribute&) = delete;

    const QFont* font = nullptr;
    std::optional<std::uint32_t> foreColor;
    std::optional<std::uint32_t> backColor;
    /// Shown over the cell; deleted with the attribute.
    QWidget* window = nullptr;
    std::intptr_t parameter = 0;

    void SetForeColor(std::uint32_t colour) { foreColor = colour; }
    void SetBackColor(std::uint32_t colour) { backColor = colour; }

    /// Default text and background colours of every list in the process.
    static std::uint32_t m_staticForeColor;
    static std::uint32_t m_staticBackColor;
};

/// An ordered list of attributes; a slot may be empty, and indexing past
/// the end yields no attribute. The list owns what it holds.
class TESSARY_EXPORT CItemAttributes
{
public:
    int GetSize() const { return static_cast<int>(m_slots.size()); }
    CAttribute* GetAt(int index) const;
    /// Stores the attribute at the index, growing the list with empty slots.
    CAttribute* SetAtGrow(int index, std::unique_ptr<CAttribute> attribute);
    CAttribute* Add(std::unique_ptr<CAttribute> attribute);
    /// Inserts an empty or given slot at the index (later slots move up).
    void InsertAt(int index, std::unique_ptr<CAttribute> attribute);
    void RemoveAt(int index);
    void RemoveAll() { m_slots.clear(); }

private:
    std::vector<std::unique_ptr<CAttribute>> m_slots;
};
