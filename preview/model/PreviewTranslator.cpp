#include "preview/model/PreviewTranslator.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "engine/Literal.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"

namespace {

// The script form of a text the dictionary holds.
std::string LiteralFormOf(const std::string& text)
{
    std::string script = text;
    int shortcut = 0;
    EncodeLiteral(script, 0, shortcut);
    return script;
}

void FillEntries(std::vector<PreviewMenuEntry>& entries, PreviewTranslator* translator)
{
    for (PreviewMenuEntry& entry : entries) {
        if (entry.type == PreviewMenuEntry::Type::Separator)
            continue;
        // Shown as compiled: the "\t" before an accelerator is a tab, which
        // the menu puts right-aligned.
        entry.displayText = translator ? translator->Translate(entry.text, true) : ShownText(entry.text);
        if (entry.type == PreviewMenuEntry::Type::Popup) {
            entry.popup->displayText = entry.displayText;
            FillEntries(entry.popup->entries, translator);
        }
    }
}

} // namespace

std::string ShownText(const std::string& scriptText)
{
    return CompileLiteral(scriptText);
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
    m_script.SetEncodings(OpenOriginalsCodePage(), OpenTranslationsCodePage());
    // The texts of the resource are translated in the script's order: each
    // occurrence of a text takes its own access key.
    m_script.ResetOccurrences();
}

std::string PreviewTranslator::Translate(const std::string& scriptText, bool withMnemonic, bool* found)
{
    if (found)
        *found = false;
    if (scriptText.empty())
        return {};
    const int originals = m_script.OriginalsCodePage();
    const int translations = m_script.TranslationsCodePage();
    DecodedLiteral d;
    {
        // A caption's ampersands are characters.
        const LiteralEncodingScope encoding(LiteralEncoding{originals, true});
        DecodeLiteral("\"" + scriptText + "\"", d, 0,
                      withMnemonic ? LiteralMode::Text : LiteralMode::Caption);
    }
    if (d.text.empty())
        return {};
    int shortcut = d.shortcut;
    bool translated = false;
    std::string result = m_script.TranslateText(d.text, shortcut, &translated);
    if (found)
        *found = translated;
    // Written as generation writes it, then shown as the compiler reads it.
    const LiteralEncodingScope encoding(LiteralEncoding{translated ? translations : originals, true});
    int encoded = 0;
    EncodeLiteral(result, withMnemonic ? shortcut : 0, encoded,
                  withMnemonic ? LiteralMode::Text : LiteralMode::Caption);
    if (withMnemonic)
        InsertMnemonic(result, encoded);
    std::string shown = ShownText(result);
    // A translated preview shows every text in the translations' encoding;
    // an untranslated text is carried over when it can be.
    std::string utf8;
    std::string converted;
    if (!translated && originals != translations && Codec::Cached(originals).ToUtf8Strict(shown, utf8) &&
        Codec::Cached(translations).FromUtf8(utf8, converted))
        shown = std::move(converted);
    return shown;
}

void FillDialogDisplay(PreviewDialogInfo& dialog, PreviewTranslator* translator,
                       const ContextDictionary* context, const std::string& source,
                       const std::string& resourceName)
{
    const LiteralEncodingScope encoding(LiteralEncoding{OpenOriginalsCodePage(), true});
    // In translated mode a text counts as translated when the dictionary has
    // a translation for it, even one equal to the original ("OK" is "OK").
    bool found = false;
    dialog.displayCaption =
        translator ? translator->Translate(dialog.caption, false, &found) : ShownText(dialog.caption);
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
            // The text as the script writes it: the record keeps it aside
            // when it held line-break or tab escapes.
            const std::string& script = control->rawText.empty() ? control->text : control->rawText;
            bool translated = false;
            control->displayText =
                translator ? translator->Translate(script, true, &translated) : ShownText(script);
            control->translated = (translator ? translated : control->displayText != control->text) ? 1 : 0;
            break;
        }
        case PreviewControlKind::ComboBox: {
            control->items.clear();
            std::vector<std::string> originals;
            if (context)
                context->TextsOfItem(source, resourceName, control->idName, originals);
            bool all = true;
            for (const std::string& original : originals) {
                const std::string script = LiteralFormOf(original);
                bool translated = false;
                const std::string display =
                    translator ? translator->Translate(script, true, &translated) : ShownText(script);
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
    const LiteralEncodingScope encoding(LiteralEncoding{OpenOriginalsCodePage(), true});
    FillEntries(menu.Bar(), translator);
}
