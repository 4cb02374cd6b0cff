#include "tessary/CoreFeedback.h"

#include "dictionary/Codec.h"
#include "dictionary/Messages.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/YesNoAllBox.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

QString DisplayText(const std::string& bytes)
{
    if (Codec::IsValidUtf8(bytes))
        return QString::fromStdString(bytes);
    static const Codec codec;
    return QString::fromStdString(codec.ToUtf8(bytes));
}

QString MessageString(int messageId, const std::vector<std::string>& arguments)
{
    return DisplayText(FormatMessage(messageId, arguments));
}

void MessageBoxReporter::Report(int messageId, const std::vector<std::string>& arguments)
{
    RkMessageBox(MessageString(messageId, arguments), 0x0030, -1, m_parent, nullptr, -1);
}

int YesNoAllAsker::Ask(int messageId, const std::vector<std::string>& arguments)
{
    return YesNoAllBox::Ask(MessageString(messageId, arguments), m_parent);
}

bool YesNoAllAsker::Confirm(int messageId, const std::vector<std::string>& arguments)
{
    return RkMessageBox(MessageString(messageId, arguments), 0x0004 | 0x0030, -1, m_parent, nullptr, -1) ==
           CRkMessageBox::IdYes;
}

void ProgressBarSink::SetRange(int maximum)
{
    if (!m_bar)
        return;
    m_bar->setRange(0, maximum);
    m_bar->repaint();
}

void ProgressBarSink::SetPosition(int position)
{
    if (!m_bar)
        return;
    m_bar->setValue(position);
    // Repaint when the bar moved by a visible amount.
    const int width = std::max(1, m_bar->width());
    const int shown = m_bar->maximum() > 0 ? int(qint64(position) * width / m_bar->maximum()) : 0;
    if (shown != m_shown) {
        m_shown = shown;
        m_bar->repaint();
    }
}

FileRunBars AddFileRunBars(QWidget* owner, QBoxLayout* layout)
{
    auto* grid = new QGridLayout;
    FileRunBars bars{new QProgressBar(owner), new QProgressBar(owner)};
    bars.allFiles->setObjectName(QStringLiteral("1026"));
    bars.currentFile->setObjectName(QStringLiteral("1027"));
    const QString labels[] = {QCoreApplication::translate("FileRunBars", "All files"),
                              QCoreApplication::translate("FileRunBars", "Current file")};
    int row = 0;
    for (QProgressBar* bar : {bars.allFiles, bars.currentFile}) {
        bar->setTextVisible(false);
        bar->setValue(0);
        grid->addWidget(new QLabel(labels[row], owner), row, 0);
        grid->addWidget(bar, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    return bars;
}
