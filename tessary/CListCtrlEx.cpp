#include "tessary/CListCtrlEx.h"

#include "app/settings/ProfileFile.h"
#include "tessary/CoolDisplay.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>

// --- Images ---------------------------------------------------------------

int CImageList::Add(const QPixmap& picture)
{
    m_images.push_back(picture);
    return Count() - 1;
}

QPixmap CImageList::At(int index) const
{
    return index >= 0 && index < Count() ? m_images[static_cast<std::size_t>(index)] : QPixmap();
}

void CImageList::SetOverlayImage(int image, int overlay)
{
    if (overlay < 1)
        return;
    if (static_cast<int>(m_overlays.size()) < overlay)
        m_overlays.resize(static_cast<std::size_t>(overlay), -1);
    m_overlays[static_cast<std::size_t>(overlay - 1)] = image;
}

QPixmap CImageList::Overlay(int overlay) const
{
    if (overlay < 1 || overlay > static_cast<int>(m_overlays.size()))
        return {};
    return At(m_overlays[static_cast<std::size_t>(overlay - 1)]);
}

// --- The rows -----------------------------------------------------------

class CListCtrlEx::Model : public QAbstractTableModel
{
public:
    struct Row
    {
        std::vector<QString> texts;
        int image = -1;
        int overlay = 0;
        std::unique_ptr<CItemAttributes> attributes;
    };
    struct Column
    {
        QString heading;
        int format = 0;
        int subItem = -1;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        const Row& row = rows[static_cast<std::size_t>(index.row())];
        const auto c = static_cast<std::size_t>(index.column());
        return c < row.texts.size() ? row.texts[c] : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
            return {};
        const Column& column = columns[static_cast<std::size_t>(section)];
        if (role == Qt::DisplayRole)
            return column.heading;
        if (role == Qt::TextAlignmentRole)
            return int((column.format & 3) == 1   ? Qt::AlignRight
                       : (column.format & 3) == 2 ? Qt::AlignHCenter
                                                  : Qt::AlignLeft) |
                   int(Qt::AlignVCenter);
        return {};
    }
    void InsertRow(int at, Row row)
    {
        beginInsertRows(QModelIndex(), at, at);
        rows.insert(rows.begin() + at, std::move(row));
        endInsertRows();
    }
    void RemoveRow(int at)
    {
        beginRemoveRows(QModelIndex(), at, at);
        rows.erase(rows.begin() + at);
        endRemoveRows();
    }
    void RemoveAll()
    {
        beginResetModel();
        rows.clear();
        endResetModel();
    }
    void Changed(int row, int column)
    {
        const QModelIndex i = index(row, std::max(0, column));
        emit dataChanged(i, i);
    }
    void Reordered(std::vector<Row> reordered)
    {
        emit layoutAboutToBeChanged();
        rows = std::move(reordered);
        emit layoutChanged();
    }
    void InsertColumnAt(int at, Column column)
    {
        beginInsertColumns(QModelIndex(), at, at);
        columns.insert(columns.begin() + at, std::move(column));
        for (Row& row : rows) {
            if (static_cast<int>(row.texts.size()) > at)
                row.texts.insert(row.texts.begin() + at, QString());
        }
        endInsertColumns();
    }
    void RemoveColumnAt(int at)
    {
        beginRemoveColumns(QModelIndex(), at, at);
        columns.erase(columns.begin() + at);
        for (Row& row : rows) {
            if (static_cast<int>(row.texts.size()) > at)
                row.texts.erase(row.texts.begin() + at);
        }
        endRemoveColumns();
    }

    std::vector<Row> rows;
    std::vector<Column> columns;
};

// Cells are painted by the list itself, which resolves their attributes.
class CListCtrlExDelegate : public QStyledItemDelegate
{
public:
    explicit CListCtrlExDelegate(CListCtrlEx* list) : QStyledItemDelegate(list), m_list(list) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(10, std::max(18, option.fontMetrics.height() + 4));
    }

private:
    CListCtrlEx* m_list;
};

namespace {

template <class Rows>
bool IsValid(const Rows& rows, int item)
{
    return item >= 0 && item < static_cast<int>(rows.size());
}

std::uint32_t ChannelSum(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) & 0xFF) << shift;
    return out;
}

} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTreeView(parent), m_model(new Model(this))
{
    // Every list starts from the system's window colours.
    CAttribute::m_staticForeColor = ToColorRef(QApplication::palette().color(QPalette::Text));
    CAttribute::m_staticBackColor = ToColorRef(QApplication::palette().color(QPalette::Base));
    setModel(m_model);
    setItemDelegate(new CListCtrlExDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_compare)
            Sort(column, true);
        emit columnClicked(column);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        viewport()->update();
        emit itemSelectionChanged();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        emit currentItemChanged(current.isValid() ? current.row() : -1);
    });
}

CListCtrlEx::~CListCtrlEx()
{
    // Embedded windows of cells go with their attributes, before the viewport.
    m_model->rows.clear();
}

bool CListCtrlEx::SetFullRowSel(bool on)
{
    const bool changed = on != m_fullRowSel;
    m_fullRowSel = on;
    if (changed)
        viewport()->update();
    return changed;
}

void CListCtrlEx::SetSingleSelection(bool single)
{
    setSelectionMode(single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

int CListCtrlEx::GetColumnCount() const
{
    return static_cast<int>(m_model->columns.size());
}

CImageList* CListCtrlEx::GetImageList(int which)
{
    return which == 0 || which == 1 ? &m_images[which] : nullptr;
}

void CListCtrlEx::SetBackGroundImage(const QString& name)
{
    m_backgroundImage = name;
    viewport()->setAutoFillBackground(name.isEmpty());
    viewport()->update();
}

void CListCtrlEx::SetContinuousBackGround(bool continuous)
{
    m_continuous = continuous;
    viewport()->update();
}

// --- Items ----------------------------------------------------------------

int CListCtrlEx::InsertItem(int item, const QString& text)
{
    return InsertItem(item, text, -1, 0);
}

int CListCtrlEx::InsertItem(int item, const QString& text, int image)
{
    return InsertItem(item, text, image, 0);
}

int CListCtrlEx::InsertItem(int item, const QString& text, int image, std::intptr_t data)
{
    const int count = GetItemCount();
    if (item < 0 || item > count)
        item = count;
    Model::Row row;
    row.texts.resize(std::max<std::size_t>(1, m_model->columns.size()));
    row.texts[0] = text;
    row.image = image;
    row.attributes = std::make_unique<CItemAttributes>();
    auto first = std::make_unique<CAttribute>();
    first->parameter = data;
    row.attributes->SetAtGrow(0, std::move(first));
    m_model->InsertRow(item, std::move(row));
    return item;
}

int CListCtrlEx::GetItemCount() const
{
    return static_cast<int>(m_model->rows.size());
}

CItemAttributes* CListCtrlEx::ItemAttributes(int item) const
{
    return IsValid(m_model->rows, item) ? m_model->rows[static_cast<std::size_t>(item)].attributes.get()
                                        : nullptr;
}

CItemAttributes* CListCtrlEx::EnsureItemAttributes(int item)
{
    if (!IsValid(m_model->rows, item))
        return nullptr;
    auto& attributes = m_model->rows[static_cast<std::size_t>(item)].attributes;
    if (!attributes)
        attributes = std::make_unique<CItemAttributes>();
    return attributes.get();
}

bool CListCtrlEx::SetItemData(int item, std::intptr_t data)
{
    CItemAttributes* attributes = EnsureItemAttributes(item);
    if (!attributes)
        return false;
    CAttribute* first = attributes->GetAt(0);
    if (!first)
        first = attributes->SetAtGrow(0, std::make_unique<CAttribute>());
    first->parameter = data;
    return true;
}

std::intptr_t CListCtrlEx::GetItemData(int item) const
{
    return GetLParam(ItemAttributes(item));
}

std::intptr_t CListCtrlEx::GetLParam(const CItemAttributes* attributes)
{
    const CAttribute* first = attributes ? attributes->GetAt(0) : nullptr;
    return first ? first->parameter : 0;
}

int CListCtrlEx::GetIndex(std::intptr_t data) const
{
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        if (GetItemData(i) == data)
            return i;
    }
    return -1;
}

bool CListCtrlEx::SetItemText(int item, int column, const QString& text)
{
    if (!IsValid(m_model->rows, item) || column < 0 || column >= std::max(1, GetColumnCount()))
        return false;
    auto& texts = m_model->rows[static_cast<std::size_t>(item)].texts;
    if (static_cast<int>(texts.size()) <= column)
        texts.resize(static_cast<std::size_t>(column) + 1);
    texts[static_cast<std::size_t>(column)] = text;
    m_model->Changed(item, column);
    return true;
}

QString CListCtrlEx::GetItemText(int item, int column) const
{
    if (!IsValid(m_model->rows, item) || column < 0)
        return {};
    const auto& texts = m_model->rows[static_cast<std::size_t>(item)].texts;
    return column < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(column)] : QString();
}

bool CListCtrlEx::SetItemImage(int item, int image)
{
    if (!IsValid(m_model->rows, item))
        return false;
    m_model->rows[static_cast<std::size_t>(item)].image = image;
    m_model->Changed(item, 0);
    return true;
}

int CListCtrlEx::GetItemImage(int item) const
{
    return IsValid(m_model->rows, item) ? m_model->rows[static_cast<std::size_t>(item)].image : -1;
}

bool CListCtrlEx::SetItemOverlay(int item, int overlay)
{
    if (!IsValid(m_model->rows, item))
        return false;
    m_model->rows[static_cast<std::size_t>(item)].overlay = overlay;
    m_model->Changed(item, 0);
    return true;
}

int CListCtrlEx::GetItemOverlay(int item) const
{
    return IsValid(m_model->rows, item) ? m_model->rows[static_cast<std::size_t>(item)].overlay : 0;
}

bool CListCtrlEx::DeleteItem(int item)
{
    if (!IsValid(m_model->rows, item))
        return false;
    m_model->RemoveRow(item);
    return true;
}

bool CListCtrlEx::DeleteAllItems()
{
    HideEntireItem();
    m_model->RemoveAll();
    return true;
}

// --- Selection --------------------------------------------------------------

bool CListCtrlEx::SetItemState(int item, unsigned state, unsigned mask)
{
    if (!IsValid(m_model->rows, item))
        return false;
    const QModelIndex index = m_model->index(item, 0);
    if (mask & StateSelected)
        selectionModel()->select(
            index, ((state & StateSelected) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                       QItemSelectionModel::Rows);
    if ((mask & StateFocused) && (state & StateFocused))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    return true;
}

unsigned CListCtrlEx::GetItemState(int item, unsigned mask) const
{
    if (!IsValid(m_model->rows, item))
        return 0;
    unsigned state = 0;
    if (selectionModel()->isRowSelected(item, QModelIndex()))
        state |= StateSelected;
    if (currentIndex().isValid() && currentIndex().row() == item)
        state |= StateFocused;
    return state & mask;
}

int CListCtrlEx::GetNextItem(int from, unsigned state) const
{
    for (int i = std::max(0, from + 1); i < GetItemCount(); ++i) {
        if (GetItemState(i, state) == state)
            return i;
    }
    return -1;
}

QList<int> CListCtrlEx::GetSelectedItems() const
{
    QList<int> items;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        items << index.row();
    std::sort(items.begin(), items.end());
    return items;
}

void CListCtrlEx::EnsureVisible(int item)
{
    if (IsValid(m_model->rows, item))
        scrollTo(m_model->index(item, 0));
}

// --- Attributes --------------------------------------------------------------

CAttribute* CListCtrlEx::SetSubItemAttribute(int item, int column)
{
    CItemAttributes* attributes = EnsureItemAttributes(item);
    if (!attributes || column < 0)
        return nullptr;
    if (CAttribute* existing = attributes->GetAt(column))
        return existing;
    return attributes->SetAtGrow(column, std::make_unique<CAttribute>());
}

CAttribute* CListCtrlEx::GetSubItemAttribute(int item, int column) const
{
    const CItemAttributes* attributes = ItemAttributes(item);
    return attributes ? attributes->GetAt(column) : nullptr;
}

bool CListCtrlEx::SetItemForeColor(int item, int column, std::uint32_t colour)
{
    CAttribute* a = SetSubItemAttribute(item, column);
    if (!a)
        return false;
    a->SetForeColor(colour);
    m_model->Changed(item, column);
    return true;
}

bool CListCtrlEx::SetItemBackColor(int item, int column, std::uint32_t colour)
{
    CAttribute* a = SetSubItemAttribute(item, column);
    if (!a)
        return false;
    a->SetBackColor(colour);
    m_model->Changed(item, column);
    return true;
}

bool CListCtrlEx::SetItemFont(int item, int column, const QFont* font)
{
    CAttribute* a = SetSubItemAttribute(item, column);
    if (!a)
        return false;
    a->font = font;
    m_model->Changed(item, column);
    return true;
}

const QFont* CListCtrlEx::GetSubItemFont(int item, int column) const
{
    if (const CAttribute* a = GetSubItemAttribute(item, column); a && a->font)
        return a->font;
    if (const CAttribute* a = GetSubItemAttribute(item, 0); a && a->font)
        return a->font;
    if (const CAttribute* a = m_columnAttributes.GetAt(column); a && a->font)
        return a->font;
    return nullptr;
}

namespace {

// The seven steps of the colour resolution, for text or background.
template <class Get>
std::uint32_t Resolve(const CAttribute* cell, const CAttribute* first, const CAttribute* column,
                      const CItemAttributes& lines, const CItemAttributes& columns, int item, int c, Get get,
                      std::uint32_t fallback)
{
    if (cell && get(cell))
        return *get(cell);
    if (first && get(first))
        return *get(first);
    if (column && get(column))
        return *get(column);
    const int l = lines.GetSize(), n = columns.GetSize();
    const CAttribute* line = l > 0 ? lines.GetAt(item % l) : nullptr;
    const CAttribute* phase = n > 0 ? columns.GetAt(c % n) : nullptr;
    if (l > 0 && n > 0) {
        const std::uint32_t a = line && get(line) ? *get(line) : 0;
        const std::uint32_t b = phase && get(phase) ? *get(phase) : 0;
        return ChannelSum(a, b);
    }
    if (line && get(line))
        return *get(line);
    if (phase && get(phase))
        return *get(phase);
    return fallback;
}

} // namespace

std::uint32_t CListCtrlEx::GetSubItemForeColor(int item, int column) const
{
    return Resolve(
        GetSubItemAttribute(item, column), GetSubItemAttribute(item, 0), m_columnAttributes.GetAt(column),
        m_lineAttributes, m_columnPhaseAttributes, std::max(item, 0), std::max(column, 0),
        [](const CAttribute* a) { return a->foreColor ? &*a->foreColor : nullptr; },
        CAttribute::m_staticForeColor);
}

std::uint32_t CListCtrlEx::GetSubItemBackColor(int item, int column) const
{
    return Resolve(
        GetSubItemAttribute(item, column), GetSubItemAttribute(item, 0), m_columnAttributes.GetAt(column),
        m_lineAttributes, m_columnPhaseAttributes, std::max(item, 0), std::max(column, 0),
        [](const CAttribute* a) { return a->backColor ? &*a->backColor : nullptr; },
        CAttribute::m_staticBackColor);
}

bool CListCtrlEx::IsSubItemTransparent(int item, int column) const
{
    auto hasBack = [](const CAttribute* a) { return a && a->backColor; };
    const int l = m_lineAttributes.GetSize(), n = m_columnPhaseAttributes.GetSize();
    return !(hasBack(GetSubItemAttribute(item, column)) || hasBack(GetSubItemAttribute(item, 0)) ||
             hasBack(m_columnAttributes.GetAt(column)) ||
             (l > 0 && hasBack(m_lineAttributes.GetAt(item % l))) ||
             (n > 0 && hasBack(m_columnPhaseAttributes.GetAt(column % n))));
}

// --- Columns -------------------------------------------------------------

int CListCtrlEx::InsertColumn(int column, const QString& heading, int format, int width, int subItem)
{
    if (column < 0)
        return -1;
    column = std::min(column, GetColumnCount());
    m_columnAttributes.InsertAt(column, std::make_unique<CAttribute>());
    m_model->InsertColumnAt(column, Model::Column{heading, format, subItem});
    if (width >= 0)
        header()->resizeSection(column, width);
    return column;
}

bool CListCtrlEx::SetColumnFont(int column, const QFont* font)
{
    CAttribute* a = m_columnAttributes.GetAt(column);
    if (!a)
        return false;
    a->font = font;
    viewport()->update();
    return true;
}

bool CListCtrlEx::DeleteColumn(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return false;
    m_columnAttributes.RemoveAt(column);
    m_model->RemoveColumnAt(column);
    return true;
}

bool CListCtrlEx::DeleteAllColumns()
{
    while (GetColumnCount() > 0) {
        if (!DeleteColumn(GetColumnCount() - 1))
            return false;
    }
    return true;
}

int CListCtrlEx::GetColumnWidth(int column, bool inPercent) const
{
    if (column < 0 || column >= GetColumnCount())
        return 0;
    const int width = header()->sectionSize(column);
    if (!inPercent)
        return width;
    int total = 0;
    for (int c = 0; c < GetColumnCount(); ++c)
        total += header()->sectionSize(c);
    return total == 0 ? 0 : width * 100 / total;
}

bool CListCtrlEx::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= GetColumnCount())
        return false;
    header()->resizeSection(column, width);
    return true;
}

QString CListCtrlEx::GetColumnHeading(int column) const
{
    return column >= 0 && column < GetColumnCount()
               ? m_model->columns[static_cast<std::size_t>(column)].heading
               : QString();
}

bool CListCtrlEx::GetSubItemRect(int item, int column, QRect& rect) const
{
    if (!IsValid(m_model->rows, item))
        return false;
    const QRect row = visualRect(m_model->index(item, 0));
    if (!row.isValid() && row.height() <= 0)
        return false;
    const int left = header()->sectionViewportPosition(std::max(0, column));
    rect = QRect(left, row.top(), header()->sectionSize(std::max(0, column)), row.height());
    return true;
}

int CListCtrlEx::GetAlignment(int column) const
{
    if (column < 0 || column >= GetColumnCount())
        return -1;
    switch (m_model->columns[static_cast<std::size_t>(column)].format & 3) {
    case 1:
        return 1;
    case 2:
        return 2;
    default:
        return 0;
    }
}

QString CListCtrlEx::GetHtmlAlignment(int column) const
{
    switch (GetAlignment(column)) {
    case 0:
        return QStringLiteral("Left");
    case 1:
        return QStringLiteral("Right");
    case 2:
        return QStringLiteral("Center");
    default:
        return {};
    }
}

// --- Painting --------------------------------------------------------------

QString CListCtrlEx::MakeShortString(const QFontMetrics& metrics, const QString& text, int columnWidth,
                                     int offset)
{
    if (text.isEmpty() || metrics.horizontalAdvance(text) + offset <= columnWidth)
        return text;
    const int dots = metrics.horizontalAdvance(QStringLiteral("..."));
    // The longest prefix that fits with the dots (at least one character).
    int low = 1, high = static_cast<int>(text.size()) - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) + dots + offset <= columnWidth)
            low = middle;
        else
            high = middle - 1;
    }
    return text.left(std::max(1, low)) + QStringLiteral("...");
}

QFont CListCtrlEx::FontFor(int item, int column) const
{
    const QFont* font = GetSubItemFont(item, column);
    return font ? *font : this->font();
}

void CListCtrlEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    const int item = index.row();
    const bool selected = selectionModel()->isRowSelected(item, QModelIndex());
    QRect row = option.rect;
    if (m_clientWidthSel && row.right() < viewport()->width())
        row.setRight(viewport()->width());
    if (selected) {
        painter->fillRect(row, palette().color(QPalette::Highlight));
    } else if (!IsSubItemTransparent(item, 0)) {
        painter->fillRect(row, FromColorRef(GetSubItemBackColor(item, 0)));
    } else if (!m_backgroundImage.isEmpty() && !m_continuous) {
        DlgPaint(*painter, viewport(), 0, m_backgroundImage, &row);
    }
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (header()->isSectionHidden(c))
            continue;
        const QRect cell(header()->sectionViewportPosition(c), option.rect.top(), header()->sectionSize(c),
                         option.rect.height());
        PaintCell(painter, cell, item, c, selected);
    }
    if (currentIndex().isValid() && currentIndex().row() == item && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = row.adjusted(0, 0, -1, -1);
        focus.backgroundColor = palette().color(selected ? QPalette::Highlight : QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
}

void CListCtrlEx::PaintCell(QPainter* painter, const QRect& rect, int item, int column, bool selected) const
{
    const QFont font = FontFor(item, column);
    painter->setFont(font);
    const QFontMetrics metrics(font);
    const QColor text = selected ? palette().color(QPalette::HighlightedText)
                                 : FromColorRef(GetSubItemForeColor(item, column));
    QRect area = rect;
    if (column == 0) {
        const CImageList& small = m_images[1];
        if (!small.IsEmpty() && area.left() < area.right() - 1) {
            const int image = GetItemImage(item);
            const QRect icon(area.left() + 2, area.top() + (area.height() - 16) / 2, 16, 16);
            painter->drawPixmap(icon.topLeft(), small.At(image));
            const int overlay = GetItemOverlay(item);
            if (overlay > 0)
                painter->drawPixmap(icon.topLeft(), small.Overlay(overlay));
            if (selected) {
                QColor blend = palette().color(QPalette::Highlight);
                blend.setAlpha(128);
                painter->fillRect(icon, blend);
            }
            area.setLeft(icon.right() + 3);
        }
        const QString shown = MakeShortString(metrics, GetItemText(item, 0), area.width(), 4);
        painter->setPen(text);
        painter->drawText(area.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          shown);
        return;
    }
    if (const CAttribute* cell = GetSubItemAttribute(item, column); cell && cell->window) {
        QRect r;
        GetSubItemRect(item, column, r);
        if (cell->window->geometry() != r)
            cell->window->setGeometry(r);
        cell->window->show();
        return;
    }
    if (!selected) {
        if (!IsSubItemTransparent(item, 0))
            painter->fillRect(rect, FromColorRef(GetSubItemBackColor(item, column)));
        else if (!m_backgroundImage.isEmpty() && !m_continuous)
            DlgPaint(*painter, viewport(), 0, m_backgroundImage, &rect);
    }
    const QString full = GetItemText(item, column);
    if (full.isEmpty())
        return;
    const QString shown = MakeShortString(metrics, full, rect.width(), 12);
    Qt::Alignment align = Qt::AlignLeft;
    if (shown == full) {
        if (GetAlignment(column) == 1)
            align = Qt::AlignRight;
        else if (GetAlignment(column) == 2)
            align = Qt::AlignHCenter;
    }
    painter->setPen(text);
    painter->drawText(rect.adjusted(6, 0, -6, 0), align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void CListCtrlEx::paintEvent(QPaintEvent* event)
{
    if (!m_backgroundImage.isEmpty() && m_continuous) {
        QPainter painter(viewport());
        if (TexturesOn())
            DlgPaint(painter, viewport(), 0, m_backgroundImage);
        else
            painter.fillRect(viewport()->rect(), FromColorRef(CAttribute::m_staticBackColor));
    }
    QTreeView::paintEvent(event);
}

void CListCtrlEx::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    viewport()->update();
}

void CListCtrlEx::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

// --- Editing and the whole-text window ----------------------------------------

void CListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x() + horizontalOffset();
    m_clickedColumn = -1;
    int right = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        right += header()->sectionSize(c);
        if (right >= x) {
            m_clickedColumn = c;
            break;
        }
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool wasSelected = index.isValid() && selectionModel()->isRowSelected(index.row(), QModelIndex()) &&
                             currentIndex().row() == index.row();
    QTreeView::mousePressEvent(event);
    if (!index.isValid())
        return;
    emit itemClicked(index.row(), m_clickedColumn);
    // A click on a cell of a selected row edits it, as a label edit would,
    // in the lists that take what is typed there.
    if (m_inPlaceEditing && wasSelected && m_clickedColumn > 0 && event->button() == Qt::LeftButton)
        EditSubItem(index.row(), m_clickedColumn);
}

namespace {

// Ends the in-place edit when the editor loses the focus or Enter is hit.
class EditorWatcher : public QObject
{
public:
    EditorWatcher(QObject* parent, std::function<void()> finish)
        : QObject(parent), m_finish(std::move(finish))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            m_finish();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                static_cast<QWidget*>(watched)->clearFocus();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_finish;
};

} // namespace

bool CListCtrlEx::EditSubItem(int item, int column)
{
    QRect rect;
    if (column <= 0 || !GetSubItemRect(item, column, rect))
        return false;
    if (!m_editor) {
        m_editor = new QLineEdit(viewport());
        m_editor->setObjectName(QStringLiteral("1002"));
        m_editor->installEventFilter(new EditorWatcher(m_editor, [this] { FinishEdit(); }));
        connect(m_editor, &QLineEdit::textEdited, this, [this](const QString& text) {
            // The editor grows with its text while it stays inside the list.
            const int width = m_editor->fontMetrics().horizontalAdvance(text) + 10;
            if (m_editor->geometry().right() < viewport()->width() - 10 && width > m_editor->width())
                m_editor->resize(std::min(width, viewport()->width() - m_editor->x()), m_editor->height());
        });
    }
    m_editedItem = item;
    m_editedColumn = column;
    m_editor->setFont(FontFor(item, column));
    m_editor->setGeometry(rect);
    m_editor->setText(GetItemText(item, column));
    m_editor->show();
    m_editor->setFocus();
    m_editor->selectAll();
    return true;
}

void CListCtrlEx::FinishEdit()
{
    if (!m_editor || !m_editor->isVisible())
        return;
    m_editor->hide();
    // The text stays in the editor; the receiver takes it from there.
    emit endLabelEdit(m_editedItem, m_editedColumn);
}

bool CListCtrlEx::DisplayEntireItem(int item, int column)
{
    QRect rect;
    if (item < 0 || column < 0 || !GetSubItemRect(item, column, rect))
        return false;
    if (!m_entireWindow) {
        m_entireWindow = new QPlainTextEdit(viewport());
        m_entireWindow->setObjectName(QStringLiteral("1001"));
        m_entireWindow->setReadOnly(true);
    }
    QPalette colours = m_entireWindow->palette();
    colours.setColor(QPalette::Text, FromColorRef(GetSubItemForeColor(item, column)));
    colours.setColor(QPalette::Base, FromColorRef(GetSubItemBackColor(item, column)));
    m_entireWindow->setPalette(colours);
    m_entireWindow->setFont(FontFor(item, column));
    const QString text = GetItemText(item, column);
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect needed = QFontMetrics(m_entireWindow->font())
                             .boundingRect(QRect(0, 0, rect.width() - scroll, 10000), Qt::TextWordWrap, text);
    rect.setHeight(needed.height() + 6);
    rect.setWidth(rect.width() + 6);
    if (rect.bottom() > viewport()->height()) {
        rect.setBottom(viewport()->height());
        rect.setWidth(rect.width() + scroll);
        m_entireWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        m_entireWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    m_entireWindow->setGeometry(rect);
    m_entireWindow->setPlainText(text);
    m_entireWindow->show();
    return true;
}

void CListCtrlEx::HideEntireItem()
{
    if (m_entireWindow && m_entireWindow->isVisible())
        m_entireWindow->hide();
}

void CListCtrlEx::scrollContentsBy(int dx, int dy)
{
    if (dy != 0)
        HideEntireItem();
    QTreeView::scrollContentsBy(dx, dy);
}

void CListCtrlEx::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_editor &&
        m_editor->isVisible() && m_clickedColumn > 0) {
        m_editor->hide();
        return;
    }
    QTreeView::keyPressEvent(event);
}

// --- Sorting --------------------------------------------------------------

void CListCtrlEx::Sort(int column, bool toggle)
{
    if (column == -1)
        column = m_lastSortColumn;
    if (column < 0 || column >= 50)
        return;
    if (column == m_lastSortColumn && toggle)
        m_directions[column] = m_directions[column] ? 0 : 1;
    m_lastSortColumn = column;
    if (!m_compare)
        return;
    const std::intptr_t value = static_cast<std::intptr_t>(m_directions[column]) * 65536 + column;
    // Keep the selection and the current row with their rows.
    std::vector<const CItemAttributes*> selected;
    for (int row : GetSelectedItems())
        selected.push_back(ItemAttributes(row));
    const CItemAttributes* current =
        currentIndex().isValid() ? ItemAttributes(currentIndex().row()) : nullptr;
    std::vector<Model::Row> rows = std::move(m_model->rows);
    // The rows' data are read once and sorted with their places; the rows
    // themselves then move once each.
    std::vector<std::pair<std::intptr_t, std::size_t>> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys[i] = {GetLParam(rows[i].attributes.get()), i};
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const auto& a, const auto& b) { return m_compare(a.first, b.first, value) < 0; });
    std::vector<Model::Row> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(rows[key.second]));
    m_model->Reordered(std::move(sorted));
    selectionModel()->clearSelection();
    for (int i = 0; i < GetItemCount(); ++i) {
        const CItemAttributes* a = ItemAttributes(i);
        if (a == current)
            selectionModel()->setCurrentIndex(m_model->index(i, 0), QItemSelectionModel::NoUpdate);
        if (std::find(selected.begin(), selected.end(), a) != selected.end())
            SetItemState(i, StateSelected, StateSelected);
    }
}

int CListCtrlEx::SortDirection(int column) const
{
    return column >= 0 && column < 50 ? m_directions[column] : 0;
}

// --- Column persistence ------------------------------------------------------

void CListCtrlEx::SetPersistStorage(CRegistryAccess::Root root, const QString& subKey)
{
    m_persistKey = std::make_unique<CRegistryAccess>(root, subKey);
}

void CListCtrlEx::SetPersistStorage(const QString& file, const QString& section)
{
    m_persistFile = file;
    m_persistSection = section;
}

bool CListCtrlEx::StorePersistStorage()
{
    if (m_persistKey && m_persistKey->OpenKey()) {
        // One sub-key per column, "Column#<i>", below the list's key.
        for (int i = 0; i < GetColumnCount(); ++i) {
            const auto& column = m_model->columns[static_cast<std::size_t>(i)];
            const QString name = QStringLiteral("Column#%1/").arg(i);
            m_persistKey->SetValueData(name + QStringLiteral("nColumn"), static_cast<std::uint32_t>(i));
            m_persistKey->SetValueData(name + QStringLiteral("sColumnHeading"), column.heading.left(255));
            m_persistKey->SetValueData(name + QStringLiteral("nFormat"),
                                       static_cast<std::uint32_t>(column.format));
            m_persistKey->SetValueData(name + QStringLiteral("nWidth"),
                                       static_cast<std::uint32_t>(header()->sectionSize(i)));
            m_persistKey->SetValueData(name + QStringLiteral("nSubItem"),
                                       static_cast<std::uint32_t>(column.subItem));
        }
        return m_persistKey->CloseKey();
    }
    if (m_persistFile.isEmpty())
        return false;
    const ProfileFile file(m_persistFile.toStdString());
    const std::string section = m_persistSection.toStdString();
    file.WriteInt(section, "nColumnCount", GetColumnCount());
    for (int i = 0; i < GetColumnCount(); ++i) {
        const auto& column = m_model->columns[static_cast<std::size_t>(i)];
        const std::string n = "#" + std::to_string(i);
        file.WriteInt(section, "nColumn" + n, i);
        file.WriteString(section, "sColumnHeading" + n, column.heading.toStdString());
        file.WriteInt(section, "nFormat" + n, column.format);
        file.WriteInt(section, "nWidth" + n, header()->sectionSize(i));
        file.WriteInt(section, "nSubItem" + n, column.subItem);
    }
    return true;
}

bool CListCtrlEx::RestorePersistStorage()
{
    if (m_persistKey && m_persistKey->OpenKey()) {
        QStringList columns;
        m_persistKey->GetKeys(columns);
        bool any = false;
        for (const QString& name : columns) {
            std::uint32_t index = 0, format = 0, width = 0xFFFFFFFF, subItem = 0xFFFFFFFF;
            QString heading;
            m_persistKey->GetValueData(name + QStringLiteral("/nColumn"), index, true);
            m_persistKey->GetValueData(name + QStringLiteral("/sColumnHeading"), heading, true);
            m_persistKey->GetValueData(name + QStringLiteral("/nFormat"), format, true);
            m_persistKey->GetValueData(name + QStringLiteral("/nWidth"), width, true);
            m_persistKey->GetValueData(name + QStringLiteral("/nSubItem"), subItem, true);
            InsertColumn(static_cast<int>(index), heading, static_cast<int>(format), static_cast<int>(width),
                         static_cast<int>(subItem));
            any = true;
        }
        m_persistKey->CloseKey();
        return any;
    }
    if (m_persistFile.isEmpty())
        return false;
    const ProfileFile file(m_persistFile.toStdString());
    const std::string section = m_persistSection.toStdString();
    const int count = file.ReadInt(section, "nColumnCount", 0);
    if (count <= 0)
        return false;
    for (int i = 0; i < count; ++i) {
        const std::string n = "#" + std::to_string(i);
        InsertColumn(file.ReadInt(section, "nColumn" + n, 0),
                     QString::fromStdString(file.ReadString(section, "sColumnHeading" + n, "")),
                     file.ReadInt(section, "nFormat" + n, 0), file.ReadInt(section, "nWidth" + n, 0),
                     file.ReadInt(section, "nSubItem" + n, 0));
    }
    return true;
}
