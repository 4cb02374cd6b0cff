#include "pages/CPageInsert.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/Messages.h"
#include "dictionary/ScriptInsertion.h"
#include "pages/CSheetWizard.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CoreFeedback.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CPageInsert::CPageInsert(QWidget* parent)
    : WizardPage(CSheetWizard::PageInsert, tr("Insert resource files"), QStringLiteral("25114"), parent)
{
    auto* layout = new QVBoxLayout(this);
    CRkCoolDlg::AddHelpBanner(
        this, layout,
        {tr("Choose a resource file to translate and the file or the folder that receives its translation, "
            "then click on Add. A folder gets a file of the same name.")});
    m_list = NewList("1018", true);
    m_list->InsertColumn(0, tr("Source"), CListCtrlEx::FormatLeft, 280);
    m_list->InsertColumn(1, tr("Destination"), CListCtrlEx::FormatLeft, 280);
    m_list->SetCompareProcForSorting(&CPageInsert::CompareRows);
    layout->addWidget(m_list, 1);

    auto* grid = new QGridLayout;
    m_file = NewEdit(this, "1014", 255);
    m_destination = NewEdit(this, "1015", 255);
    QPushButton* browseFile = NewButton(this, tr("&Browse..."), "1016");
    QPushButton* browseDestination = NewButton(this, tr("B&rowse..."), "1017");
    auto* fileLabel = new QLabel(tr("&File:"), this);
    fileLabel->setBuddy(m_file);
    auto* destinationLabel = new QLabel(tr("&Destination:"), this);
    destinationLabel->setBuddy(m_destination);
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(browseFile, 0, 2);
    grid->addWidget(destinationLabel, 1, 0);
    grid->addWidget(m_destination, 1, 1);
    grid->addWidget(browseDestination, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    m_add = NewButton(this, tr("&Add"), "1022");
    m_delete = NewButton(this, tr("De&lete"), "1019");
    m_delete->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &CPageInsert::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CPageInsert::OnDelete);
    connect(m_list, &CListCtrlEx::itemSelectionChanged, this, &CPageInsert::OnSelectionChanged);
    connect(m_file, &QLineEdit::returnPressed, this, &CPageInsert::OnAdd);
    connect(browseFile, &QPushButton::clicked, this, [this] {
        const CTrelvarDoc* doc = Sheet()->Document();
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Open"), DisplayText(doc->DefaultSourceFolder()),
            QStringLiteral("Resource Files (*.rc)"), nullptr, QFileDialog::ReadOnly);
        if (!path.isEmpty())
            m_file->setText(QDir::toNativeSeparators(path));
    });
    connect(browseDestination, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, MessageString(MsgDirectory), m_destination->text());
        if (!folder.isEmpty())
            m_destination->setText(QDir::toNativeSeparators(folder));
    });
}

CPageInsert::~CPageInsert() = default;

int CPageInsert::CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t)
{
    return QString::compare(reinterpret_cast<const Record*>(a)->sortKey,
                            reinterpret_cast<const Record*>(b)->sortKey, Qt::CaseInsensitive);
}

void CPageInsert::Fill()
{
    m_filled = true;
    const FileList* files = Sheet()->Document()->Files();
    if (!files)
        return;
    for (const auto& entry : files->Files())
        AddRow(entry.value.source, entry.value.destination);
    m_list->Sort(0, false);
}

void CPageInsert::AddRow(const std::string& source, const std::string& destination)
{
    auto record = std::make_unique<Record>(Record{source, destination, DisplayText(source)});
    const int row = m_list->InsertItem(m_list->GetItemCount(), record->sortKey, -1,
                                       reinterpret_cast<std::intptr_t>(record.get()));
    m_list->SetItemText(row, 1, DisplayText(destination));
    m_records.push_back(std::move(record));
}

void CPageInsert::OnSetActive()
{
    if (!m_filled)
        Fill();
    m_destination->setText(DisplayText(Sheet()->Document()->DefaultDestinationFolder()));
    m_file->setFocus();
}

void CPageInsert::OnSelectionChanged()
{
    const QList<int> selected = m_list->GetSelectedItems();
    m_selected = selected.isEmpty() ? -1 : selected.first();
    m_delete->setEnabled(m_selected >= 0);
}

void CPageInsert::OnAdd()
{
    CTrelvarDoc* doc = Sheet()->Document();
    if (!doc->Files())
        return;
    const std::string source = m_file->text().trimmed().toStdString();
    const ScriptInsertion result =
        InsertScript(*doc->Files(), source, m_destination->text().trimmed().toStdString(),
                     doc->DefaultDestinationFolder());
    if (result.message != 0) {
        Refuse(result.message, result.focus == ScriptInsertion::Field::Destination ? m_destination : m_file);
        return;
    }
    AddRow(source, result.destination);
    m_added[source] = result.destination;
    m_list->Sort(0, false);
    Changed();
}

void CPageInsert::OnDelete()
{
    if (m_selected < 0)
        return;
    CTrelvarDoc* doc = Sheet()->Document();
    const auto* record = reinterpret_cast<const Record*>(m_list->GetItemData(m_selected));
    if (!record || !doc->Files() || !doc->Files()->RemoveFile(record->source))
        return;
    const std::string source = record->source;
    m_list->DeleteItem(m_selected);
    m_records.erase(std::find_if(m_records.begin(), m_records.end(),
                                 [record](const auto& r) { return r.get() == record; }));
    m_added.erase(source);
    doc->Context()->RemoveFile(source);
    m_selected = -1;
    m_delete->setEnabled(false);
    Changed();
}

void CPageInsert::Changed()
{
    m_changed = true;
    Sheet()->SetCloseText();
}

bool CPageInsert::validatePage()
{
    if (m_changed) {
        CSheetWizard* sheet = Sheet();
        sheet->Document()->SetModifiedFlag();
        emit sheet->filesChanged();
        sheet->SetFilesToPreselect(m_added);
    }
    Passed();
    return true;
}
