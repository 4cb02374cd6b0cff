#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CTrelvarDoc;
class ProgressSink;
class WordSpeller;
struct PreviewDialogInfo;

// The checks of a translated result, resource by resource, before anyone
// compiles it: what breaks the program (placeholders, accelerators, access
// keys) is an error, what only looks wrong (a text too long for its control,
// blanks and final punctuation) a warning.

enum class CheckKind
{
    AccessKeyClash, ///< two texts of one dialog or pop-up menu share an access key
    AccessKey,      ///< an access key lost or added
    Placeholder,    ///< printf or FormatMessage placeholders that differ
    Accelerator,    ///< a menu item's accelerator after "\t" changed
    Fit,            ///< a translation larger than its control
    Punctuation,    ///< leading or trailing blanks, final colon or ellipsis that differ
    Escape,         ///< an escape ("\n", "\\") lost or added
    Verbatim,       ///< a URL or a file name of the original that the translation changed
    Spelling        ///< a word of a translation the speller does not know
};

/// The kind's name on the command line ("access-key-clash", "fit", ...).
const char* CheckKindName(CheckKind kind);
std::optional<CheckKind> CheckKindNamed(std::string_view name);
/// Every kind, in the order above.
std::vector<CheckKind> AllCheckKinds();

struct CheckFinding
{
    std::string script; ///< the script's path
    std::int64_t line = 0;
    std::string resource;
    int resourceKind = 0; ///< 3 string table, 4 menu, 5 dialog
    CheckKind kind = CheckKind::Fit;
    bool warning = false;
    std::string original; ///< the text as the dictionary keys it (its code page)
    std::string message;  ///< UTF-8
};

/// "script.rc:LINE: RESOURCE: message", as compilers write, so that editors
/// jump to it.
std::string FormatFinding(const CheckFinding& finding);

/// Tells which translated controls of a dialog are too large for their
/// rectangle, measured as the preview measures them (with the dialog's
/// font). The dialog's display texts are filled.
class FitMeasure
{
public:
    virtual ~FitMeasure() = default;
    /// The indexes of the controls that do not fit.
    virtual std::vector<int> TooLarge(const PreviewDialogInfo& translated) = 0;
};

/// Checks the translated result of the scripts (every script of the
/// dictionary when none is named), in script and line order. Without a
/// measure the fit of texts is not checked. The bar steps once per script.
/// With a speller, the words of translations are checked too.
std::vector<CheckFinding> CheckTranslations(const CTrelvarDoc& doc, const std::vector<std::string>& scripts,
                                            FitMeasure* fit, ProgressSink* progress = nullptr,
                                            WordSpeller* speller = nullptr);
