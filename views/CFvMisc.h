#pragma once

#include <QWidget>

class CDlgPreviewTabs;
class QSplitter;

/// The right pane: the preview tabs, and below them, when it is shown, the
/// window of the last find in resources.
class CFvMisc : public QWidget
{
    Q_OBJECT
public:
    explicit CFvMisc(QWidget* parent = nullptr);

    void SetPreviewTabs(CDlgPreviewTabs* tabs);
    CDlgPreviewTabs* PreviewTabs() const { return m_tabs; }
    /// Places a window along the bottom edge of the preview tabs, as wide as
    /// they are; the user can drag the edge between them.
    void SetBottomWindow(QWidget* window);
    QSplitter* Splitter() const { return m_splitter; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CDlgPreviewTabs* m_tabs = nullptr;
    QSplitter* m_splitter;
};
