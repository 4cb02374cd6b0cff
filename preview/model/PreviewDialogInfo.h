#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// Which kind of window the preview builds for a control statement. The
/// numbers are stored and compared.
enum class PreviewControlKind : int
{
    Text = 1,          // LTEXT, RTEXT, CTEXT
    Edit = 2,          // EDITTEXT
    Icon = 3,          // ICON
    Static = 4,        // CONTROL "Static"
    Frame = 5,         // GROUPBOX, unknown CONTROL classes, CONTROL push buttons
    PushButton = 6,    // PUSHBUTTON
    DefPushButton = 7, // DEFPUSHBUTTON
    CheckBox = 8,      // CHECKBOX, CONTROL "Button" with a check-box style
    RadioButton = 9,   // RADIOBUTTON, CONTROL "Button" with a radio style
    ComboBox = 10,     // COMBOBOX
    ListBox = 11,      // LISTBOX
    TreeView = 12,     // CONTROL "SysTreeView32"
    ListView = 13,     // CONTROL "SysListView32"
    Tab = 14,          // CONTROL "SysTabControl32"
    Animate = 15,      // CONTROL "SysAnimate32"
    Progress = 16,     // CONTROL "msctls_progress32"
    Slider = 17,       // CONTROL "msctls_trackbar32"
    Spin = 18,         // CONTROL "msctls_updown32"
    ScrollBar = 19,    // SCROLLBAR; CONTROL "ScrollBar"
};

/// A rectangle in dialog units (pixels once the window has mapped it).
struct PreviewRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

/// One control statement of a dialog script.
struct PreviewControl
{
    /// The text with the line-break and tab escapes resolved; quotes stay
    /// doubled as in the script. Empty for controls without text.
    std::string text;
    /// The text as written when it held \r, \n or \t escapes; else empty.
    std::string rawText;
    /// The identifier as written (not for CONTROL and ICON).
    std::string idName;
    /// The running control counter when the record was made.
    int index = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    PreviewRect rect;
    PreviewControlKind kind = PreviewControlKind::Frame;

    // Filled for a preview: the text shown, whether it differs from text,
    // and the strings of a combo box.
    std::string displayText;
    int translated = 0;
    std::vector<std::string> items;
};

/// The description of one dialog: its header and its controls in script
/// order.
struct PreviewDialogInfo
{
    std::string caption; ///< script form
    int found = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    PreviewRect rect;
    int captionTranslated = 0;
    std::string fontFace;
    int fontPoints = 0;
    std::vector<std::unique_ptr<PreviewControl>> controls;

    std::string displayCaption;

    /// Empties caption, found, styles and the translated flag; the rectangle
    /// and the font stay until the next header and FONT statement.
    void Clear()
    {
        caption.clear();
        displayCaption.clear();
        found = 0;
        style = 0;
        exStyle = 0;
        captionTranslated = 0;
    }
};
