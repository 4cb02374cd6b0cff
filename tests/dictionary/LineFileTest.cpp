#include "dictionary/LineFile.h"

#include "TestSupport.h"
#include "dictionary/Messages.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

std::vector<std::pair<std::string, LineFile::LineEnd>> ReadAll(const std::string& path)
{
    LineFile file;
    EXPECT_TRUE(file.OpenForReading(path));
    std::vector<std::pair<std::string, LineFile::LineEnd>> lines;
    std::string line;
    for (auto n = file.ReadFirstLine(line); n >= 0; n = file.ReadLine(line)) {
        EXPECT_EQ(n, static_cast<std::int64_t>(line.size()));
        lines.emplace_back(line, file.LastLineEnd());
    }
    return lines;
}

} // namespace

TEST(LineFile, ReadsCrLfAndLfLinesAndRemembersTheirEnds)
{
    TempDir dir;
    const std::string path = dir.File("mixed.txt");
    WriteBytes(path, std::string("one\r\ntwo\n\r\nEND\r\nlast\r", 21) + std::string("\0x", 2));
    const auto lines = ReadAll(path);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::make_pair(std::string("one"), LineFile::LineEnd::CrLf));
    EXPECT_EQ(lines[1], std::make_pair(std::string("two"), LineFile::LineEnd::Lf));
    EXPECT_EQ(lines[2], std::make_pair(std::string(), LineFile::LineEnd::CrLf));
    EXPECT_EQ(lines[3], std::make_pair(std::string("END"), LineFile::LineEnd::CrLf));
    // A lone CR and a zero byte are ordinary bytes of the last line.
    EXPECT_EQ(lines[4], std::make_pair(std::string("last\r\0x", 7), LineFile::LineEnd::None));
}

TEST(LineFile, FirstLineRewindsAndEmptyFilesHaveNoLine)
{
    TempDir dir;
    const std::string path = dir.File("a.txt");
    WriteBytes(path, "head\nbody\n");
    LineFile file;
    ASSERT_TRUE(file.OpenForReading(path));
    std::string line;
    EXPECT_EQ(file.ReadFirstLine(line), 4);
    EXPECT_EQ(file.ReadLine(line), 4);
    EXPECT_EQ(line, "body");
    EXPECT_EQ(file.ReadLine(line), -1);
    EXPECT_EQ(file.ReadFirstLine(line), 4);
    EXPECT_EQ(line, "head");
    EXPECT_EQ(file.Size(), 10);

    WriteBytes(dir.File("empty.txt"), "");
    LineFile empty;
    ASSERT_TRUE(empty.OpenForReading(dir.File("empty.txt")));
    EXPECT_EQ(empty.ReadFirstLine(line), -1);

    LineFile missing;
    EXPECT_FALSE(missing.OpenForReading(dir.File("missing.txt")));
    EXPECT_EQ(missing.ReadFirstLine(line), -1);
    EXPECT_EQ(missing.Size(), -1);
}

TEST(LineFile, ReadsVeryLongLinesWhole)
{
    TempDir dir;
    const std::string path = dir.File("long.txt");
    const std::string longLine(10 * 1024 * 1024, 'x');
    WriteBytes(path, "a\r\n" + longLine + "\r\nb");
    const auto lines = ReadAll(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].first.size(), longLine.size());
    EXPECT_EQ(lines[2].first, "b");
}

TEST(LineFile, WritesCrLfByDefaultAndTheGivenLineEnds)
{
    TempDir dir;
    const std::string path = dir.File("out.txt");
    LineFile file;
    ASSERT_TRUE(file.OpenForWriting(path, nullptr));
    file.WriteLine("a");
    file.WriteLine("b", LineFile::LineEnd::Lf);
    file.WriteLine("c", LineFile::LineEnd::None);
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes(path), "a\r\nb\nc");
}

TEST(LineFile, TheOldFileSurvivesUntilTheNewOneIsComplete)
{
    TempDir dir;
    const std::string path = dir.File("keep.txt");
    WriteBytes(path, "old content\r\n");

    LineFile abandoned;
    ASSERT_TRUE(abandoned.OpenForWriting(path, nullptr));
    abandoned.WriteLine("new");
    EXPECT_EQ(ReadBytes(path), "old content\r\n");
    abandoned.Discard();
    EXPECT_EQ(ReadBytes(path), "old content\r\n");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    LineFile written;
    ASSERT_TRUE(written.OpenForWriting(path, nullptr));
    written.WriteLine("new");
    EXPECT_EQ(ReadBytes(path), "old content\r\n");
    EXPECT_TRUE(written.Close());
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST(LineFile, AFailedWriteKeepsTheOldFileAndIsReported)
{
    TempDir dir;
    const std::string path = dir.File("full.txt");
    WriteBytes(path, "old\r\n");

    // Simulate a full disk: the process may not write files beyond 4 KB.
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);

    RecordingReporter reporter;
    LineFile file;
    bool closed = true;
    if (file.OpenForWriting(path, &reporter)) {
        for (int i = 0; i < 1000; ++i)
            file.WriteLine(std::string(100, 'y'));
        closed = file.Close();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(closed);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    ASSERT_EQ(reporter.texts.size(), 1u);
    // The system's reason follows on a line of its own.
    EXPECT_EQ(reporter.texts[0], "Cannot save the file " + path + "\nFile too large");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(LineFile, OpeningForWritingInAMissingFolderIsReported)
{
    TempDir dir;
    RecordingReporter reporter;
    LineFile file;
    const std::string path = dir.File("no/such/folder/x.dic");
    EXPECT_FALSE(file.OpenForWriting(path, &reporter));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.WriteLine("x"), -1);
    ASSERT_EQ(reporter.ids, std::vector<int>{MsgCannotSaveFile});
    EXPECT_EQ(reporter.texts[0], "Cannot save the file " + path + "\nNo such file or directory");
}

TEST(LineFile, AFileThatGrowsAfterItIsOpenedIsReadToItsNewEnd)
{
    TempDir dir;
    const std::string path = dir.File("a.rc");
    WriteBytes(path, "one\r\ntwo\r\n");
    LineFile file;
    ASSERT_TRUE(file.OpenForReading(path));
    EXPECT_EQ(file.Size(), 10);
    std::string line;
    ASSERT_EQ(file.ReadFirstLine(line), 3);
    // Grown past the first read's block, while a line was read already.
    const std::string more(70000, 'x');
    {
        std::FILE* f = std::fopen(path.c_str(), "ab");
        ASSERT_TRUE(f);
        std::fputs(more.c_str(), f);
        std::fclose(f);
    }
    char start[12] = {};
    EXPECT_EQ(file.ReadStart(start, sizeof start), 12);
    EXPECT_EQ(std::string(start, 12), "one\r\ntwo\r\nxx");
    std::string bytes;
    ASSERT_TRUE(file.ReadAll(bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\n" + more);
    // The lines go on from where they were.
    ASSERT_EQ(file.ReadLine(line), 3);
    EXPECT_EQ(line, "two");
    ASSERT_EQ(file.ReadLine(line), 70000);
    EXPECT_EQ(file.ReadLine(line), -1);
}
