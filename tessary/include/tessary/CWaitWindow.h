#pragma once

#include "dictionary/Feedback.h"
#include "tessary/TessaryExport.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

/// The small window shown while a long operation runs: a caption text, an
/// animation and, in its second form, a progress bar. It centres itself,
/// shows at once and keeps the wait cursor on while it lives. As a progress
/// sink it takes the range and position of its bar from the work it shows.
class TESSARY_EXPORT CWaitWindow : public QWidget, public ProgressSink
{
    Q_OBJECT
public:
    enum Form
    {
        TextAndAnimation,
        WithProgressBar
    };

    CWaitWindow(const QString& text, Form form, QWidget* parent = nullptr);
    ~CWaitWindow() override;

    void SetRange(int maximum) override;
    void SetPosition(int position) override;
    /// One step forward.
    void Step();
    int Position() const;

    QProgressBar* ProgressBar() const { return m_bar; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Refresh(bool force);

    QLabel* m_text;
    QWidget* m_animation;
    QProgressBar* m_bar = nullptr;
    QElapsedTimer m_lastRefresh;
};
