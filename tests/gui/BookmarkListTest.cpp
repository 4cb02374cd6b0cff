#include "views/CListCtrlBookmark.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct BookmarkList : ::testing::Test
{
    void SetUp() override
    {
        list.InsertColumn(0, QStringLiteral("Original"), CListCtrlEx::FormatLeft, 150);
        for (int i = 0; i < 10; ++i)
            list.InsertItem(i, QStringLiteral("Text %1").arg(i), CListCtrlBookmark::NoBookmark, 10 - i);
        list.resize(300, 300);
        list.show();
        list.setFocus();
        QApplication::processEvents();
    }
    void Current(int row)
    {
        list.clearSelection();
        list.SetItemState(row, CListCtrlEx::StateSelected | CListCtrlEx::StateFocused,
                          CListCtrlEx::StateSelected | CListCtrlEx::StateFocused);
    }
    void Key(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&list, Qt::Key_F2, modifiers);
    }

    CListCtrlBookmark list;
};

int ByData(std::intptr_t a, std::intptr_t b, std::intptr_t)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace

TEST_F(BookmarkList, F2VisitsTheBookmarksAndWraps)
{
    Key(); // no current row: nothing happens
    EXPECT_EQ(list.GetCurrentRow(), -1);
    for (int row : {2, 5, 8}) {
        Current(row);
        Key(Qt::ControlModifier);
    }
    EXPECT_EQ(list.Bookmarks(), (QList<int>{2, 5, 8}));
    EXPECT_EQ(list.GetItemImage(5), CListCtrlBookmark::Bookmark);
    Current(8);
    Key();
    EXPECT_EQ(list.GetCurrentRow(), 2); // wrapped to the first
    Key(Qt::ShiftModifier);
    EXPECT_EQ(list.GetCurrentRow(), 8); // and back to the last
    Current(3);
    Key();
    EXPECT_EQ(list.GetCurrentRow(), 5); // between two: the next one below
    Current(3);
    Key(Qt::ShiftModifier);
    EXPECT_EQ(list.GetCurrentRow(), 2); // and the one above
    Current(9);
    Key();
    EXPECT_EQ(list.GetCurrentRow(), 2);
}

TEST_F(BookmarkList, CtrlF2TwiceLeavesNoBookmarkAndCtrlShiftF2ClearsAll)
{
    Current(4);
    Key(Qt::ControlModifier);
    Key(Qt::ControlModifier);
    EXPECT_TRUE(list.Bookmarks().isEmpty());
    EXPECT_EQ(list.GetItemImage(4), CListCtrlBookmark::NoBookmark);
    list.AddBookmark(1);
    list.AddBookmark(7);
    Current(7);
    Key(Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(list.Bookmarks().isEmpty());
    EXPECT_EQ(list.GetItemImage(1), CListCtrlBookmark::NoBookmark);
}

TEST_F(BookmarkList, BookmarksFollowTheirRowsThroughSortingAndDeleting)
{
    list.AddBookmark(2); // data 8
    list.AddBookmark(6); // data 4
    list.SetCompareProcForSorting(ByData);
    list.Sort(0, false); // reversed: data 1 .. 10
    list.RebuildBookmarks();
    EXPECT_EQ(list.Bookmarks(), (QList<int>{3, 7}));
    EXPECT_EQ(list.GetItemData(3), 4);
    EXPECT_EQ(list.GetItemData(7), 8);
    list.DeleteItem(0);
    EXPECT_EQ(list.Bookmarks(), (QList<int>{2, 6}));
    Current(0);
    Key();
    EXPECT_EQ(list.GetItemData(list.GetCurrentRow()), 4);
    list.InsertItem(0, QStringLiteral("new"), CListCtrlBookmark::Bookmark, 99);
    EXPECT_EQ(list.Bookmarks(), (QList<int>{0, 3, 7}));
    list.DeleteAllItems();
    EXPECT_TRUE(list.Bookmarks().isEmpty());
}
