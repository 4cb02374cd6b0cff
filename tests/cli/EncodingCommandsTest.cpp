// The command line on scripts in their own encoding: a Unicode dictionary
// made with "new --encoding utf-8" translates a UTF-16 and a UTF-8 script,
// and each output differs from its source only in the translated texts.
#include "TestSupport.h"
#include "cli/CliRunner.h"
#include "dictionary/Codec.h"

#include <gtest/gtest.h>

namespace {

const char* const kScript = "STRINGTABLE\r\n"
                            "BEGIN\r\n"
                            "    IDS_OPEN \"Открыть\"\r\n"
                            "    IDS_SAVE \"保存\"\r\n"
                            "    IDS_QUIT \"Quit\"\r\n"
                            "END\r\n";

std::string Encoded(const std::string& utf8, const char* form)
{
    std::string out;
    EXPECT_TRUE(Codec(form).FromUtf8(utf8, out));
    return out;
}

} // namespace

TEST(CliEncodings, UnicodeDictionaryTranslatesUtf16AndUtf8Scripts)
{
    TempDir dir;
    const std::string dic = dir.File("d.dic");
    const std::string wide = dir.File("wide.rc");
    const std::string narrow = dir.File("narrow.rc");
    WriteBytes(wide, "\xFF\xFE" + Encoded(kScript, "UTF-16LE"));
    WriteBytes(narrow, std::string(kScript));
    Result r = RunCli(dir, {"new", dir.Path().string(), "d", "--encoding", "utf-8"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadBytes(dic).compare(0, 3, "\xEF\xBB\xBF"), 0);
    for (const std::string& script : {wide, narrow})
        ASSERT_EQ(RunCli(dir, {"insert", dic, script, dir.File("out/")}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
    r = RunCli(dir, {"find", dic, "保存"});
    EXPECT_EQ(r.exit, 0) << r.err;
    ASSERT_EQ(RunCli(dir, {"translate", dic, "Открыть", "Ouvrir"}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"translate", dic, "保存", "Сохранить"}).exit, 0);
    r = RunCli(dir, {"generate", dic});
    ASSERT_EQ(r.exit, 0) << r.err;

    std::string expected = Replace(Replace(kScript, "Открыть", "Ouvrir"), "保存", "Сохранить");
    EXPECT_EQ(ReadBytes(dir.File("out/wide.rc")), "\xFF\xFE" + Encoded(expected, "UTF-16LE"));
    EXPECT_EQ(ReadBytes(dir.File("out/narrow.rc")), expected);
}

TEST(CliEncodings, EightBitCodePagesAndUnknownEncodings)
{
    TempDir dir;
    Result r = RunCli(dir, {"new", dir.Path().string(), "d", "--encoding", "klingon"});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("unknown encoding"), std::string::npos) << r.err;

    // A Shift-JIS script in an 8-bit dictionary of code page 932: a text
    // typed in UTF-8 is converted, one the code page cannot hold is refused.
    const std::string dic = dir.File("d.dic");
    const std::string script = dir.File("jp.rc");
    WriteBytes(script, "#pragma code_page(932)\r\n" +
                           Encoded("STRINGTABLE\r\nBEGIN\r\n    IDS_A \"表示\"\r\nEND\r\n", "CP932"));
    // The dictionary records its code page: no command needs to name it.
    r = RunCli(dir, {"new", dir.Path().string(), "d", "--encoding", "cp932"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(ReadBytes(dir.File("d.fil")).find("\";\"932\""), std::string::npos);
    r = RunCli(dir, {"insert", dic, script, dir.File("out.rc")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out.find("declares code page"), std::string::npos) << r.out;
    ASSERT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
    r = RunCli(dir, {"translate", dic, "表示", "Привет"});
    EXPECT_EQ(r.exit, 0) << r.err; // Cyrillic is in code page 932
    r = RunCli(dir, {"translate", dic, "表示", "한국어"});
    EXPECT_EQ(r.exit, 1) << r.err;
    ASSERT_EQ(RunCli(dir, {"generate", dic}).exit, 0);
    EXPECT_EQ(ReadBytes(dir.File("out.rc")),
              "#pragma code_page(932)\r\n" +
                  Encoded("STRINGTABLE\r\nBEGIN\r\n    IDS_A \"Привет\"\r\nEND\r\n", "CP932"));
}

TEST(CliEncodings, ADictionaryKeepsTheCodePageItWasMadeWith)
{
    TempDir dir;
    const std::string dic = dir.File("ru.dic");
    const std::string script = dir.File("ru.rc");
    WriteBytes(script, "#pragma code_page(1251)\r\n" +
                           Encoded("STRINGTABLE\r\nBEGIN\r\n    IDS_A \"Открыть\"\r\nEND\r\n", "CP1251"));
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "ru", "--encoding", "cp1251"}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"insert", dic, script, dir.File("out.rc")}).exit, 0);
    Result r = RunCli(dir, {"extract", dic});
    ASSERT_EQ(r.exit, 0) << r.err;
    r = RunCli(dir, {"find", dic, "Открыть"});
    EXPECT_EQ(r.exit, 0) << r.err;

    // A script in another code page is inserted, and said to be.
    const std::string greek = dir.File("el.rc");
    WriteBytes(greek, "#pragma code_page(1253)\r\nSTRINGTABLE\r\nBEGIN\r\n    IDS_B \"Open\"\r\nEND\r\n");
    r = RunCli(dir, {"insert", dic, greek, dir.File("el-out.rc")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("declares code page 1253, but the dictionary's texts are in code page 1251"),
              std::string::npos)
        << r.out;

    // A code page named on the command line that is not the recorded one is
    // said, used, and recorded by the next save.
    r = RunCli(dir, {"stats", dic, "--code-page", "cp1252"});
    EXPECT_NE(r.err.find("records code page 1251"), std::string::npos) << r.err;
}
