#include "windows/CDlgGenerate.h"

#include "dictionary/CTrelvarDoc.h"
#include "engine/ScriptRuns.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"
#include "windows/ScriptPairRows.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CDlgGenerate::CDlgGenerate(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent)
    : CRkCoolDlg(parent), m_document(document), m_reporter(reporter)
{
    setObjectName(QStringLiteral("25107"));
    setWindowTitle(tr("Generate resource files"));
    if (AppSettings().Get(Settings::Flag::ShowTexture))
        SetBackgroundBitmap(QStringLiteral("BACKGROUND_YELLOW"));
    auto* layout = new QVBoxLayout(this);
    AddHelpBanner(this, layout, {tr("Generate the translation of the selected resource files.")});
    m_list = new CListCtrlEx(this);
    m_list->setObjectName(QStringLiteral("1018"));
    m_list->SetFullRowSel(true);
    m_list->SetSingleSelection(false);
    m_rows = std::make_unique<ScriptPairRows>(m_list, 230);
    auto* filesLabel = new QLabel(tr("&Files"), this);
    filesLabel->setBuddy(m_list);
    layout->addWidget(filesLabel);

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    m_generate = new QPushButton(tr("&Generate"), this);
    m_generate->setObjectName(QStringLiteral("1042"));
    m_generate->setEnabled(false);
    m_generateAll = new QPushButton(tr("Generate &All"), this);
    m_generateAll->setObjectName(QStringLiteral("1083"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("2"));
    close->setDefault(true);
    for (QPushButton* b : {m_generate, m_generateAll})
        b->setAutoDefault(false);
    buttons->addWidget(m_generate);
    buttons->addWidget(m_generateAll);
    buttons->addStretch();
    buttons->addWidget(close);
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);

    const FileRunBars bars = AddFileRunBars(this, layout);
    m_allFiles = bars.allFiles;
    m_currentFile = bars.currentFile;

    connect(m_generate, &QPushButton::clicked, this, &CDlgGenerate::OnGenerate);
    connect(m_generateAll, &QPushButton::clicked, this, &CDlgGenerate::OnGenerateAll);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &CListCtrlEx::itemSelectionChanged, this,
            [this] { m_generate->setEnabled(!m_list->GetSelectedItems().isEmpty()); });
    m_rows->Fill(m_document ? m_document->Files() : nullptr);
    m_generateAll->setEnabled(m_list->GetItemCount() > 0);
    resize(640, 420);
}

CDlgGenerate::~CDlgGenerate() = default;

void CDlgGenerate::OnGenerate()
{
    if (!m_document)
        return;
    QList<int> rows = m_list->GetSelectedItems();
    std::sort(rows.begin(), rows.end());
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int row : rows) {
        const ScriptPairRows::Pair* pair = m_rows->At(row);
        pairs.emplace_back(pair->source, pair->destination);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProgressBarSink allFiles(m_allFiles);
    ProgressBarSink currentFile(m_currentFile);
    m_generated += GenerateScripts(*m_document, pairs, &allFiles, &currentFile, m_reporter,
                                   [this, &rows](std::size_t index) {
                                       // The user sees which files are done.
                                       m_list->SetItemState(rows[static_cast<int>(index)], 0,
                                                            CListCtrlEx::StateSelected);
                                       m_list->viewport()->repaint();
                                   })
                       .size();
    QApplication::restoreOverrideCursor();
}

void CDlgGenerate::OnGenerateAll()
{
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        m_list->SetItemState(row, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    OnGenerate();
}
