#pragma once

#include <QString>

class QWidget;

/// Folder of the build where the tests leave their screenshots.
/// The letter a text marks with "&" as its access key, lower case; none
/// when it marks none ("&&" is an ampersand).
QChar AccessKeyOf(const QString& text);

QString GrabFolder();
/// Grabs the widget (shown offscreen first) to GrabFolder()/name.png and
/// returns the path.
QString GrabToPng(QWidget* widget, const QString& name);
