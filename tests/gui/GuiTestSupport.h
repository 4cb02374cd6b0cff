#pragma once

#include <QString>

class QWidget;

/// Folder of the build where the tests leave their screenshots.
QString GrabFolder();
/// Grabs the widget (shown offscreen first) to GrabFolder()/name.png and
/// returns the path.
QString GrabToPng(QWidget* widget, const QString& name);
