#include "preview/model/StyleNameTable.h"

namespace {

struct Entry
{
    const char* name;
    std::uint32_t value;
};

constexpr Entry kEntries[] = {
    {"ACS_AUTOPLAY", 0x4},
    {"ACS_TRANSPARENT", 0x2},
    {"BS_AUTOCHECKBOX", 0x3},
    {"BS_AUTORADIOBUTTON", 0x9},
    {"BS_AUTO3STATE", 0x6},
    {"BS_BOTTOM", 0x800},
    {"BS_CENTER", 0x300},
    {"BS_FLAT", 0x8000},
    {"BS_GROUPBOX", 0x7},
    {"BS_ICON", 0x40},
    {"BS_LEFT", 0x100},
    {"BS_LEFTTEXT", 0x20},
    {"BS_PUSHLIKE", 0x1000},
    {"BS_MULTILINE", 0x2000},
    {"BS_RIGHT", 0x200},
    {"BS_RIGHTBUTTON", 0x20},
    {"BS_TEXT", 0x0},
    {"BS_TOP", 0x400},
    {"BS_VCENTER", 0xC00},
    {"CBS_DROPDOWN", 0x2},
    {"CBS_DROPDOWNLIST", 0x3},
    {"CBS_SORT", 0x100},
    {"DS_CENTER", 0x800},
    {"DS_CONTROL", 0x400},
    {"DS_MODALFRAME", 0x80},
    {"DS_SETFOREGROUND", 0x200},
    {"ES_AUTOHSCROLL", 0x80},
    {"ES_CENTER", 0x1},
    {"ES_LEFT", 0x0},
    {"ES_LOWERCASE", 0x10},
    {"ES_MULTILINE", 0x4},
    {"ES_READONLY", 0x800},
    {"ES_RIGHT", 0x2},
    {"ES_UPPERCASE", 0x8},
    {"LBS_NOINTEGRALHEIGHT", 0x100},
    {"LBS_SORT", 0x2},
    {"LBS_USETABSTOPS", 0x80},
    {"LVS_REPORT", 0x1},
    {"LVS_NOSORTHEADER", 0x8000},
    {"LVS_SINGLESEL", 0x4},
    {"SS_BITMAP", 0xE},
    {"SS_BLACKFRAME", 0x7},
    {"SS_CENTER", 0x1},
    {"SS_CENTERIMAGE", 0x200},
    {"SS_ETCHEDFRAME", 0x12},
    {"SS_ICON", 0x3},
    {"SS_LEFT", 0x0},
    {"SS_NOPREFIX", 0x80},
    {"SS_RIGHT", 0x2},
    {"SS_RIGHTJUST", 0x400},
    {"SS_SIMPLE", 0xB},
    {"SS_SUNKEN", 0x1000},
    {"TBS_BOTH", 0x8},
    {"TBS_NOTICKS", 0x10},
    {"TVS_HASBUTTONS", 0x1},
    {"TVS_HASLINES", 0x2},
    {"TVS_LINESATROOT", 0x4},
    {"TVS_SHOWSELALWAYS", 0x20},
    {"UDS_ARROWKEYS", 0x20},
    {"UDS_NOTHOUSANDS", 0x80},
    {"WS_BORDER", 0x800000},
    {"WS_CAPTION", 0xC00000},
    {"WS_CHILD", 0x40000000},
    {"WS_CLIPCHILDREN", 0x2000000},
    {"WS_CLIPSIBLINGS", 0x4000000},
    {"WS_DLGFRAME", 0x400000},
    {"WS_DISABLED", 0x8000000},
    {"WS_GROUP", 0x20000},
    {"WS_HSCROLL", 0x100000},
    {"WS_MAXIMIZE", 0x1000000},
    {"WS_MAXIMIZEBOX", 0x10000},
    {"WS_MINIMIZE", 0x20000000},
    {"WS_MINIMIZEBOX", 0x20000},
    {"WS_OVERLAPPED", 0x0},
    {"WS_POPUP", 0x80000000},
    {"WS_SYSMENU", 0x80000},
    {"WS_TABSTOP", 0x10000},
    {"WS_THICKFRAME", 0x40000},
    {"WS_VISIBLE", 0x10000000},
    {"WS_VSCROLL", 0x200000},
    {"WS_EX_CLIENTEDGE", 0x200},
    {"WS_EX_DLGMODALFRAME", 0x1},
    {"WS_EX_LEFTSCROLLBAR", 0x4000},
    {"WS_EX_RIGHTSCROLLBAR", 0x0},
    {"WS_EX_STATICEDGE", 0x20000},
    {"WS_EX_TOOLWINDOW", 0x80},
    {"WS_EX_WINDOWEDGE", 0x100},
};

static_assert(sizeof(kEntries) / sizeof(kEntries[0]) == 87, "the table holds 87 names");

} // namespace

void StyleNameTable::Fill()
{
    m_values.clear();
    m_values.reserve(sizeof(kEntries) / sizeof(kEntries[0]));
    for (const Entry& e : kEntries)
        Set(e.name, e.value);
}

bool StyleNameTable::Lookup(std::string_view name, std::uint32_t& value) const
{
    const auto it = m_values.find(std::string(name));
    if (it == m_values.end())
        return false;
    value = it->second;
    return true;
}
