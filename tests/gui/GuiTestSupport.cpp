#include "gui/GuiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

QString GrabFolder()
{
    const QString folder = QStringLiteral(LINGOREL_GRAB_DIR);
    QDir().mkpath(folder);
    return folder;
}

QString GrabToPng(QWidget* widget, const QString& name)
{
    if (!widget->isVisible())
        widget->show();
    QApplication::processEvents();
    const QString path = GrabFolder() + QLatin1Char('/') + name + QStringLiteral(".png");
    widget->grab().save(path);
    return path;
}
