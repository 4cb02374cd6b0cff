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

QChar AccessKeyOf(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}
