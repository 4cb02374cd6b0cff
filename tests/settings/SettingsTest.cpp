#include "settings/Settings.h"

#include "TestSupport.h"
#include "settings/ProfileFile.h"

#include <gtest/gtest.h>

TEST(Settings, AMissingFileGivesEveryDefault)
{
    TempDir dir;
    const Settings s(dir.File("none.ini"));
    EXPECT_FALSE(s.Get(Settings::Flag::Reload));
    EXPECT_TRUE(s.Get(Settings::Flag::Center));
    EXPECT_FALSE(s.Get(Settings::Flag::UpdateTree));
    EXPECT_TRUE(s.Get(Settings::Flag::AskExtract));
    EXPECT_TRUE(s.Get(Settings::Flag::ShowRectangle));
    EXPECT_TRUE(s.Get(Settings::Flag::ShowTexture));
    EXPECT_FALSE(s.Get(Settings::Flag::DictionaryOpen));
    EXPECT_FALSE(s.Get(Settings::Flag::FindInResource));
    EXPECT_EQ(s.Get(Settings::Text::MainViewTexture), "BACKGROUND_ORANGE");
    EXPECT_EQ(s.Get(Settings::Integer::SplitCx), 230);
    EXPECT_EQ(s.Get(Settings::Integer::SelTab), 0);
    EXPECT_EQ(s.Get(Settings::Integer::DictionaryLeft), -1);
    EXPECT_EQ(s.Get(Settings::Integer::DictionaryTop), -1);
    EXPECT_EQ(s.Get(Settings::Integer::EntityDicLeft), 0);
    EXPECT_EQ(s.Get(Settings::Integer::EntityDicTop), 0);
    EXPECT_EQ(s.Get(Settings::Colour::OddLine), 0xFFFFFFu);
    EXPECT_EQ(s.Get(Settings::Colour::EvenLine), 0xC0C0C0u);
    EXPECT_EQ(s.Get(Settings::Colour::Dialog), 0xFFFFFFu);
    EXPECT_EQ(s.Get(Settings::Colour::Menu), 0xC0C0C0u);
    EXPECT_EQ(s.Get(Settings::Colour::Stringtable), 0x808080u);
    EXPECT_EQ(s.Get(Settings::Colour::Rectangle), 0x0000FFu);
    EXPECT_TRUE(s.Get(Settings::History::Find).empty());
    EXPECT_EQ(s.Get("/d/x.dic", Settings::DictionaryKey::OriginalFont), "");
    EXPECT_EQ(s.Get("/d/x.dic", Settings::DictionaryKey::SetFontLists), "0");
    EXPECT_EQ(s.SuppressedCategories(), 0);
    EXPECT_FALSE(s.HasFirstLaunchMark());
    EXPECT_FALSE(std::filesystem::exists(s.Path())); // reads never write
}

TEST(Settings, ValuesRoundTripByTypeAndNamesIgnoreCase)
{
    TempDir dir;
    const Settings s(dir.File("lorvo.ini"));
    EXPECT_TRUE(s.Set(Settings::Flag::Reload, true));
    EXPECT_TRUE(s.Set(Settings::Integer::DictionaryLeft, -25));
    EXPECT_TRUE(s.Set(Settings::Colour::Rectangle, 0x00FF8040u));
    EXPECT_TRUE(s.Set(Settings::Text::MainViewTexture, "SKY"));
    EXPECT_TRUE(s.Set("/home/u/My Dic.dic", Settings::DictionaryKey::SelTreeItem, "a.rc;Menus;IDR_MAIN"));
    EXPECT_EQ(ReadBytes(s.Path()),
              "[General]\nReload=1\nMainViewTexture=SKY\n\n[Interface]\nDictionary_left=-25\n\n"
              "[Color]\nRectangleColor=16744512\n\n[/home/u/My Dic.dic]\n"
              "SelTreeItem=a.rc;Menus;IDR_MAIN\n");
    EXPECT_TRUE(s.Get(Settings::Flag::Reload));
    EXPECT_EQ(s.Get(Settings::Integer::DictionaryLeft), -25);
    EXPECT_EQ(s.Get(Settings::Colour::Rectangle), 0x00FF8040u);
    EXPECT_EQ(s.File().ReadString("general", "MAINVIEWTEXTURE", ""), "SKY");
    EXPECT_TRUE(s.File().WriteString("GENERAL", "reload", "0"));
    EXPECT_FALSE(s.Get(Settings::Flag::Reload));
    EXPECT_NE(ReadBytes(s.Path()).find("[General]\nreload=0\n"), std::string::npos);
}

TEST(Settings, HistoriesSkipGapsAndKeepStaleNumbers)
{
    TempDir dir;
    WriteBytes(dir.File("h.ini"), "[Find]\r\nFind1=alpha\r\nFind3=gamma\r\nFind4=\r\nFind11=ignored\r\n");
    const Settings s(dir.File("h.ini"));
    EXPECT_EQ(s.Get(Settings::History::Find), (std::vector<std::string>{"alpha", "gamma"}));
    EXPECT_TRUE(s.Set(Settings::History::Find, {"new", "", "third"}));
    EXPECT_EQ(s.Get(Settings::History::Find), (std::vector<std::string>{"new", "third"}));
    // The file keeps its CR LF line ends.
    EXPECT_EQ(ReadBytes(s.Path()), "[Find]\r\nFind1=new\r\nFind3=third\r\nFind4=\r\nFind11=ignored\r\n");
}

TEST(Settings, OddFilesReadAndWriteWithoutLosingLines)
{
    TempDir dir;
    const std::string path = dir.File("odd.ini");
    const std::string longValue(5000, 'v');
    WriteBytes(path, "garbage line\n; comment\n[General]\nReload = 1\nreload=0\nno equals here\n=novalue\n"
                     "[Long]\nValue=" +
                         longValue + "\n[Interface]\nSplit_cx=abc\nSelTab=2");
    const Settings s(path);
    EXPECT_TRUE(s.Get(Settings::Flag::Reload)); // the first of two keys counts
    EXPECT_EQ(s.File().ReadString("Long", "Value", "").size(), ProfileFile::kMaxValue);
    EXPECT_EQ(s.Get(Settings::Integer::SplitCx), 0); // unparsable reads as 0
    EXPECT_EQ(s.Get(Settings::Integer::SelTab), 2);
    EXPECT_TRUE(s.Set(Settings::Integer::SelTab, 1));
    EXPECT_TRUE(s.Set(Settings::Flag::Center, false));
    EXPECT_EQ(ReadBytes(path),
              "garbage line\n; comment\n[General]\nReload = 1\nreload=0\nno equals here\n=novalue\n"
              "Center=0\n[Long]\nValue=" +
                  longValue + "\n[Interface]\nSplit_cx=abc\nSelTab=1\n");
}

TEST(Settings, ReadingAndWritingAgreeOnOddFiles)
{
    TempDir dir;
    const std::string path = dir.File("odd.ini");
    // A dictionary's section named by a path that holds "]".
    const Settings s(path);
    EXPECT_TRUE(s.Set("/home/u/a]b/d.dic", Settings::DictionaryKey::SelTreeItem, "x"));
    EXPECT_TRUE(s.Set("/home/u/a]b/d.dic", Settings::DictionaryKey::SelTreeItem, "y"));
    EXPECT_EQ(s.Get("/home/u/a]b/d.dic", Settings::DictionaryKey::SelTreeItem), "y");
    EXPECT_EQ(ReadBytes(path), "[/home/u/a]b/d.dic]\nSelTreeItem=y\n");
    // A lone "[", a NUL byte, carriage returns alone, keys and sections met
    // twice: what is written reads back, and nothing else changes.
    static const char kOdd[] = "[\r[General]\rReload=1\rreload=0\rx=a\0b\r[General]\rCenter=0\r";
    WriteBytes(path, std::string(kOdd, sizeof kOdd - 1));
    EXPECT_EQ(s.File().ReadString("General", "x", ""), std::string("a\0b", 3));
    EXPECT_TRUE(s.Get(Settings::Flag::Reload));
    EXPECT_TRUE(s.Set(Settings::Flag::Reload, false));
    EXPECT_FALSE(s.Get(Settings::Flag::Reload));
    EXPECT_TRUE(s.Set(Settings::Flag::Center, true));
    EXPECT_TRUE(s.Get(Settings::Flag::Center));
    EXPECT_TRUE(s.File().DeleteKey("general", "RELOAD"));
    EXPECT_TRUE(s.Get(Settings::Flag::Reload) == false); // the second key counts now: reload=0
    static const char kAfter[] = "[\r[General]\rreload=0\rx=a\0b\rCenter=1\r[General]\rCenter=0\r";
    EXPECT_EQ(ReadBytes(path), std::string(kAfter, sizeof kAfter - 1));
}

TEST(Settings, UnwritableFilesFailQuietly)
{
    TempDir dir;
    const Settings s(dir.File("no/such/folder/x.ini"));
    EXPECT_FALSE(s.Set(Settings::Flag::Reload, true));
    EXPECT_FALSE(s.Get(Settings::Flag::Reload));
}

TEST(Settings, FirstLaunchMarkAndSuppressedCategories)
{
    TempDir dir;
    const Settings s(dir.File("p.ini"));
    EXPECT_TRUE(s.SetFirstLaunchMark());
    EXPECT_TRUE(s.HasFirstLaunchMark());
    EXPECT_TRUE(s.SetSuppressedCategories(8));
    EXPECT_TRUE(s.ClearFirstLaunchMark());
    EXPECT_FALSE(s.HasFirstLaunchMark());
    EXPECT_EQ(s.SuppressedCategories(), 8);
    EXPECT_EQ(ReadBytes(s.Path()), "[Parameters]\ngrpDisabled=8\n");
}
