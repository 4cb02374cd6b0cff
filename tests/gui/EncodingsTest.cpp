// The windows show and take texts through the dictionary's own encodings: a
// Unicode dictionary of a UTF-16 script in Russian and Japanese, and an
// 8-bit one whose fonts name the Cyrillic character set.
#include "dictionary/Codec.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "preview/CDlgPreview.h"
#include "settings/Settings.h"
#include "tessary/CRkMessageBox.h"
#include "views/CListCtrlBookmark.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const char* const kScript = "IDD_MAIN DIALOGEX 0, 0, 200, 100\r\n"
                            "CAPTION \"Привет\"\r\n"
                            "BEGIN\r\n"
                            "    LTEXT \"日本語の表示\",IDC_STATIC,7,7,80,8\r\n"
                            "    PUSHBUTTON \"Отмена\",IDCANCEL,7,20,50,14\r\n"
                            "END\r\n";

// A dictionary of one script, made as the wizard makes it.
std::string MakeDictionary(const TempDir& dir, const std::string& script, bool unicode, int codePage = 1252)
{
    const std::string source = dir.File("app.rc");
    WriteBytes(source, script);
    CTrelvarDoc doc;
    EXPECT_TRUE(doc.CreateDictionary("d", dir.Path().string(), "", dir.Path().string(), unicode));
    doc.SetEncodings(codePage, codePage);
    EXPECT_EQ(InsertScript(*doc.Files(), source, dir.File("out.rc"), {}).message, 0);
    ExtractScripts(doc, {source}, nullptr, nullptr, nullptr);
    EXPECT_TRUE(doc.Save());
    return dir.File("d.dic");
}

std::string Utf16(const std::string& utf8)
{
    std::string out;
    EXPECT_TRUE(Codec("UTF-16LE").FromUtf8(utf8, out));
    return "\xFF\xFE" + out;
}

} // namespace

TEST(Encodings, UnicodeDictionaryShowsAndTakesEveryScript)
{
    ModalAnswers::Clear();
    TempDir dir;
    const std::string dic = MakeDictionary(dir, Utf16(kScript), true);
    Program program(dir.File("lorvo.ini"), {QString::fromStdString(dic)});
    CTrelvarDoc& doc = program.frame()->Documents()->Doc();
    ASSERT_TRUE(doc.IsUnicode());
    ModalAnswers::Clear(); // the welcome of a first start

    program.Select({"app.rc", "Dialog boxes", "IDD_MAIN"});
    program.Tab(CDlgPreviewTabs::TabOriginal);
    ASSERT_TRUE(WaitUntil([&] { return program.tree()->DialogPreview() != nullptr; }));
    EXPECT_EQ(program.tree()->DialogPreview()->Caption(), QStringLiteral("Привет"));

    program.frame()->Action(Cmd::Dictionary)->trigger();
    QApplication::processEvents();
    CDlgGeneralDictionary* window = program.frame()->DictionaryWindow();
    CListCtrlEx* list = window->List();
    const int row = RowOf(list, QStringLiteral("日本語の表示"));
    ASSERT_GE(row, 0);
    EXPECT_GE(RowOf(list, QStringLiteral("Отмена")), 0);
    SelectRow(list, row);
    window->TranslationEdit()->setText(QStringLiteral("Ελληνικά ✓"));
    window->ModifyButton()->click();
    EXPECT_EQ(list->GetItemText(row, 1), QStringLiteral("Ελληνικά ✓"));
    window->OnOK();
    std::string stored;
    ASSERT_TRUE(doc.General()->GetTranslation("日本語の表示", stored));
    EXPECT_EQ(stored, "Ελληνικά ✓");
    EXPECT_TRUE(ModalAnswers::Shown().isEmpty())
        << ModalAnswers::Shown().join(QLatin1Char('\n')).toStdString();
    GrabToPng(window, QStringLiteral("unicode-dictionary"));
}

TEST(Encodings, EightBitDictionaryFollowsItsFontsAndRefusesWhatItCannotHold)
{
    ModalAnswers::Clear();
    TempDir dir;
    std::string cyrillic;
    ASSERT_TRUE(Codec("WINDOWS-1251")
                    .FromUtf8("#pragma code_page(1251)\r\nSTRINGTABLE\r\nBEGIN\r\n"
                              "    IDS_A \"Файл\"\r\nEND\r\n",
                              cyrillic));
    const std::string dic = MakeDictionary(dir, cyrillic, false, 1251);
    // The dictionary's fonts name the Cyrillic character set (204).
    const Settings settings(dir.File("lorvo.ini"));
    settings.Set(dic, Settings::DictionaryKey::OriginalFont, "arial;100;204;0;0");
    settings.Set(dic, Settings::DictionaryKey::TranslationFont, "arial;100;204;0;0");
    Program program(dir.File("lorvo.ini"), {QString::fromStdString(dic)});
    CTrelvarDoc& doc = program.frame()->Documents()->Doc();
    EXPECT_EQ(doc.OriginalsCodePage(), 1251);

    program.frame()->Action(Cmd::Dictionary)->trigger();
    QApplication::processEvents();
    CDlgGeneralDictionary* window = program.frame()->DictionaryWindow();
    const int row = RowOf(window->List(), QStringLiteral("Файл"));
    ASSERT_GE(row, 0);
    SelectRow(window->List(), row);
    // Japanese has no place in Windows-1251: refused with a message.
    window->TranslationEdit()->setText(QStringLiteral("日本"));
    ModalAnswers::Push(CRkMessageBox::IdOk);
    window->ModifyButton()->click();
    ASSERT_EQ(ModalAnswers::Shown().size(), 1);
    EXPECT_TRUE(ModalAnswers::Shown()[0].contains(QStringLiteral("日本")));
    window->TranslationEdit()->setText(QStringLiteral("Документ"));
    window->ModifyButton()->click();
    window->OnOK();
    std::string stored;
    ASSERT_TRUE(doc.General()->GetTranslation(std::string("\xD4\xE0\xE9\xEB"), stored));
    std::string expected;
    ASSERT_TRUE(Codec("WINDOWS-1251").FromUtf8("Документ", expected));
    EXPECT_EQ(stored, expected);
}
