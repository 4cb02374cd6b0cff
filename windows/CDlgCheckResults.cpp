#include "windows/CDlgCheckResults.h"

#include "tessary/ProgramSettings.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CDlgCheckResults::CDlgCheckResults(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("checkResults"));
    setWindowTitle(tr("Check translations"));
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    layout->addWidget(m_summary);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("findings"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSortingEnabled(false);
    m_list->setHeaderLabels({tr("File"), tr("Line"), tr("Resource"), tr("Kind"), tr("Message")});
    m_list->header()->setStretchLastSection(true);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    auto* again = new QPushButton(tr("Check &again"), this);
    again->setAutoDefault(false);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(again);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(again, &QPushButton::clicked, this, &CDlgCheckResults::checkAgainRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_list, &QTreeWidget::itemActivated, this, [this] { Activate(); });
    // The size of the last session, or a good part of the screen.
    const Settings settings = AppSettings();
    const int width = settings.Get(Settings::Integer::CheckWidth);
    const int height = settings.Get(Settings::Integer::CheckHeight);
    resize(width > 200 ? width : 900, height > 120 ? height : 360);
}

void CDlgCheckResults::hideEvent(QHideEvent* event)
{
    const Settings settings = AppSettings();
    settings.Set(Settings::Integer::CheckWidth, width());
    settings.Set(Settings::Integer::CheckHeight, height());
    QDialog::hideEvent(event);
}

void CDlgCheckResults::SetFindings(std::vector<CheckFinding> findings)
{
    m_findings = std::move(findings);
    m_list->clear();
    int errors = 0;
    QList<QTreeWidgetItem*> rows;
    for (std::size_t i = 0; i < m_findings.size(); ++i) {
        const CheckFinding& f = m_findings[i];
        errors += f.warning ? 0 : 1;
        auto* row = new QTreeWidgetItem(
            {QFileInfo(QString::fromStdString(f.script)).fileName(), QString::number(f.line),
             QString::fromStdString(f.resource),
             QString::fromLatin1(CheckKindName(f.kind)) + (f.warning ? tr(" (warning)") : QString()),
             QString::fromStdString(f.message)});
        row->setToolTip(0, QString::fromStdString(f.script));
        row->setData(0, Qt::UserRole, static_cast<int>(i));
        rows.push_back(row);
    }
    m_list->addTopLevelItems(rows);
    for (int c = 0; c < 4; ++c)
        m_list->resizeColumnToContents(c);
    m_summary->setText(m_findings.empty()
                           ? tr("No finding: every translation passes the checks.")
                           : tr("%1 error(s), %2 warning(s). Double-click a row to go to its resource.")
                                 .arg(errors)
                                 .arg(static_cast<int>(m_findings.size()) - errors));
    if (!rows.isEmpty())
        m_list->setCurrentItem(rows.front());
}

void CDlgCheckResults::Activate()
{
    const QTreeWidgetItem* row = m_list->currentItem();
    if (!row)
        return;
    const int index = row->data(0, Qt::UserRole).toInt();
    if (index >= 0 && static_cast<std::size_t>(index) < m_findings.size())
        emit gotoRequested(m_findings[static_cast<std::size_t>(index)]);
}
