#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
class QTabBar;

/// The three tabs over the right pane, "Original", "Translation" and
/// "Texts", and the area under them where the previews and the "Texts of
/// this resource" window are shown.
class CDlgPreviewTabs : public QWidget
{
    Q_OBJECT
public:
    enum Tab
    {
        TabOriginal = 0,
        TabTranslation = 1,
        TabTexts = 2
    };

    explicit CDlgPreviewTabs(QWidget* parent = nullptr);

    QTabBar* TabBar() const { return m_tabs; }
    /// The area the previews are shown in.
    QWidget* Host() const { return m_host; }
    int SelectedTab() const;
    void SelectTab(int tab);
    /// Lays the tab strip and the host out over the whole widget.
    void Layout();
    /// The texture behind the previews, from the settings.
    void SetTexture(const QString& name);

signals:
    void tabSelected(int tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* m_tabs;
    QScrollArea* m_scroll;
    QWidget* m_host;
    QLabel* m_picture;
    QString m_texture;
};
