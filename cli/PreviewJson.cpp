#include "cli/PreviewJson.h"

#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"

#include <cstdio>

namespace {

std::string Hex(std::uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\"0x%08X\"", value);
    return buffer;
}

std::string Rect(const PreviewRect& r)
{
    return "[" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + "]";
}

// Only the options an entry has, so that plain entries read as before.
std::string Options(const PreviewMenuEntry& e)
{
    return std::string(e.grayed ? ", \"grayed\": true" : "") + (e.checked ? ", \"checked\": true" : "");
}

std::string Entries(const std::vector<PreviewMenuEntry>& entries, bool translated)
{
    std::string out = "[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PreviewMenuEntry& e = entries[i];
        if (i > 0)
            out += ", ";
        const std::string& text = translated ? e.displayText : e.text;
        switch (e.type) {
        case PreviewMenuEntry::Type::Separator:
            out += "{\"type\": \"separator\"}";
            break;
        case PreviewMenuEntry::Type::Item:
            out += "{\"type\": \"item\", \"text\": " + JsonString(text) + Options(e) + "}";
            break;
        case PreviewMenuEntry::Type::Popup:
            out += "{\"type\": \"popup\", \"text\": " + JsonString(text) + Options(e) +
                   ", \"entries\": " + Entries(e.popup->entries, translated) + "}";
            break;
        }
    }
    return out + "]";
}

} // namespace

std::string JsonString(const std::string& bytes)
{
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", b);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string DialogJson(const PreviewDialogInfo& dialog, bool ended, bool translated)
{
    std::string out = "{\"kind\": \"dialog\", \"ended\": " + std::string(ended ? "true" : "false") +
                      ", \"found\": " + std::to_string(dialog.found) +
                      ", \"caption\": " + JsonString(translated ? dialog.displayCaption : dialog.caption) +
                      ", \"style\": " + Hex(dialog.style) + ", \"exStyle\": " + Hex(dialog.exStyle) +
                      ", \"rect\": " + Rect(dialog.rect) + ", \"fontFace\": " + JsonString(dialog.fontFace) +
                      ", \"fontPoints\": " + std::to_string(dialog.fontPoints) + ", \"controls\": [";
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const PreviewControl& c = *dialog.controls[i];
        if (i > 0)
            out += ", ";
        out += "{\"kind\": " + std::to_string(static_cast<int>(c.kind)) +
               ", \"idName\": " + JsonString(c.idName) +
               ", \"text\": " + JsonString(translated ? c.displayText : c.text) +
               ", \"rawText\": " + JsonString(c.rawText) + ", \"style\": " + Hex(c.style) +
               ", \"rect\": " + Rect(c.rect);
        if (translated)
            out += ", \"translated\": " + std::to_string(c.translated);
        out += "}";
    }
    return out + "]}";
}

std::string MenuJson(const PreviewMenu& menu, bool ended, bool translated)
{
    return "{\"kind\": \"menu\", \"ended\": " + std::string(ended ? "true" : "false") +
           ", \"bar\": " + Entries(menu.Bar(), translated) + "}";
}
