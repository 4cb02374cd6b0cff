#include "tessary/CListCtrlEx.h"

#include "CListCtrlExModel.h"
#include "settings/ProfileFile.h"
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
