#include "pages/CPageExtract.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/FileList.h"
#include "engine/ScriptRuns.h"
#include "pages/CSheetWizard.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CoreFeedback.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CPageExtract::CPageExtract(QWidget* parent)
    : WizardPage(CSheetWizard::PageExtract, tr("Extract resources"), QStringLiteral("25115"), parent)
{
    auto* layout = new QVBoxLayout(this);
    CRkCoolDlg::AddHelpBanner(
        this, layout,
        {tr("Select the resource files whose texts go into the dictionary, then click on "
            "Finish. Texts already in the dictionary keep their translations.")});
    m_list = NewList("1018", false);
    m_list->InsertColumn(0, tr("Source"), CListCtrlEx::FormatLeft, 560);
    layout->addWidget(m_list, 1);

    m_selectAll = NewButton(this, tr("Select &All"), "1115");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_selectAll);
    buttons->addStretch();
    layout->addLayout(buttons);

    m_hasTranslation = new QCheckBox(tr("&This script already has a translation"), this);
    m_hasTranslation->setObjectName(QStringLiteral("hasTranslation"));
    m_hasTranslation->setVisible(false);
    layout->addWidget(m_hasTranslation);
    // The wizard sets its buttons when a page is shown; marking the page
    // final or not makes it set them again.
    connect(m_hasTranslation, &QCheckBox::toggled, this, [this](bool on) { setFinalPage(!on); });

    const FileRunBars bars = AddFileRunBars(this, layout);
    m_allFiles = bars.allFiles;
    m_currentFile = bars.currentFile;

    connect(m_selectAll, &QPushButton::clicked, this, &CPageExtract::OnSelectAll);
}

int CPageExtract::nextId() const
{
    return m_hasTranslation->isChecked() ? WizardPage::nextId() : -1;
}

void CPageExtract::OnSetActive()
{
    m_hasTranslation->setVisible(Sheet()->HasPage(CSheetWizard::PageAlign));
    m_list->DeleteAllItems();
    m_sources.clear();
    if (const FileList* files = Sheet()->Document()->Files()) {
        for (const auto& entry : files->Files()) {
            m_list->InsertItem(m_list->GetItemCount(), DisplayText(entry.value.source));
            m_sources.push_back(entry.value.source);
        }
    }
    m_selectAll->setEnabled(m_list->GetItemCount() > 0);
    for (const auto& [source, destination] : Sheet()->FilesToPreselect()) {
        const QString text = DisplayText(source);
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            if (m_list->GetItemText(row, 0).compare(text, Qt::CaseInsensitive) == 0) {
                m_list->SetItemState(row, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
                break;
            }
        }
    }
    m_list->setFocus();
}

void CPageExtract::OnSelectAll()
{
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        m_list->SetItemState(row, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    m_list->setFocus();
}

bool CPageExtract::validatePage()
{
    CSheetWizard* sheet = Sheet();
    CTrelvarDoc* doc = sheet->Document();
    // The selected scripts in list order.
    QList<int> rows = m_list->GetSelectedItems();
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> sources;
    for (int row : rows)
        sources.push_back(m_sources[static_cast<std::size_t>(row)]);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProgressBarSink allFiles(m_allFiles);
    ProgressBarSink currentFile(m_currentFile);
    const ExtractionRun run = ExtractScripts(*doc, sources, &allFiles, &currentFile, sheet->Reporter(),
                                             [this](const std::string&) { m_list->viewport()->repaint(); });
    QApplication::restoreOverrideCursor();
    if (run.extracted > 0)
        m_extracted = true;
    if (run.rebuildTree)
        emit sheet->treeRebuildNeeded();
    if (run.extracted > 0)
        emit sheet->textsExtracted(run.extracted);
    Passed();
    return true;
}
