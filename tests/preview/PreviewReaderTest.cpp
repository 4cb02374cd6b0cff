#include "preview/model/PreviewReader.h"

#include "TestSupport.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "engine/ResourceScript.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewTranslator.h"
#include "preview/model/StyleNameTable.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_POPUP = 0x80000000,
                        WS_CAPTION = 0xC00000, WS_TABSTOP = 0x10000, WS_BORDER = 0x800000;

class Reader : public ::testing::Test
{
protected:
    PreviewReader::Result Read(const std::string& script, const std::string& name, int kind = 5)
    {
        const std::string path = dir.File("t.rc");
        WriteBytes(path, script);
        PreviewReader reader(styles, counter);
        return reader.Read(path, name, kind, dialog, menu);
    }
    const PreviewControl& Control(std::size_t i) const { return *dialog.controls.at(i); }

    TempDir dir;
    StyleNameTable styles;
    int counter = 1000;
    PreviewDialogInfo dialog;
    PreviewMenu menu;
};

} // namespace

TEST(StyleNameTable, HoldsTheKnownNamesExactly)
{
    StyleNameTable table;
    EXPECT_EQ(table.Size(), 87u);
    std::uint32_t value = 0;
    EXPECT_TRUE(table.Lookup("WS_BORDER", value));
    EXPECT_EQ(value, 0x800000u);
    EXPECT_FALSE(table.Lookup("ws_border", value));
    EXPECT_FALSE(table.Lookup(" WS_BORDER", value));
    EXPECT_TRUE(table.Lookup("BS_LEFTTEXT", value));
    EXPECT_EQ(value, 0x20u);
    EXPECT_TRUE(table.Lookup("BS_RIGHTBUTTON", value));
    EXPECT_EQ(value, 0x20u);
    EXPECT_FALSE(table.Lookup("DS_SETFONT", value));
    EXPECT_TRUE(table.Lookup("WS_EX_TOOLWINDOW", value));
    EXPECT_EQ(value, 0x80u);
    EXPECT_TRUE(table.Lookup("WS_POPUP", value));
    EXPECT_EQ(value, 0x80000000u);
}

TEST_F(Reader, HeaderRectanglesAndDialogStyles)
{
    auto r = Read("IDD_ABOUT DIALOG DISCARDABLE  0, 0, 235, 55\nSTYLE DS_MODALFRAME | WS_CHILD | WS_CAPTION\n"
                  "FONT 8, \"MS Sans Serif\"\nBEGIN\nEND\n",
                  "IDD_ABOUT");
    EXPECT_TRUE(r.opened);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(dialog.found, 1);
    EXPECT_EQ(dialog.rect.right, 235);
    EXPECT_EQ(dialog.rect.bottom, 55);
    EXPECT_EQ(dialog.style, 0x80u | WS_POPUP | WS_CAPTION); // WS_CHILD turned into WS_POPUP
    EXPECT_EQ(dialog.fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog.fontPoints, 8);

    Read("IDD_X DIALOGEX 0, 0, 20, 150\nSTYLE WS_POPUP | WS_DISABLED |\n   DS_SETFONT | "
         "WS_SYSMENU\nBEGIN\nEND\n",
         "IDD_X");
    EXPECT_EQ(dialog.rect.left, 0);
    EXPECT_EQ(dialog.rect.right, 20);
    EXPECT_EQ(dialog.rect.bottom, 150);
    EXPECT_EQ(dialog.style, WS_POPUP | 0x80000u); // WS_DISABLED cleared, continued line read

    Read("IDD_X DIALOG PRELOAD 10, 20, 186, 95\nBEGIN\nEND\n", "IDD_X");
    EXPECT_EQ(dialog.rect.left, 0);
    EXPECT_EQ(dialog.rect.top, 20);
    EXPECT_EQ(dialog.rect.right, 186);
    EXPECT_EQ(dialog.rect.bottom, 115);

    // The resource of that very name: ABOUT is not IDD_ABOUT, and a
    // statement in a comment or a literal declares nothing.
    Read("IDD_ABOUT DIALOG 1, 2, 3, 4\nBEGIN\nEND\n// ABOUT DIALOG 9, 9, 9, 9\n"
         "STRINGTABLE\nBEGIN\n 1 \"ABOUT DIALOG 8, 8, 8, 8\"\nEND\nABOUT DIALOG 5, 6, 7, 8\nBEGIN\nEND\n",
         "ABOUT");
    EXPECT_EQ(dialog.rect.left, 5);
}

TEST_F(Reader, TextControlsAndTheirStyles)
{
    Read("IDD_A DIALOGEX 0, 0, 100, 100\nBEGIN\n"
         "    LTEXT           \"Name:\",IDC_STATIC,7,7,40,8\n"
         "\tRTEXT \"Right\",IDC_R,1,2,3,4,SS_SUNKEN\n"
         "    CTEXT \"Centre\",IDC_C,1,2,3,4\n"
         "    PUSHBUTTON      \"Hidden\",IDC_H,1,2,3,4,NOT WS_VISIBLE\n"
         "    DEFPUSHBUTTON   \"OK\",IDOK,1,2,3,4,NOT BS_DEFPUSHBUTTON\n"
         "    GROUPBOX        \"Say \"\"hi\"\"\",IDC_G,1,2,3,4\n"
         "    CHECKBOX \"Line\\nTwo\",IDC_K,1,2,3,4,WS_TABSTOP |\n"
         "                    WS_GROUP\n"
         "    RADIOBUTTON \"R\",IDC_RB,1,2,3,4,WS_TABSTOP | NOT\n"
         "                    WS_VISIBLE\n"
         "    LTEXT \"broken\" IDC_X\n"
         "END\n",
         "IDD_A");
    ASSERT_EQ(dialog.controls.size(), 8u);
    EXPECT_EQ(Control(0).kind, PreviewControlKind::Text);
    EXPECT_EQ(Control(0).style, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(Control(0).rect.left, 7);
    EXPECT_EQ(Control(0).rect.right, 47);
    EXPECT_EQ(Control(0).rect.bottom, 15);
    EXPECT_EQ(Control(0).idName, "IDC_STATIC");
    EXPECT_EQ(Control(0).index, 1000);
    EXPECT_EQ(Control(1).style, WS_CHILD | WS_VISIBLE | 0x1000u | 2u); // tab form, SS_RIGHT
    EXPECT_EQ(Control(2).style, WS_CHILD | WS_VISIBLE | 1u);
    EXPECT_EQ(Control(3).style, WS_CHILD);                   // NOT after the added bits
    EXPECT_EQ(Control(4).style, WS_CHILD | WS_VISIBLE | 1u); // the kind's bit comes after NOT
    EXPECT_EQ(Control(5).kind, PreviewControlKind::Frame);
    EXPECT_EQ(Control(5).text, "Say \"\"hi\"\""); // doubled quotes kept
    EXPECT_EQ(Control(5).style & 0xF, 7u);
    EXPECT_EQ(Control(6).kind, PreviewControlKind::CheckBox);
    EXPECT_EQ(Control(6).text, "Line\nTwo");
    EXPECT_EQ(Control(6).rawText, "Line\\nTwo");
    EXPECT_EQ(Control(6).style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x20000u | 3u);
    EXPECT_EQ(Control(7).style, WS_CHILD | WS_TABSTOP | 9u); // NOT on the next line
    EXPECT_EQ(counter, 1009);                                // the broken LTEXT took a number too
}

TEST_F(Reader, ControlsWithoutTextIconsAndGenericControls)
{
    Read("IDD_B DIALOG 0, 0, 100, 100\nBEGIN\n"
         "    EDITTEXT        IDC_E,7,7,50,14,ES_AUTOHSCROLL | NOT WS_BORDER\n"
         "    COMBOBOX        IDC_CB,52,27,125,60,CBS_DROPDOWNLIST | WS_VSCROLL |\n"
         "                    WS_TABSTOP\n"
         "    ICON            IDR_MAINFRAME,IDC_STATIC,11,17,20,20\n"
         "    ICON            IDR_MAINFRAME,IDC_STATIC,11,17\n"
         "    CONTROL         \"Check\",IDC_C,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7,7,50,10\n"
         "    CONTROL         \"\",IDC_L,\"SysListView32\",LVS_REPORT | WS_BORDER | WS_TABSTOP,7,7,100,50,\n"
         "                    WS_EX_CLIENTEDGE\n"
         "    CONTROL         \"Radio\",IDC_R,\"Button\",BS_AUTORADIOBUTTON,1,2,3,4\n"
         "    CONTROL         \"Push\",IDC_P,\"Button\",BS_PUSHBUTTON | WS_TABSTOP,1,2,3,4\n"
         "    CONTROL         \"Pic\",IDC_S,\"Static\",SS_ETCHEDFRAME,1,2,3,4\n"
         "    CONTROL         \"Link\",IDC_K,\"SysLink\",WS_TABSTOP,1,2,3,4\n"
         "    CONTROL         \"\",IDC_T,\"SysTreeView32\",TVS_HASLINES,1,2,3,4\n"
         "    CONTROL         \"\",IDC_U,\"msctls_updown32\",UDS_ARROWKEYS,1,2,3,4\n"
         "    CONTROL         \"\",IDC_V,\"msctls_trackbar32\",TBS_BOTH,1,2,3,4\n"
         "    CONTROL         \"\",IDC_W,\"Button\" BS_GROUPBOX,1,2,3,4\n"
         "END\n",
         "IDD_B");
    ASSERT_EQ(dialog.controls.size(), 12u); // the short ICON and the CONTROL without comma are dropped
    EXPECT_EQ(Control(0).kind, PreviewControlKind::Edit);
    EXPECT_EQ(Control(0).style, WS_CHILD | WS_VISIBLE | 0x80u); // the added WS_BORDER removed again
    EXPECT_EQ(Control(1).kind, PreviewControlKind::ComboBox);
    EXPECT_EQ(Control(1).style, WS_CHILD | WS_VISIBLE | WS_BORDER | 0x200000u | WS_TABSTOP | 3u);
    EXPECT_EQ(Control(2).kind, PreviewControlKind::Icon);
    EXPECT_EQ(Control(2).style, 0x50000003u);
    EXPECT_EQ(Control(2).rect.right, 31);
    EXPECT_EQ(Control(2).idName, "");
    // The ICON without a size was discarded.
    EXPECT_EQ(Control(3).kind, PreviewControlKind::CheckBox);
    EXPECT_EQ(Control(3).style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | 3u);
    EXPECT_EQ(Control(3).rect.right, 57);
    EXPECT_EQ(Control(3).rect.bottom, 17);
    EXPECT_EQ(Control(4).kind, PreviewControlKind::ListView);
    EXPECT_EQ(Control(4).rect.right, 107);
    EXPECT_EQ(Control(4).rect.bottom, 57);
    EXPECT_EQ(Control(5).kind, PreviewControlKind::RadioButton);
    EXPECT_EQ(Control(6).kind, PreviewControlKind::Frame); // a push button shown as a frame
    EXPECT_EQ(Control(6).style & 0xF, 7u);
    EXPECT_EQ(Control(7).kind, PreviewControlKind::Static);
    EXPECT_EQ(Control(8).kind, PreviewControlKind::Frame); // unknown class
    EXPECT_EQ(Control(9).kind, PreviewControlKind::TreeView);
    EXPECT_EQ(Control(10).kind, PreviewControlKind::Spin);
    EXPECT_EQ(Control(11).kind, PreviewControlKind::Slider);
}

TEST_F(Reader, EndLinesAndTruncatedScripts)
{
    for (const char* end : {"END", "   END", "END // done", "\tEND"}) {
        const auto r =
            Read(std::string("IDD_E DIALOG 0,0,1,1\nBEGIN\n") + end + "\n    LTEXT \"after\",1,1,1,1,1\n",
                 "IDD_E");
        EXPECT_TRUE(r.ended) << end;
        EXPECT_TRUE(dialog.controls.empty()) << end;
    }
    auto r = Read("IDD_E DIALOG 0,0,1,1\nBEGIN\nENDING\n    LTEXT \"a\",1,1,1,1,1\n", "IDD_E");
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(dialog.controls.size(), 1u);
    // Statements cut off by the end of the file lose their record only.
    r = Read("IDD_E DIALOG 0,0,1,1\nSTYLE WS_POPUP |", "IDD_E");
    EXPECT_FALSE(r.ended);
    r = Read("IDD_E DIALOG 0,0,1,1\nBEGIN\n    EDITTEXT IDC_E,1,2,3,4,ES_LEFT | NOT", "IDD_E");
    EXPECT_FALSE(r.ended);
    r = Read("IDD_E DIALOG 0,0,1,1\nBEGIN\n    CONTROL \"x\",1,\"Button\",BS_", "IDD_E");
    EXPECT_TRUE(dialog.controls.empty());
    r = Read("", "IDD_E");
    EXPECT_FALSE(r.ended);
    PreviewReader reader(styles, counter);
    EXPECT_FALSE(reader.Read(dir.File("missing.rc"), "IDD_E", 5, dialog, menu).opened);
}

TEST_F(Reader, MenusWithNestedPopupsAndSeparators)
{
    const auto r = Read("IDR_MAIN MENU\nBEGIN\n"
                        "    POPUP \"&File\"\n    BEGIN\n"
                        "        MENUITEM \"&Open...\\tCtrl+O\",  ID_OPEN\n"
                        "        MENUITEM SEPARATOR\n"
                        "        POPUP \"Recent\"\n        BEGIN\n"
                        "            MENUITEM \"&Clear\",  ID_CLEAR\n"
                        "        END\n"
                        "        MENUITEM \"E&xit\",  ID_EXIT\n"
                        "    END\n"
                        "    MENUITEM \"&Help\", ID_HELP\n"
                        "END\n"
                        "IDR_OTHER MENU \nBEGIN\nEND\n",
                        "IDR_MAIN", 4);
    EXPECT_TRUE(r.ended);
    const auto& bar = menu.Bar();
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0].type, PreviewMenuEntry::Type::Popup);
    EXPECT_EQ(bar[0].text, "&File");
    const auto& file = bar[0].popup->entries;
    ASSERT_EQ(file.size(), 4u);
    EXPECT_EQ(file[0].text, "&Open...\\tCtrl+O");
    EXPECT_EQ(file[1].type, PreviewMenuEntry::Type::Separator);
    EXPECT_EQ(file[2].popup->entries.at(0).text, "&Clear");
    EXPECT_EQ(file[3].text, "E&xit");
    EXPECT_EQ(bar[1].type, PreviewMenuEntry::Type::Item);
    EXPECT_EQ(bar[1].text, "&Help");

    FillMenuDisplay(menu, nullptr);
    EXPECT_EQ(file[0].displayText, "&Open...\tCtrl+O");
    EXPECT_EQ(bar[0].popup->displayText, "&File");

    // A header that ends its line; a name that is part of another is not it;
    // keywords in any case.
    EXPECT_FALSE(Read("IDR_MAINFRAME MENU\nBEGIN\n  MENUITEM \"A\", 1\nEND\n", "MAINFRAME", 4).ended);
    EXPECT_TRUE(Read("IDR_MAINFRAME menu\nbegin\n  menuitem \"A\", 1\n  Popup \"B\"\n  Begin\n"
                     "    MenuItem \"C\", 2\n  End\nend\n",
                     "IDR_MAINFRAME", 4)
                    .ended);
    ASSERT_EQ(menu.Bar().size(), 2u);
    EXPECT_EQ(menu.Bar()[1].popup->entries.at(0).text, "C");
    EXPECT_FALSE(Read("IDR_X MENU\nBEGIN\n  POPUP \"A\"\n  BEGIN\n", "IDR_X", 4).ended);
}

TEST_F(Reader, StatementsContinuedOnTheNextLines)
{
    // Every field may run on to the next line: the class after the
    // identifier (as resource editors write long controls), the text after
    // its keyword, the coordinates, the header's coordinates.
    const auto r = Read("IDD_SHARE DIALOGEX\r\n"
                        "0, 0, 245, 130\r\n"
                        "{\r\n"
                        "    CONTROL         \"Upload all\",IDC_ALL,\r\n"
                        "                    \"Button\",BS_AUTORADIOBUTTON,7,53,124,10\r\n"
                        "    CONTROL         \"<A>Link</A>\",IDC_LINK,\r\n"
                        "                    \"SysLink\",WS_TABSTOP,\r\n"
                        "                    102,39,45,11\r\n"
                        "    LTEXT\r\n"
                        "                    \"Service:\",IDC_LABEL,41,15,27,8\r\n"
                        "    CONTROL         IDB_LOGO,IDC_STATIC,\"Static\",SS_BITMAP,1,2,3,4\r\n"
                        "    CONTROL         \"\", IDC_CHECK \"Button\", BS_AUTOCHECKBOX, 3, 4, 9, 8\r\n"
                        "    LTEXT\t    \"Tabbed\", IDC_STATIC, 5,5,130,10\r\n"
                        "    SCROLLBAR       IDC_GRIPPER,312,253,7,7\r\n"
                        "    ICON            \"APPICON\"-1,7,17,21,20\r\n"
                        "}\r\n",
                        "IDD_SHARE");
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(dialog.rect.right, 245);
    ASSERT_EQ(dialog.controls.size(), 8u);
    EXPECT_EQ(Control(0).kind, PreviewControlKind::RadioButton);
    EXPECT_EQ(Control(0).text, "Upload all");
    EXPECT_EQ(Control(1).kind, PreviewControlKind::Frame);
    EXPECT_EQ(Control(1).rect.right, 147);
    EXPECT_EQ(Control(2).text, "Service:");
    EXPECT_EQ(Control(2).rect.left, 41);
    EXPECT_EQ(Control(3).kind, PreviewControlKind::Static);
    EXPECT_EQ(Control(3).text, "");
    EXPECT_EQ(Control(4).kind, PreviewControlKind::CheckBox);
    EXPECT_EQ(Control(5).text, "Tabbed");
    EXPECT_EQ(Control(6).kind, PreviewControlKind::ScrollBar);
    EXPECT_EQ(Control(7).kind, PreviewControlKind::Icon);
    EXPECT_EQ(Control(7).rect.left, 7);
}

TEST_F(Reader, MenusWithBracesAndExtendedMenus)
{
    auto r = Read("IDR_EX MENUEX\r\n{\r\n    POPUP \"&File\", 100, MFT_STRING, MFS_ENABLED\r\n    {\r\n"
                  "        MENUITEM \"&Open\", 101, MFT_STRING, MFS_ENABLED\r\n"
                  "        MENUITEM \"\", 0, MFT_SEPARATOR\r\n    }\r\n}\r\n",
                  "IDR_EX", 4);
    EXPECT_TRUE(r.ended);
    ASSERT_EQ(menu.Bar().size(), 1u);
    const auto& entries = menu.Bar()[0].popup->entries;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].type, PreviewMenuEntry::Type::Separator);
    r = Read("M MENU BEGIN\r\n    POPUP \"&A\" BEGIN\r\n        MENUITEM \"&B\", 1\r\n    END\r\n"
             "    POPUP \"&C\" BEGIN\r\n        MENUITEM \"&D\", 2\r\n    END\r\nEND\r\n",
             "M", 4);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(menu.Bar().size(), 2u);
}

TEST_F(Reader, GrayedAndCheckedMenuItems)
{
    Read("M MENU\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n"
         "        MENUITEM \"&Open\", 1, GRAYED\r\n        MENUITEM \"&Grayed? no\", 2, CHECKED\r\n"
         "    END\r\n    POPUP \"&Off\", GRAYED\r\n    BEGIN\r\n        MENUITEM \"x\", 3\r\n    "
         "END\r\nEND\r\n",
         "M", 4);
    ASSERT_EQ(menu.Bar().size(), 2u);
    const auto& items = menu.Bar()[0].popup->entries;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].grayed);
    EXPECT_FALSE(items[1].grayed); // the word in the text does not count
    EXPECT_TRUE(items[1].checked);
    EXPECT_TRUE(menu.Bar()[1].grayed);
}

TEST(PreviewTranslator, TextsShowAsTheCompiledResourceShowsThem)
{
    // The script's "\\\\server" (a path of the network) shows two
    // backslashes, in both modes, as the compiled dialog does.
    const std::string unc = R"(\\\\server\\share)";
    EXPECT_EQ(ShownText(unc), R"(\\server\share)");
    EXPECT_EQ(ShownText(R"(Say ""hi""\tnow)"), "Say \"hi\"\tnow");
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
    general.AddText(unc, R"(\\\\serveur\\partage)");
    PreviewTranslator translator;
    translator.Prepare(&general, &context, &notExtracted, "/a.rc", "IDD_A", 5);
    EXPECT_EQ(translator.Translate(unc, true), R"(\\serveur\partage)");
}

TEST(PreviewTranslator, ATranslationEqualToItsOriginalIsATranslation)
{
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
    general.AddText("OK", "OK");
    general.AddText("Cancel", "");
    PreviewTranslator translator;
    translator.Prepare(&general, &context, &notExtracted, "/a.rc", "IDD_A", 5);
    PreviewDialogInfo dialog;
    for (const char* text : {"OK", "Cancel"}) {
        auto c = std::make_unique<PreviewControl>();
        c->kind = PreviewControlKind::PushButton;
        c->text = text;
        dialog.controls.push_back(std::move(c));
    }
    FillDialogDisplay(dialog, &translator, &context, "/a.rc", "IDD_A");
    EXPECT_EQ(dialog.controls[0]->translated, 1); // no red frame for "OK" -> "OK"
    EXPECT_EQ(dialog.controls[1]->translated, 0);
}

TEST(PreviewTranslator, TranslatedTextsAndFlags)
{
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
    general.AddText("Name", "Nom");
    general.AddText("Line\\nTwo", "Ligne\\nDeux");
    general.AddText("Red", "Rouge");
    general.AddText("Green", "");
    context.AddEntry("/a.rc", "IDD_A+Name", "Name", "", 1, "");
    context.AddEntry("/a.rc", "IDD_A+Red", "Red", "", 0, "IDC_COMBO");
    context.AddEntry("/a.rc", "IDD_A+Green", "Green", "", 0, "IDC_COMBO");
    PreviewTranslator translator;
    translator.Prepare(&general, &context, &notExtracted, "/a.rc", "IDD_A", 5);
    EXPECT_EQ(translator.Translate("&Name:", true), "&Nom:");
    EXPECT_EQ(translator.Translate("Caf\\351", false), "Caf\xE9");
    EXPECT_EQ(translator.Translate("", true), "");

    PreviewDialogInfo dialog;
    dialog.caption = "Name";
    auto add = [&](PreviewControlKind kind, const std::string& text, const std::string& raw,
                   const std::string& id) {
        auto c = std::make_unique<PreviewControl>();
        c->kind = kind;
        c->text = text;
        c->rawText = raw;
        c->idName = id;
        dialog.controls.push_back(std::move(c));
    };
    add(PreviewControlKind::Text, "&Name:", "", "IDC_STATIC");
    add(PreviewControlKind::Text, "Line\nTwo", "Line\\nTwo", "IDC_STATIC");
    add(PreviewControlKind::PushButton, "Cancel", "", "IDCANCEL");
    add(PreviewControlKind::ComboBox, "", "", "IDC_COMBO");
    add(PreviewControlKind::Edit, "", "", "IDC_E");
    FillDialogDisplay(dialog, &translator, &context, "/a.rc", "IDD_A");
    EXPECT_EQ(dialog.displayCaption, "Nom");
    EXPECT_EQ(dialog.captionTranslated, 1);
    EXPECT_EQ(dialog.controls[0]->displayText, "&Nom:");
    EXPECT_EQ(dialog.controls[0]->translated, 1);
    EXPECT_EQ(dialog.controls[1]->displayText, "Ligne\nDeux");
    EXPECT_EQ(dialog.controls[2]->displayText, "Cancel");
    EXPECT_EQ(dialog.controls[2]->translated, 0);
    EXPECT_EQ(dialog.controls[3]->items, (std::vector<std::string>{"Rouge", "Green"}));
    EXPECT_EQ(dialog.controls[3]->translated, 0); // Green has no translation
    EXPECT_EQ(dialog.controls[4]->translated, 0);

    FillDialogDisplay(dialog, nullptr, &context, "/a.rc", "IDD_A");
    EXPECT_EQ(dialog.controls[0]->displayText, "&Name:");
    EXPECT_EQ(dialog.controls[0]->translated, 0);
    EXPECT_EQ(dialog.controls[3]->items, (std::vector<std::string>{"Red", "Green"}));
}

TEST_F(Reader, SizesAsLargeAsTheScriptAllowsDoNotOverflow)
{
    Read("IDD_X DIALOG 0, 0, 2147483647, 10\nBEGIN\n  LTEXT "
         "\"a\",1,2147483647,2,2147483647,-2147483647\nEND\n",
         "IDD_X");
    EXPECT_EQ(dialog.rect.right, 2147483647);
    ASSERT_EQ(dialog.controls.size(), 1u);
    EXPECT_EQ(dialog.controls[0]->rect.right, 2147483647);
    EXPECT_EQ(dialog.controls[0]->rect.bottom, 2 - 2147483647);
}
