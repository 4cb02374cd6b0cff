#pragma once

#include "engine/ResourceScript.h"

#include <string>

class ContextDictionary;
class GeneralDictionary;
class NotExtractedList;
class PreviewMenu;
struct PreviewDialogInfo;

/// The texts a preview shows. In original mode they are the script's texts
/// with octal escapes decoded; in translated mode they are what generation
/// would write for them: the in-context translation of the resource first,
/// then the general one, the text itself when there is none.
class PreviewTranslator
{
public:
    /// Sets the dictionaries and the resource whose texts are translated.
    void Prepare(GeneralDictionary* general, ContextDictionary* context, NotExtractedList* notExtracted,
                 const std::string& source, const std::string& resourceName, int kind);

    /// The translation of a text in script form: decoded as a literal,
    /// looked up, written back as generation writes it (the mnemonic put
    /// back, but not for dialog captions) and shown as compiled. Empty for
    /// an empty text. found (when given) tells whether the dictionary holds
    /// a translation for it.
    std::string Translate(const std::string& scriptText, bool withMnemonic, bool* found = nullptr);

    ResourceScript& Script() { return m_script; }

private:
    ResourceScript m_script;
};

/// Fills the caption, control and combo-box display texts of a dialog and
/// their translated flags. translator null: original mode. The combo-box
/// strings come from the in-context dictionary (the control's DLGINIT
/// strings) when one is given.
void FillDialogDisplay(PreviewDialogInfo& dialog, PreviewTranslator* translator,
                       const ContextDictionary* context, const std::string& source,
                       const std::string& resourceName);

/// Fills the display texts of every pop-up and item of a menu; an item's
/// "\t" becomes a tab before its accelerator.
void FillMenuDisplay(PreviewMenu& menu, PreviewTranslator* translator);

/// A text in script form as the compiled resource shows it: escapes
/// resolved ("\\" one backslash, "\n" a line break, octal and hexadecimal
/// escapes their byte), doubled quotes single; ampersands stay for the
/// window to draw the mnemonic.
std::string ShownText(const std::string& scriptText);
