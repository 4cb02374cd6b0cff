#include "tessary/CoreFeedback.h"

#include "dictionary/Codec.h"
#include "dictionary/Messages.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/YesNoAllBox.h"

#include <QElapsedTimer>
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
