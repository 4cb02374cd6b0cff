#include "tessary/ModalAnswers.h"

#include <QList>

namespace {

QList<int> g_queue;
bool g_automatic = false;
QStringList g_shown;

} // namespace

void ModalAnswers::Push(int answer)
{
    g_queue.append(answer);
}

void ModalAnswers::SetAutomatic(bool on)
{
    g_automatic = on;
}

bool ModalAnswers::Automatic()
{
    return g_automatic;
}

bool ModalAnswers::Take(const QString& text, int& answer)
{
    if (!g_queue.isEmpty()) {
        answer = g_queue.takeFirst();
        g_shown.append(text);
        return true;
    }
    if (g_automatic) {
        g_shown.append(text);
        return true;
    }
    return false;
}

const QStringList& ModalAnswers::Shown()
{
    return g_shown;
}

void ModalAnswers::Clear()
{
    g_queue.clear();
    g_shown.clear();
}
