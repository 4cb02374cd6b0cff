#include "exchange/InlineText.h"

#include "dictionary/SafeFiles.h"
#include "exchange/ExchangeFiles.h"

#include <sstream>

namespace {

// The inline element that stands for a control character, which XML 1.0
// cannot hold: its content is the character's octal escape, as a script
// writes it ("\001").
constexpr const char* kCharacterType = "x-lingorel-char";

} // namespace

void AppendInlineText(pugi::xml_node element, std::string_view text)
{
    std::string run;
    int placeholders = 0;
    // Text, even empty, on both sides of each placeholder: the writer's
    // indentation goes between two elements, and would be read back as
    // blanks of the text.
    auto flush = [&] {
        element.append_child(pugi::node_pcdata).set_value(run.c_str());
        run.clear();
    };
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 || c == '\t' || c == '\n') {
            run += c;
            continue;
        }
        flush();
        pugi::xml_node ph = element.append_child("ph");
        ph.append_attribute("id") = std::to_string(++placeholders).c_str();
        ph.append_attribute("ctype") = kCharacterType;
        const char octal[] = {'\\', static_cast<char>('0' + (b >> 6)),
                              static_cast<char>('0' + ((b >> 3) & 7)), static_cast<char>('0' + (b & 7)),
                              '\0'};
        ph.text() = octal;
    }
    flush();
}

std::string InlineTextOf(pugi::xml_node node)
{
    std::string out;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        } else if (child.type() == pugi::node_element &&
                   std::string_view(child.attribute("ctype").value()) == std::string_view(kCharacterType)) {
            const std::string_view code = child.text().get();
            int value = 0;
            for (const char c : code.substr(code.empty() ? 0 : 1))
                value = c >= '0' && c <= '7' ? value * 8 + (c - '0') : value;
            if (value > 0 && value < 0x20)
                out += static_cast<char>(value);
        } else if (child.type() == pugi::node_element) {
            // <g>, <mrk>, another tool's <ph>: their text.
            out += InlineTextOf(child);
        }
    }
    return out;
}

bool SaveXmlFile(const pugi::xml_document& document, const std::string& path, std::string& error)
{
    std::ostringstream out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return WriteWholeFile(path, out.str(), error);
}

bool LoadXmlFile(const std::string& path, const char* root, const char* what, pugi::xml_document& document,
                 std::string& error)
{
    std::string reason;
    if (!IsReadableRegularFile(path, &reason)) {
        error = reason;
        return false;
    }
    const pugi::xml_parse_result parsed =
        document.load_file(path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
    if (!parsed) {
        error = std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);
        return false;
    }
    if (!document.child(root)) {
        error = std::string("it is not ") + what;
        return false;
    }
    return true;
}
