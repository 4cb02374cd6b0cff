#pragma once

#include <QWidget>

class CDlgPreviewTabs;

/// The right pane: it only carries the preview tabs, laid out over it.
class CFvMisc : public QWidget
{
    Q_OBJECT
public:
    explicit CFvMisc(QWidget* parent = nullptr);

    void SetPreviewTabs(CDlgPreviewTabs* tabs);
    CDlgPreviewTabs* PreviewTabs() const { return m_tabs; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CDlgPreviewTabs* m_tabs = nullptr;
};
