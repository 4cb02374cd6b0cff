#include "pages/CPageNotExtracted.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/NotExtractedList.h"
#include "pages/CSheetWizard.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CoreFeedback.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CPageNotExtracted::CPageNotExtracted(QWidget* parent)
    : WizardPage(CSheetWizard::PageNotExtracted, tr("Resources not to extract"), QStringLiteral("25117"),
                 parent)
{
    auto* layout = new QVBoxLayout(this);
    CRkCoolDlg::AddHelpBanner(
        this, layout,
        {tr("The texts of these dialog boxes and menus are not extracted. Select the resources to extract "
            "again, then click on Next: they leave the list and their files are extracted.")});
    m_list = NewList("1061", false);
    m_list->InsertColumn(0, tr("File"), CListCtrlEx::FormatLeft, 195);
    m_list->InsertColumn(1, tr("Resource"), CListCtrlEx::FormatLeft, 195);
    m_list->InsertColumn(2, tr("Type"), CListCtrlEx::FormatLeft, 90);
    m_list->SetCompareProcForSorting(&CPageNotExtracted::CompareRows);
    layout->addWidget(m_list, 1);

    auto* buttons = new QHBoxLayout;
    m_selectAll = NewButton(this, tr("Select &All"), "1115");
    QPushButton* import = NewButton(this, tr("&Import..."), "1023");
    buttons->addWidget(m_selectAll);
    buttons->addStretch();
    buttons->addWidget(import);
    layout->addLayout(buttons);

    connect(m_selectAll, &QPushButton::clicked, this, &CPageNotExtracted::OnSelectAll);
    connect(import, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Import"), QString(),
                                                          QStringLiteral("Resources not to extract (*.nir)"));
        if (!path.isEmpty())
            Import(path);
    });
    connect(m_list, &CListCtrlEx::columnClicked, this, [this](int column) {
        // Always ascending, whichever column.
        m_list->Sort(column, false);
    });
}

CPageNotExtracted::~CPageNotExtracted() = default;

int CPageNotExtracted::CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue)
{
    // The second click on a heading sorts the other way.
    if (sortValue >> 16)
        return CompareRows(b, a, sortValue & 0xFFFF);
    const auto* ra = reinterpret_cast<const Record*>(a);
    const auto* rb = reinterpret_cast<const Record*>(b);
    switch (sortValue & 0xFFFF) {
    case 1:
        return QString::compare(DisplayText(ra->resource), DisplayText(rb->resource), Qt::CaseInsensitive);
    case 2:
        return QString::compare(ra->type, rb->type, Qt::CaseInsensitive);
    default:
        return QString::compare(DisplayText(ra->file), DisplayText(rb->file), Qt::CaseInsensitive);
    }
}

void CPageNotExtracted::Fill()
{
    m_list->DeleteAllItems();
    m_records.clear();
    const NotExtractedList* list = Sheet()->Document()->NotExtracted();
    if (list) {
        for (const auto& entry : list->Keys()) {
            auto record = std::make_unique<Record>();
            int kind = 0;
            record->key = entry.value;
            NotExtractedList::SplitKey(entry.value, record->file, record->resource, kind);
            record->type = kind == 4 ? tr("Menu") : kind == 5 ? tr("Dialog box") : QString();
            const int row = m_list->InsertItem(m_list->GetItemCount(), DisplayText(record->file), -1,
                                               reinterpret_cast<std::intptr_t>(record.get()));
            m_list->SetItemText(row, 1, DisplayText(record->resource));
            m_list->SetItemText(row, 2, record->type);
            m_records.push_back(std::move(record));
        }
    }
    m_list->Sort(0, false);
    m_selectAll->setEnabled(m_list->GetItemCount() > 0);
}

void CPageNotExtracted::OnSetActive()
{
    Fill();
    m_list->setFocus();
}

void CPageNotExtracted::OnSelectAll()
{
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        m_list->SetItemState(row, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    m_list->setFocus();
}

void CPageNotExtracted::Import(const QString& path)
{
    CSheetWizard* sheet = Sheet();
    NotExtractedList* target = sheet->Document()->NotExtracted();
    if (!target)
        return;
    NotExtractedList imported;
    imported.SetFilePath(path.toStdString());
    if (!imported.Load(sheet->Reporter()))
        return;
    for (const auto& entry : imported.Keys())
        target->Add(entry.value);
    sheet->Document()->SetModifiedFlag();
    Fill();
    sheet->SetCloseText();
    emit sheet->treeRefreshNeeded();
}

bool CPageNotExtracted::validatePage()
{
    CSheetWizard* sheet = Sheet();
    NotExtractedList* list = sheet->Document()->NotExtracted();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CSheetWizard::FileMap files;
    bool removed = false;
    QList<int> selected = m_list->GetSelectedItems();
    std::sort(selected.begin(), selected.end());
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        const auto* record = reinterpret_cast<const Record*>(m_list->GetItemData(*it));
        if (!record)
            continue;
        files[record->file] = std::string();
        if (list && list->Remove(record->key)) {
            m_list->DeleteItem(*it);
            sheet->Document()->SetModifiedFlag();
            removed = true;
        }
    }
    m_selectAll->setEnabled(m_list->GetItemCount() > 0);
    sheet->SetFilesToPreselect(files);
    QApplication::restoreOverrideCursor();
    if (removed)
        emit sheet->treeRefreshNeeded();
    Passed();
    return true;
}
