#include "tessary/CRkCoolTabCtrl.h"

#include "tessary/CoolDisplay.h"

#include <QPainter>
#include <QTabBar>

namespace {

// Tabs painted on the texture while textures are on.
class CoolTabBar : public QTabBar
{
public:
    explicit CoolTabBar(QWidget* parent) : QTabBar(parent) {}
    QString bitmap = QStringLiteral("BACKGROUND");

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!TexturesOn()) {
            QTabBar::paintEvent(event);
            return;
        }
        QPainter painter(this);
        // The strip beside the last tab shows the background texture.
        if (count() > 0) {
            const QRect last = tabRect(count() - 1);
            const QRect strip(last.right() + 1, 0, width() - last.right() - 1, last.bottom() + 1);
            DlgPaint(painter, this, 0, bitmap, &strip);
        }
        for (int i = 0; i < count(); ++i) {
            const bool selected = i == currentIndex();
            const QIcon icon = tabIcon(i);
            RkDrawItem(painter, tabRect(i), selected ? CoolItemState::Pressed : CoolItemState::Normal,
                       tabText(i), bitmap, isTabEnabled(i), true,
                       icon.isNull() ? QPixmap() : icon.pixmap(iconSize()));
        }
    }
};

} // namespace

CRkCoolTabCtrl::CRkCoolTabCtrl(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new CoolTabBar(this));
}

void CRkCoolTabCtrl::SetBackGround(const QString& name)
{
    static_cast<CoolTabBar*>(tabBar())->bitmap = name;
    tabBar()->update();
}

QString CRkCoolTabCtrl::BackGround() const
{
    return static_cast<CoolTabBar*>(tabBar())->bitmap;
}
