#include "preview/CDlgPreviewTabs.h"

#include "settings/Settings.h"
#include "tessary/CoolDisplay.h"
#include "tessary/GlobalVarsForDll.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QTabBar>

namespace {

// The host lets the textured background show through.
class PreviewHost : public QWidget
{
public:
    explicit PreviewHost(QWidget* parent) : QWidget(parent) {}
};

} // namespace

CDlgPreviewTabs::CDlgPreviewTabs(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("145"));
    // The previews' own title bars are never painted by the styled look.
    int off = 0;
    SetGetCoolDisplay(false, off, SlotPaintedTitle);
    m_texture = QString::fromStdString(
        Settings(GlobalVarsForDll::csIni.toStdString()).Get(Settings::Text::MainViewTexture));
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("1047"));
    m_tabs->setDrawBase(true);
    m_tabs->setExpanding(false);
    m_tabs->addTab(QIcon(QStringLiteral(":/lorvo/icons/original.png")), tr("Original"));
    m_tabs->addTab(QIcon(QStringLiteral(":/lorvo/icons/translation.png")), tr("Translation"));
    m_tabs->addTab(QIcon(QStringLiteral(":/lorvo/icons/texts.png")), tr("Texts"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setPixmap(QPixmap(QStringLiteral(":/lorvo/icons/lingorel64.png")));
    m_picture->adjustSize();
    // The area scrolls when a previewed dialog is larger than the pane.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("previewScrollArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_host = new PreviewHost(m_scroll);
    m_host->setObjectName(QStringLiteral("previewHost"));
    m_scroll->setWidget(m_host);
    // The textured background shows through (the scroll area would fill it).
    m_host->setAutoFillBackground(false);
    connect(m_tabs, &QTabBar::currentChanged, this, &CDlgPreviewTabs::tabSelected);
    Layout();
}

void CDlgPreviewTabs::SetTexture(const QString& name)
{
    m_texture = name;
    update();
}

int CDlgPreviewTabs::SelectedTab() const
{
    return m_tabs->currentIndex();
}

void CDlgPreviewTabs::SelectTab(int tab)
{
    if (tab < 0 || tab > 2)
        return;
    if (m_tabs->currentIndex() == tab)
        emit tabSelected(tab); // the selection is applied even when it does not change
    else
        m_tabs->setCurrentIndex(tab);
}

void CDlgPreviewTabs::Layout()
{
    const int strip = m_tabs->sizeHint().height();
    m_tabs->setGeometry(0, 0, width(), strip);
    m_scroll->setGeometry(0, strip, width(), std::max(0, height() - strip));
    const int below = height() - strip;
    m_picture->move((width() - m_picture->width()) / 2, strip + (below - m_picture->height()) / 2);
}

void CDlgPreviewTabs::resizeEvent(QResizeEvent*)
{
    Layout();
}

void CDlgPreviewTabs::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (TexturesOn())
        DlgPaint(painter, this, 1, m_texture);
    else
        painter.fillRect(rect(), palette().color(QPalette::Window));
}
