#pragma once

#include "tessary/CAttribute.h"
#include "tessary/CRegistryAccess.h"
#include "tessary/TessaryExport.h"

#include <QFont>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QTreeView>

#include <cstdint>
#include <memory>
#include <vector>

class QFontMetrics;
class QLineEdit;
class QPlainTextEdit;

/// Pictures of list rows: images by index, and which images serve as
/// overlays 1, 2, ...
class TESSARY_EXPORT CImageList
{
public:
    int Add(const QPixmap& picture);
    int Count() const { return static_cast<int>(m_images.size()); }
    QPixmap At(int index) const;
    void SetOverlayImage(int image, int overlay);
    QPixmap Overlay(int overlay) const;
    bool IsEmpty() const { return m_images.empty(); }

private:
    std::vector<QPixmap> m_images;
    std::vector<int> m_overlays;
};

/// The report list of every list window: per-cell, per-row, per-column and
/// alternating colours and fonts painted with full-row selection, cells
/// shortened with "...", an optional textured background, in-place editing
/// of the columns after the first, a window showing a cell's whole text,
/// sorting by a comparison function, column persistence, and saving to and
/// reading from HTML or separated text. Rows are kept in a model, so lists
/// of 100,000 rows stay fast.
class TESSARY_EXPORT CListCtrlEx : public QTreeView
{
    Q_OBJECT
public:
    /// Compares the item data of two rows; the third value is the sort
    /// value: direction × 65536 + column.
    using CompareProc = int (*)(std::intptr_t data1, std::intptr_t data2, std::intptr_t sortValue);
    enum Format
    {
        FormatLeft = 0,
        FormatRight = 1,
        FormatCenter = 2
    };
    enum State
    {
        StateSelected = 0x2,
        StateFocused = 0x1
    };

    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    // Modes.
    bool SetFullRowSel(bool on);
    bool GetFullRowSel() const { return m_fullRowSel; }
    void SetSingleSelection(bool single);
    int GetColumnCount() const;
    /// 0: the normal image list, 1: the small one (row images); else null.
    CImageList* GetImageList(int which);
    void SetBackGroundImage(const QString& name);
    QString GetBackGroundImage() const { return m_backgroundImage; }
    void SetContinuousBackGround(bool continuous);
    bool IsContinuousBackGround() const { return m_continuous; }
    /// Row phases: row r uses entry r mod n. Column phases: column c uses c mod m.
    CItemAttributes* GetInterlacedLineAttributes() { return &m_lineAttributes; }
    CItemAttributes* GetInterlacedColumnAttributes() { return &m_columnPhaseAttributes; }
    int GetClickedColumn() const { return m_clickedColumn; }

    // Items.
    int InsertItem(int item, const QString& text);
    int InsertItem(int item, const QString& text, int image);
    int InsertItem(int item, const QString& text, int image, std::intptr_t data);
    int GetItemCount() const;
    bool SetItemData(int item, std::intptr_t data);
    std::intptr_t GetItemData(int item) const;
    /// The item data behind a row's attribute list, as sort callbacks get it.
    static std::intptr_t GetLParam(const CItemAttributes* attributes);
    /// The last item whose data equals the value, or -1.
    int GetIndex(std::intptr_t data) const;
    bool SetItemText(int item, int column, const QString& text);
    QString GetItemText(int item, int column) const;
    bool SetItemImage(int item, int image);
    int GetItemImage(int item) const;
    bool SetItemOverlay(int item, int overlay);
    int GetItemOverlay(int item) const;
    bool DeleteItem(int item);
    bool DeleteAllItems();

    // Selection.
    bool SetItemState(int item, unsigned state, unsigned mask);
    unsigned GetItemState(int item, unsigned mask) const;
    /// The first item after `from` (or from the start) with all the state bits.
    int GetNextItem(int from, unsigned state) const;
    QList<int> GetSelectedItems() const;
    void EnsureVisible(int item);

    // Cell attributes and their resolution.
    bool SetItemForeColor(int item, int column, std::uint32_t colour);
    bool SetItemBackColor(int item, int column, std::uint32_t colour);
    bool SetItemFont(int item, int column, const QFont* font);
    CAttribute* SetSubItemAttribute(int item, int column);
    CAttribute* GetSubItemAttribute(int item, int column) const;
    const QFont* GetSubItemFont(int item, int column) const;
    std::uint32_t GetSubItemForeColor(int item, int column) const;
    std::uint32_t GetSubItemBackColor(int item, int column) const;
    bool IsSubItemTransparent(int item, int column) const;

    // Columns.
    int InsertColumn(int column, const QString& heading, int format = FormatLeft, int width = -1,
                     int subItem = -1);
    bool SetColumnFont(int column, const QFont* font);
    bool DeleteColumn(int column);
    bool DeleteAllColumns();
    int GetColumnWidth(int column, bool inPercent = false) const;
    bool SetColumnWidth(int column, int width);
    QString GetColumnHeading(int column) const;
    bool GetSubItemRect(int item, int column, QRect& rect) const;
    /// 0 left, 1 right, 2 centre; -1 for a column that does not exist.
    int GetAlignment(int column) const;
    QString GetHtmlAlignment(int column) const;

    // Whole-text window and in-place editing.
    bool DisplayEntireItem(int item, int column);
    void HideEntireItem();
    QPlainTextEdit* EntireItemWindow() const { return m_entireWindow; }
    /// Starts editing a cell of a column after the first.
    bool EditSubItem(int item, int column);
    /// Whether a click on a cell of the selected row starts an in-place
    /// edit. Off unless the list's owner handles the edited text.
    void SetInPlaceEditing(bool on) { m_inPlaceEditing = on; }
    bool InPlaceEditing() const { return m_inPlaceEditing; }
    /// The editor; after the end-edit signal its text is the new value.
    QLineEdit* InPlaceEditor() const { return m_editor; }
    int EditedItem() const { return m_editedItem; }
    int EditedColumn() const { return m_editedColumn; }

    // Sorting.
    void SetCompareProcForSorting(CompareProc compare) { m_compare = compare; }
    /// Sorts by the column (-1: the last one); toggling flips the direction
    /// when the column is the last one sorted.
    void Sort(int column, bool toggle);
    int SortDirection(int column) const;

    // Column persistence.
    void SetPersistStorage(CRegistryAccess::Root root, const QString& subKey);
    void SetPersistStorage(const QString& file, const QString& section);
    bool StorePersistStorage();
    bool RestorePersistStorage();

    // Files.
    /// Writes the list as an HTML table ("htm") or as text separated by
    /// spaces ("prn"), commas ("csv") or tabs (anything else). An empty
    /// extension is taken from the path. False when the file cannot be
    /// written.
    bool Save(const QString& path, const QString& extension, bool header);
    /// Reads such a file back, appending rows.
    bool Open(const QString& path, const QString& extension, bool header);
    QString GetHtml(int item, int column) const;
    QString GetLine(int item, char separator) const;
    bool SetLine(int item, const QString& line, char separator);
    void Print();

    /// The text cut with "..." so that it fits the column with the offset.
    static QString MakeShortString(const QFontMetrics& metrics, const QString& text, int columnWidth,
                                   int offset);

signals:
    void columnClicked(int column);
    void itemClicked(int item, int column);
    void endLabelEdit(int item, int column);
    void itemSelectionChanged();
    void currentItemChanged(int item);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class CListCtrlExDelegate;
    class Model;
    CItemAttributes* ItemAttributes(int item) const;
    CItemAttributes* EnsureItemAttributes(int item);
    void PaintCell(QPainter* painter, const QRect& rect, int item, int column, bool selected) const;
    void FinishEdit();
    QFont FontFor(int item, int column) const;

    Model* m_model;
    bool m_fullRowSel = true;
    bool m_clientWidthSel = true;
    QString m_backgroundImage;
    bool m_continuous = true;
    CImageList m_images[2];
    CItemAttributes m_columnAttributes;
    CItemAttributes m_lineAttributes;
    CItemAttributes m_columnPhaseAttributes;
    int m_clickedColumn = -1;
    CompareProc m_compare = nullptr;
    int m_directions[50] = {};
    int m_lastSortColumn = 0;
    QLineEdit* m_editor = nullptr;
    bool m_inPlaceEditing = false;
    int m_editedItem = -1;
    int m_editedColumn = -1;
    QPlainTextEdit* m_entireWindow = nullptr;
    std::unique_ptr<CRegistryAccess> m_persistKey;
    QString m_persistFile;
    QString m_persistSection;
    std::vector<std::unique_ptr<QFont>> m_ownedFonts; // fonts read from HTML files
};
