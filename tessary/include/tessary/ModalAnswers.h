#pragma once

#include "tessary/TessaryExport.h"

#include <QString>
#include <QStringList>

/// Lets tests answer the library's modal dialogs (message boxes, the
/// Yes/No/All question, the welcome and about boxes) without showing them.
/// Answers queued with Push are taken in order; with automatic answers on,
/// a dialog with no queued answer takes its default button. Every dialog
/// answered this way leaves its text in Shown().
class TESSARY_EXPORT ModalAnswers
{
public:
    static void Push(int answer);
    static void SetAutomatic(bool on);
    static bool Automatic();
    /// True when the dialog is answered without showing; answer is set to
    /// the queued answer, or left as the default when answered automatically.
    static bool Take(const QString& text, int& answer);
    static const QStringList& Shown();
    static void Clear();
};
