#include "preview/model/PreviewTranslator.h"

#include "dictionary/ContextDictionary.h"
#include "engine/Literal.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"

namespace {

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

void FillEntries(std::vector<PreviewMenuEntry>& entries, PreviewTranslator* translator)
{
    for (PreviewMenuEntry& entry : entries) {
        if (entry.type == PreviewMenuEntry::Type::Separator)
            continue;
        const std::string text = DecodeOctal(entry.text);
        entry.displayText = translator ? translator->Translate(text, true) : text;
        if (entry.type == PreviewMenuEntry::Type::Item) {
            // The accelerator after the script's "\t" goes right-aligned.
            const std::size_t tab = entry.displayText.find("\\t");
            if (tab != std::string::npos)
                entry.displayText =
                    entry.displayText.substr(0, tab) + '\t' + entry.displayText.substr(tab + 2);
        } else {
            entry.popup->displayText = entry.displayText;
            FillEntries(entry.popup->entries, translator);
        }
    }
}

} // namespace

std::string DecodeOctal(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3' &&
            IsOctal(text[i + 2]) && IsOctal(text[i + 3])) {
            out +=
                static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += text[i];
    }
    return out;
}

void PreviewTranslator::Prepare(GeneralDictionary* general, ContextDictionary* context,
                                NotExtractedList* notExtracted, const std::string& source,
                                const std::string& resourceName, int kind)
{
    m_script.SetGeneralDictionary(general);
    m_script.SetContextDictionary(context);
    m_script.SetNotExtractedList(notExtracted);
    m_script.SetSourcePath(source);
    m_script.SetCurrentResourceName(resourceName);
    m_script.SetFixedKind(kind);
    m_script.SetCurrentKind(kind);
}

std::string PreviewTranslator::Translate(const std::string& scriptText, bool withMnemonic, bool* found)
{
    if (found)
        *found = false;
    if (scriptText.empty())
        return {};
    DecodedLiteral d = DecodeLiteral("\"" + scriptText + "\"");
    if (d.text.empty())
        return {};
    int shortcut = d.shortcut;
    std::string result = m_script.TranslateText(d.text, shortcut, found);
    if (withMnemonic) {
        int encoded = 0;
        EncodeLiteral(result, shortcut, encoded);
        InsertMnemonic(result, encoded);
    }
    return DecodeOctal(result);
}

void FillDialogDisplay(PreviewDialogInfo& dialog, PreviewTranslator* translator,
                       const ContextDictionary* context, const std::string& source,
                       const std::string& resourceName)
{
    // In translated mode a text counts as translated when the dictionary has
    // a translation for it, even one equal to the original ("OK" is "OK").
    dialog.displayCaption = DecodeOctal(dialog.caption);
    bool found = false;
    if (translator)
        dialog.displayCaption = translator->Translate(dialog.displayCaption, false, &found);
    dialog.captionTranslated = (translator ? found : dialog.displayCaption != dialog.caption) ? 1 : 0;

    for (auto& control : dialog.controls) {
        switch (control->kind) {
        case PreviewControlKind::Text:
        case PreviewControlKind::Icon:
        case PreviewControlKind::Static:
        case PreviewControlKind::Frame:
        case PreviewControlKind::PushButton:
        case PreviewControlKind::DefPushButton:
        case PreviewControlKind::CheckBox:
        case PreviewControlKind::RadioButton: {
            std::string display = DecodeOctal(control->text);
            bool translated = false;
            if (translator) {
                if (!control->rawText.empty()) {
                    display = translator->Translate(DecodeOctal(control->rawText), true, &translated);
                    ExpandLineBreaks(display);
                    ExpandTabs(display);
                } else {
                    display = translator->Translate(display, true, &translated);
                }
            }
            control->displayText = display;
            control->translated = (translator ? translated : display != control->text) ? 1 : 0;
            break;
        }
        case PreviewControlKind::ComboBox: {
            control->items.clear();
            std::vector<std::string> originals;
            if (context)
                context->TextsOfItem(source, resourceName, control->idName, originals);
            bool all = true;
            for (const std::string& original : originals) {
                std::string display = DecodeOctal(original);
                bool translated = false;
                if (translator)
                    display = translator->Translate(display, true, &translated);
                all = all && (translator ? translated : display != original);
                control->items.push_back(display);
            }
            control->displayText.clear();
            control->translated = all ? 1 : 0;
            break;
        }
        default:
            control->displayText.clear();
            control->translated = 0;
            break;
        }
    }
}

void FillMenuDisplay(PreviewMenu& menu, PreviewTranslator* translator)
{
    FillEntries(menu.Bar(), translator);
}
