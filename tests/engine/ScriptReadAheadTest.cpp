#include "engine/ScriptReadAhead.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> MakeScripts(const TempDir& dir, int count)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(dir.File("s" + std::to_string(i) + ".rc"));
        WriteBytes(paths.back(),
                   std::string(static_cast<std::size_t>(i) * 97, static_cast<char>('a' + i % 26)));
    }
    return paths;
}

} // namespace

TEST(ScriptReadAhead, GivesEachScriptInItsTurnAsItWouldBeReadThen)
{
    TempDir dir;
    std::vector<std::string> paths = MakeScripts(dir, 3 * static_cast<int>(ScriptReadAhead::kMostFiles));
    // A script that is not there, one larger than what is held ahead, and
    // one named twice.
    paths.insert(paths.begin() + 5, dir.File("gone.rc"));
    const std::string large = dir.File("large.rc");
    WriteBytes(large, std::string(ScriptReadAhead::kMostBytes + 10, 'x'));
    paths.insert(paths.begin() + 9, large);
    paths.push_back(paths[1]);

    ScriptReadAhead ahead(paths);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        // A path out of turn is not given, and the turn stays.
        if (i + 1 < paths.size() && paths[i + 1] != paths[i]) {
            EXPECT_FALSE(ahead.Take(paths[i + 1])) << i;
        }
        std::optional<ScriptFileRead> read = ahead.Take(paths[i]);
        ASSERT_TRUE(read) << i;
        const ScriptFileRead direct = ReadScriptFile(paths[i]);
        EXPECT_EQ(read->opened, direct.opened) << paths[i];
        EXPECT_EQ(read->whole, direct.whole) << paths[i];
        EXPECT_EQ(read->error, direct.error) << paths[i];
        EXPECT_EQ(read->bytes, direct.bytes) << paths[i];
        EXPECT_EQ(read->identity.known, direct.identity.known) << paths[i];
        EXPECT_EQ(SameFile(read->identity, direct.identity), direct.identity.known) << paths[i];
    }
    EXPECT_FALSE(ahead.Take(paths[0]));
}

TEST(ScriptReadAhead, StopsWhenTheRunEndsEarly)
{
    // The reader waits with its files held; ending the run must not wait
    // for it to read the rest.
    TempDir dir;
    const std::vector<std::string> paths =
        MakeScripts(dir, 5 * static_cast<int>(ScriptReadAhead::kMostFiles));
    {
        ScriptReadAhead ahead(paths);
        ASSERT_TRUE(ahead.Take(paths[0]));
    }
    ScriptReadAhead unused(paths);
}
