#include "windows/CDlgFindInResources.h"

#include "dictionary/Messages.h"
#include "engine/ResourceKind.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"
#include "windows/DictionaryTexts.h"
#include "windows/ListSearch.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

CDlgFindInResources::CDlgFindInResources(QWidget* parent) : CRkCoolDlg(parent)
{
    setObjectName(QStringLiteral("25110"));
    setWindowTitle(tr("Find in resources"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Search a text in all resources.\nThe result is displayed in the Results "
                                    "window. This window's title contains the searched text .\nJust double "
                                    "click on a line to go to the resource."),
                                 this));
    auto* row = new QHBoxLayout;
    m_findWhat = new QComboBox(this);
    m_findWhat->setObjectName(QStringLiteral("24612"));
    m_findWhat->setEditable(true);
    m_findWhat->setInsertPolicy(QComboBox::NoInsert);
    m_findWhat->setMaxCount(10);
    m_findWhat->lineEdit()->setMaxLength(1023);
    m_findWhat->setMinimumWidth(280);
    for (const std::string& entry : AppSettings().Get(Settings::History::FindInResources)) {
        if (!entry.empty())
            m_findWhat->addItem(QString::fromStdString(entry));
    }
    auto* label = new QLabel(tr("Fi&nd what:"), this);
    label->setBuddy(m_findWhat);
    row->addWidget(label);
    row->addWidget(m_findWhat, 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    auto* find = new QPushButton(tr("&Find"), this);
    find->setObjectName(QStringLiteral("1"));
    find->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(find);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(find, &QPushButton::clicked, this, &CDlgFindInResources::OnFind);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_findWhat->setFocus();
}

void CDlgFindInResources::OnFind()
{
    m_text = m_findWhat->currentText();
    if (m_text.isEmpty())
        return;
    AddToHistory(m_findWhat, m_text);
    AppSettings().Set(Settings::History::FindInResources, HistoryEntries(m_findWhat));
    accept();
}

CDlgFindResults::CDlgFindResults(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("163"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("titleLabel"));
    layout->addWidget(m_title);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName(QStringLiteral("1061"));
    m_list->SetFullRowSel(true);
    m_list->SetSingleSelection(true);
    m_list->setContextMenuPolicy(Qt::NoContextMenu); // the window's own menu
    m_list->InsertColumn(0, tr("File"), CListCtrlEx::FormatLeft, 250);
    m_list->InsertColumn(1, tr("Resource"), CListCtrlEx::FormatLeft, 250);
    m_list->InsertColumn(2, tr("Type"), CListCtrlEx::FormatLeft, 150);
    // The pictures of the tree: dialog box, menu, string table.
    for (int image = 0; image < 3; ++image)
        m_list->GetImageList(1)->Add(QPixmap(QStringLiteral(":/lorvo/icons/tree%1.png").arg(image)));
    m_list->SetCompareProcForSorting(&CDlgFindResults::CompareRows);
    layout->addWidget(m_list, 1);
    // A double click or Enter on a row.
    connect(m_list, &QAbstractItemView::activated, this, [this] {
        const QList<int> rows = m_list->GetSelectedItems();
        if (!rows.isEmpty())
            GotoRow(rows.first());
    });
    SetTitle(MessageString(MsgFindResultsTitle));
}

void CDlgFindResults::SetTitle(const QString& title)
{
    setWindowTitle(title);
    m_title->setText(title);
}

QString CDlgFindResults::Title() const
{
    return windowTitle();
}

int CDlgFindResults::CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue)
{
    const auto* ra = reinterpret_cast<const Record*>(a);
    const auto* rb = reinterpret_cast<const Record*>(b);
    if (!ra || !rb)
        return 0;
    const int order = [&] {
        switch (sortValue & 0xFFFF) {
        case 1:
            return QString::compare(ToDisplay(ra->resourceName), ToDisplay(rb->resourceName),
                                    Qt::CaseInsensitive);
        case 2:
            return QString::compare(ra->type, rb->type, Qt::CaseInsensitive);
        default:
            return QString::compare(DisplayText(ra->file), DisplayText(rb->file), Qt::CaseInsensitive);
        }
    }();
    return (sortValue >> 16) ? -order : order;
}

void CDlgFindResults::Clear()
{
    m_list->DeleteAllItems();
    m_records.clear();
    SetTitle(MessageString(MsgFindResultsTitle));
}

void CDlgFindResults::ShowMatches(const std::vector<LocatedMatch>& matches, const QString& text)
{
    m_list->DeleteAllItems();
    m_records.clear();
    m_list->setUpdatesEnabled(false);
    for (const LocatedMatch& m : matches) {
        Record& record = m_records.emplace_back();
        record.file = m.match.file;
        record.resourceName = m.match.resourceName;
        record.matched = m.match.matched;
        record.kind = m.kind;
        record.type = QString::fromUtf8(ResourceTypeName(m.kind).data(),
                                        static_cast<qsizetype>(ResourceTypeName(m.kind).size()));
        const int image = m.kind == KindDialog ? 0 : m.kind == KindMenu ? 1 : 2;
        const int row = m_list->InsertItem(m_list->GetItemCount(), DisplayText(record.file), image,
                                           reinterpret_cast<std::intptr_t>(&record));
        m_list->SetItemText(row, 1, ToDisplay(record.resourceName));
        m_list->SetItemText(row, 2, record.type);
    }
    m_list->setUpdatesEnabled(true);
    RefreshColours();
    SetTitle(MessageString(MsgFindResultsTitle) +
             QStringLiteral(" ( %1 ) ").arg(static_cast<int>(m_records.size())) + QStringLiteral(" - ") +
             text);
    if (m_records.empty())
        m_list->InsertItem(0, MessageString(MsgTextNotFound));
}

void CDlgFindResults::RefreshColours()
{
    const Settings settings = AppSettings();
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        const Record* record = RecordAt(row);
        if (!record)
            continue;
        const Settings::Colour key = record->kind == KindDialog ? Settings::Colour::Dialog
                                     : record->kind == KindMenu ? Settings::Colour::Menu
                                                                : Settings::Colour::Stringtable;
        m_list->SetItemBackColor(row, 0, settings.Get(key));
    }
    m_list->viewport()->update();
}

const CDlgFindResults::Record* CDlgFindResults::RecordAt(int row) const
{
    if (row < 0 || row >= m_list->GetItemCount())
        return nullptr;
    return reinterpret_cast<const Record*>(m_list->GetItemData(row));
}

void CDlgFindResults::GotoRow(int row)
{
    if (const Record* record = RecordAt(row))
        emit gotoRequested(*record);
}

void CDlgFindResults::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_list->rect().contains(m_list->mapFrom(this, event->pos())))
        return;
    const QList<int> rows = m_list->GetSelectedItems();
    const int row = rows.isEmpty() ? -1 : rows.first();
    QMenu menu(this);
    QAction* gotoText = menu.addAction(tr("Goto text"));
    gotoText->setObjectName(QStringLiteral("1095"));
    gotoText->setEnabled(RecordAt(row) != nullptr);
    connect(gotoText, &QAction::triggered, this, [this, row] { GotoRow(row); });
    menu.exec(event->globalPos());
}
