#include "views/CListCtrlBookmark.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

CListCtrlBookmark::CListCtrlBookmark(QWidget* parent) : CListCtrlEx(parent)
{
    // The owner sorts on a column click; the bookmarks follow their rows.
    connect(this, &CListCtrlEx::columnClicked, this, [this](int) { RebuildBookmarks(); });
}

void CListCtrlBookmark::BuildImages()
{
    if (!m_imagesPending)
        return;
    m_imagesPending = false;
    CImageList* images = GetImageList(1);
    QPixmap none(16, 16);
    none.fill(Qt::transparent);
    images->Add(none);
    images->Add(QPixmap(QStringLiteral(":/lorvo/icons/bookmark.png")));
    images->Add(QPixmap(QStringLiteral(":/lorvo/icons/tree10.png")));
    images->Add(none);
    images->SetOverlayImage(2, 1);
    images->SetOverlayImage(3, 2);
}

int CListCtrlBookmark::InsertItem(int item, const QString& text)
{
    return InsertItem(item, text, NoBookmark, 0);
}

int CListCtrlBookmark::InsertItem(int item, const QString& text, int image)
{
    return InsertItem(item, text, image, 0);
}

int CListCtrlBookmark::InsertItem(int item, const QString& text, int image, std::intptr_t data)
{
    BuildImages();
    const int index = CListCtrlEx::InsertItem(item, text, image, data);
    if (index < 0)
        return index;
    // The same as rebuilding from the images: later rows move down by one.
    for (int& row : m_bookmarks) {
        if (row >= index)
            ++row;
    }
    if (image == Bookmark) {
        m_bookmarks.append(index);
        std::sort(m_bookmarks.begin(), m_bookmarks.end());
    }
    return index;
}

bool CListCtrlBookmark::DeleteItem(int item)
{
    if (!CListCtrlEx::DeleteItem(item))
        return false;
    RebuildBookmarks();
    return true;
}

bool CListCtrlBookmark::DeleteAllItems()
{
    m_bookmarks.clear();
    return CListCtrlEx::DeleteAllItems();
}

void CListCtrlBookmark::AddBookmark(int row)
{
    if (row < 0 || row >= GetItemCount() || IsBookmark(row))
        return;
    SetItemImage(row, Bookmark);
    m_bookmarks.append(row);
    std::sort(m_bookmarks.begin(), m_bookmarks.end());
}

void CListCtrlBookmark::RemoveBookmark(int row)
{
    SetItemImage(row, NoBookmark);
    m_bookmarks.removeAll(row);
}

void CListCtrlBookmark::ClearBookmarks()
{
    for (int row : m_bookmarks)
        SetItemImage(row, NoBookmark);
    m_bookmarks.clear();
}

bool CListCtrlBookmark::IsBookmark(int row) const
{
    return FindBookmark(row) >= 0;
}

int CListCtrlBookmark::FindBookmark(int row) const
{
    return static_cast<int>(m_bookmarks.indexOf(row));
}

void CListCtrlBookmark::GoTo(int row)
{
    clearSelection();
    SetItemState(row, StateSelected | StateFocused, StateSelected | StateFocused);
    EnsureVisible(row);
}

void CListCtrlBookmark::NextBookmark(int row)
{
    if (m_bookmarks.isEmpty())
        return;
    const int at = FindBookmark(row);
    int target = -1;
    if (at >= 0) {
        target = m_bookmarks.value(at + 1, m_bookmarks.first());
    } else {
        const auto after = std::upper_bound(m_bookmarks.begin(), m_bookmarks.end(), row);
        target = after == m_bookmarks.end() ? m_bookmarks.first() : *after;
    }
    GoTo(target);
}

void CListCtrlBookmark::PreviousBookmark(int row)
{
    if (m_bookmarks.isEmpty())
        return;
    const int at = FindBookmark(row);
    int target = -1;
    if (at >= 0) {
        target = at > 0 ? m_bookmarks[at - 1] : m_bookmarks.last();
    } else {
        const auto before = std::lower_bound(m_bookmarks.begin(), m_bookmarks.end(), row);
        target = before == m_bookmarks.begin() ? m_bookmarks.last() : *(before - 1);
    }
    GoTo(target);
}

int CListCtrlBookmark::GetCurrentRow() const
{
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    return current >= 0 && GetItemState(current, StateSelected) ? current : -1;
}

void CListCtrlBookmark::RebuildBookmarks()
{
    m_bookmarks.clear();
    for (int row = 0; row < GetItemCount(); ++row) {
        if (GetItemImage(row) == Bookmark)
            m_bookmarks.append(row);
    }
}

void CListCtrlBookmark::keyPressEvent(QKeyEvent* event)
{
    const int row = GetCurrentRow();
    if (row < 0 || event->key() != Qt::Key_F2) {
        CListCtrlEx::keyPressEvent(event);
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (ctrl && shift)
        ClearBookmarks();
    else if (ctrl)
        IsBookmark(row) ? RemoveBookmark(row) : AddBookmark(row);
    else if (shift)
        PreviousBookmark(row);
    else
        NextBookmark(row);
}
