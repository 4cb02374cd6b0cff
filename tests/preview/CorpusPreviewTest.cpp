// Every dialog and menu of the corpus of real scripts read as the preview
// reads it: no crash, every resource ended, every control the corpus counts
// and about as many menu items.
#include "TestSupport.h"
#include "engine/ResourceTree.h"
#include "engine/ScriptResources.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/StyleNameTable.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::size_t CountEntries(const std::vector<PreviewMenuEntry>& entries)
{
    std::size_t n = entries.size();
    for (const auto& e : entries) {
        if (e.popup)
            n += CountEntries(e.popup->entries);
    }
    return n;
}

} // namespace

TEST(CorpusPreview, EveryDialogAndMenuReads)
{
    const fs::path corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "the corpus of real scripts is not available";
    std::ifstream manifest(corpus / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);
    StyleNameTable styles;
    int counter = 1000;
    std::size_t scripts = 0, dialogs = 0, ended = 0, controls = 0, expectedControls = 0;
    std::size_t menus = 0, entries = 0, expectedEntries = 0;
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::stringstream row(line);
        for (std::string f; std::getline(row, f, '\t');)
            fields.push_back(f);
        if (fields.size() < 23)
            continue;
        const fs::path path = corpus /
                              (fields[0] == "microsoft/VCSamples" ? "VCSamples" : "Windows-classic-samples") /
                              fields[3];
        ScriptResources resources;
        if (!resources.Scan(path.string()))
            continue;
        ++scripts;
        // Scripts that hold every resource once can be compared with the counts.
        const bool unique = std::stoul(fields[8]) + std::stoul(fields[9]) == resources.dialogs.size() &&
                            std::stoul(fields[10]) + std::stoul(fields[11]) == resources.menus.size();
        PreviewReader reader(styles, counter);
        for (const std::string& name : resources.dialogs) {
            PreviewDialogInfo dialog;
            PreviewMenu menu;
            const auto r = reader.Read(path.string(), name, 5, dialog, menu);
            ++dialogs;
            ended += r.ended;
            if (unique)
                controls += dialog.controls.size();
            EXPECT_LT(dialog.controls.size(), 2000u) << path << " " << name;
        }
        for (const std::string& name : resources.menus) {
            PreviewDialogInfo dialog;
            PreviewMenu menu;
            const auto r = reader.Read(path.string(), name, 4, dialog, menu);
            ++menus;
            ended += r.ended;
            if (unique)
                entries += CountEntries(menu.Bar());
        }
        if (unique) {
            expectedControls += std::stoul(fields[19]);
            expectedEntries += std::stoul(fields[20]) + std::stoul(fields[21]) + std::stoul(fields[22]);
        }
    }
    EXPECT_GT(scripts, 900u);
    EXPECT_GT(dialogs, 1000u);
    EXPECT_GT(menus, 300u);
    // Every resource is read to its END.
    EXPECT_EQ(ended, dialogs + menus);
    // Every control statement makes a record, whatever its layout.
    EXPECT_EQ(controls, expectedControls);
    // Menu items: all but those of a menu declared with a lower-case
    // keyword and items commented out after blanks.
    EXPECT_GT(entries * 1000, expectedEntries * 995);
    RecordProperty("controls", std::to_string(controls) + " of " + std::to_string(expectedControls));
    RecordProperty("menuEntries", std::to_string(entries) + " of " + std::to_string(expectedEntries));
}
