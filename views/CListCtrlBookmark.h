#pragma once

#include "tessary/CListCtrlEx.h"

#include <QList>

/// The text list of both dictionary windows: rows can be bookmarked
/// (their image shows a bookmark) and visited with F2 and Shift+F2, with
/// Ctrl+F2 to set or remove a bookmark and Ctrl+Shift+F2 to remove them
/// all. Overlay 1 and 2 mark the rows (texts not to translate).
class CListCtrlBookmark : public CListCtrlEx
{
    Q_OBJECT
public:
    enum Image
    {
        NoBookmark = 0,
        Bookmark = 1
    };

    explicit CListCtrlBookmark(QWidget* parent = nullptr);

    int InsertItem(int item, const QString& text);
    int InsertItem(int item, const QString& text, int image);
    int InsertItem(int item, const QString& text, int image, std::intptr_t data);
    bool DeleteItem(int item);
    bool DeleteAllItems();

    void AddBookmark(int row);
    void RemoveBookmark(int row);
    void ClearBookmarks();
    bool IsBookmark(int row) const;
    /// Position of the row in the bookmark array, or -1.
    int FindBookmark(int row) const;
    void NextBookmark(int row);
    void PreviousBookmark(int row);
    /// The first row that is both focused and selected, or -1.
    int GetCurrentRow() const;
    /// The array again from the rows' images, in row order.
    void RebuildBookmarks();
    const QList<int>& Bookmarks() const { return m_bookmarks; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildImages();
    void GoTo(int row);

    bool m_imagesPending = true;
    QList<int> m_bookmarks;
};
