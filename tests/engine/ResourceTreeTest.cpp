#include "engine/ResourceTree.h"

#include "TestSupport.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"

#include <gtest/gtest.h>

namespace {

class Tree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        a = dir.File("b_app.rc");
        b = dir.File("A_other.rc");
        WriteBytes(a, "IDD_ZETA DIALOGEX 0, 0, 10, 10\r\nBEGIN\r\nEND\r\n"
                      "IDD_ALPHA DIALOG 0, 0, 10, 10\r\nBEGIN\r\nEND\r\n"
                      "IDD_ALPHA DIALOG 0, 0, 20, 20\r\n" // the same dialog in another language
                      "IDD_ALPHA MENU \r\n"               // hidden by the dialog of that name
                      "idr_main MENU DISCARDABLE\r\nIDR_Menu MENU\r\n"
                      "// IDD_COMMENT DIALOG 1, 2, 3, 4\r\n");
        WriteBytes(b, "IDD_ONLY DIALOG 0,0,1,1\r\n");
        tree.SetFileMap(
            {{a, "/out/b_app.rc"}, {b, "/out/A_other.rc"}, {dir.File("gone.rc"), "/out/gone.rc"}});
        tree.SetStores(&general, &context, &notExtracted);
    }
    std::vector<std::string> Texts(const ResourceTreeItem& item) const
    {
        std::vector<std::string> texts;
        for (const auto& child : item.children)
            texts.push_back(child->text);
        return texts;
    }

    TempDir dir;
    std::string a, b;
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
    ResourceTree tree;
};

} // namespace

TEST_F(Tree, EveryLevelIsInAlphabeticalOrder)
{
    ASSERT_TRUE(tree.RebuildTree());
    ASSERT_EQ(tree.Files().size(), 3u);
    EXPECT_EQ(tree.Files()[0]->text, "A_other.rc");
    EXPECT_EQ(tree.Files()[1]->text, "b_app.rc");
    EXPECT_EQ(tree.Files()[2]->text, "gone.rc"); // unreadable: files and categories only
    const ResourceTreeItem& app = *tree.Files()[1];
    EXPECT_EQ(Texts(app), (std::vector<std::string>{"Dialog boxes", "Menus", "Stringtable"}));
    // A statement in a comment declares nothing.
    EXPECT_EQ(Texts(*app.children[0]), (std::vector<std::string>{"IDD_ALPHA", "IDD_ZETA"}));
    EXPECT_EQ(Texts(*app.children[1]), (std::vector<std::string>{"idr_main", "IDR_Menu"}));
    EXPECT_EQ(app.children[0]->data, ResourceTree::CategoryDialogs);
    EXPECT_EQ(app.children[0]->children[0]->data, 5);
    EXPECT_EQ(app.children[0]->children[0]->image, ResourceTree::ImageDialog);
    EXPECT_EQ(app.children[1]->children[0]->image, ResourceTree::ImageMenu);
    EXPECT_EQ(app.children[1]->children[0]->overlay, ResourceTree::OverlayExtracted);
    EXPECT_EQ(tree.Files()[2]->children.size(), 3u);

    tree.shownKinds = ResourceTree::ShowMenus;
    tree.RebuildTree();
    EXPECT_EQ(Texts(*tree.Files()[1]), (std::vector<std::string>{"Menus"}));
    // IDD_ALPHA is a menu name now that dialogs are not shown.
    EXPECT_EQ(Texts(*tree.Files()[1]->children[0]),
              (std::vector<std::string>{"IDD_ALPHA", "idr_main", "IDR_Menu"}));
}

TEST_F(Tree, OverlaysAndTranslatedIcons)
{
    notExtracted.Add(a + "+IDD_ZETA+5");
    general.AddText("Hello", "Bonjour");
    general.AddText("Bye", "");
    context.AddEntry(a, "IDD_ZETA+Hello", "Hello", "", 0, "");
    context.AddEntry(a, "IDD_ALPHA+Bye", "Bye", "Au revoir", 0, "");
    context.AddEntry(a, "idr_main+Bye", "Bye", "", 0, "");
    context.AddEntry(a, "STRINGTABLE+Hello", "Hello", "", 0, "");
    tree.RebuildTree();
    ResourceTreeItem* category = nullptr;
    ResourceTreeItem* zeta = tree.FindResourceItem(a, "IDD_ZETA", &category);
    ASSERT_NE(zeta, nullptr);
    EXPECT_EQ(category->data, ResourceTree::CategoryDialogs);
    EXPECT_EQ(zeta->overlay, ResourceTree::OverlayNotExtracted);
    EXPECT_EQ(zeta->image, ResourceTree::ImageDialogTranslated);
    EXPECT_EQ(tree.FindResourceItem(a, "IDD_ALPHA")->image, ResourceTree::ImageDialogTranslated);
    EXPECT_EQ(tree.FindResourceItem(a, "idr_main")->image, ResourceTree::ImageMenu);
    const ResourceTreeItem& app = *tree.FindFileItem(a);
    EXPECT_EQ(tree.FindCategory(app, ResourceTree::CategoryDialogs)->image,
              ResourceTree::ImageCategoryTranslated);
    EXPECT_EQ(tree.FindCategory(app, ResourceTree::CategoryMenus)->image, ResourceTree::ImageCategory);
    EXPECT_EQ(tree.FindCategory(app, ResourceTree::CategoryStringTable)->image,
              ResourceTree::ImageStringTableTranslated);
    EXPECT_EQ(app.image, ResourceTree::ImageFile);

    general.SetTranslation("Bye", "Salut");
    tree.UpdateTranslationIcons(); // off by default: nothing changes
    EXPECT_EQ(tree.FindResourceItem(a, "idr_main")->image, ResourceTree::ImageMenu);
    tree.updateIcons = true;
    tree.UpdateTranslationIcons();
    EXPECT_EQ(tree.FindResourceItem(a, "idr_main")->image, ResourceTree::ImageMenuTranslated);
    EXPECT_EQ(tree.FindFileItem(a)->image, ResourceTree::ImageFileTranslated);

    notExtracted.Remove(a + "+IDD_ZETA+5");
    notExtracted.Add(a + "+IDR_Menu+4");
    tree.RefreshExtractMarks();
    EXPECT_EQ(zeta->overlay, ResourceTree::OverlayExtracted);
    EXPECT_EQ(tree.FindResourceItem(a, "IDR_Menu")->overlay, ResourceTree::OverlayNotExtracted);
}

TEST_F(Tree, SelectionIsSavedAndRestored)
{
    tree.RebuildTree();
    const ResourceTreeItem* zeta = tree.FindResourceItem(a, "IDD_ZETA");
    EXPECT_EQ(tree.SelectedSource(zeta), a);
    EXPECT_EQ(tree.SelectedResourceName(zeta), "IDD_ZETA");
    EXPECT_EQ(tree.SaveSelection(zeta), a + ";Dialog boxes;IDD_ZETA");
    EXPECT_EQ(tree.RestoreSelection(a + ";Dialog boxes;IDD_ZETA", false), zeta);

    const ResourceTreeItem* table = tree.FindResourceItem(a, "stringTABLE");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(ResourceTree::KindOf(table), 3);
    EXPECT_EQ(tree.SaveSelection(table), a + ";Stringtable;STRINGTABLE");
    EXPECT_EQ(tree.RestoreSelection(tree.SaveSelection(table), false), table);
    EXPECT_EQ(tree.RestoreSelection(a + ";Stringtable;", false), nullptr);

    const ResourceTreeItem* menus = tree.FindCategory(*tree.FindFileItem(a), ResourceTree::CategoryMenus);
    EXPECT_EQ(tree.SaveSelection(menus), a + ";Menus;");
    EXPECT_EQ(tree.RestoreSelection(a + ";Menus;", false), menus);
    EXPECT_EQ(tree.SaveSelection(tree.FindFileItem(a)), a + ";;");
    EXPECT_EQ(tree.RestoreSelection(a + ";;", false), tree.FindFileItem(a));
    EXPECT_EQ(tree.SaveSelection(nullptr), "");
    EXPECT_EQ(tree.RestoreSelection("", false), nullptr);
    EXPECT_EQ(tree.RestoreSelection(";Menus;X", false), nullptr);
    EXPECT_EQ(tree.RestoreSelection(a + ";Dialog boxes;IDD_NOPE", false), nullptr);
}

TEST(ResourceTree, TheSampleSelectionNamesTheFileOnly)
{
    TempDir dir;
    const std::string sample = dir.File("sample.rc");
    WriteBytes(sample, "IDD_DIALOG1 DIALOGEX 0, 0, 1, 1\n");
    ResourceTree tree;
    EXPECT_FALSE(tree.RebuildTree()); // no map yet
    tree.SetFileMap({{sample, dir.File("out.rc")}});
    ASSERT_TRUE(tree.RebuildTree());
    const ResourceTreeItem* item = tree.RestoreSelection("ignored", true);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, "IDD_DIALOG1");
}

TEST(ResourceTree, ScriptsOfOneNameShowTheFoldersThatTellThemApart)
{
    TempDir dir;
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* path : {"x/de/app.rc", "y/de/app.rc", "fr/App.rc", "other.rc"}) {
        std::filesystem::create_directories(std::filesystem::path(dir.File(path)).parent_path());
        WriteBytes(dir.File(path), "IDD_A DIALOGEX 0, 0, 1, 1\n");
        files.emplace_back(dir.File(path), dir.File(std::string("out/") + path));
    }
    ResourceTree tree;
    tree.SetFileMap(files);
    ASSERT_TRUE(tree.RebuildTree());
    std::vector<std::string> shown;
    for (const auto& file : tree.Files())
        shown.push_back(file->text);
    EXPECT_EQ(shown, (std::vector<std::string>{"fr/App.rc", "other.rc", "x/de/app.rc", "y/de/app.rc"}));
}
