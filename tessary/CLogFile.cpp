#include "tessary/CLogFile.h"

#include "tessary/CRkMessageBox.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/TessaryStrings.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {

QString g_fileName;
std::uint8_t g_condition = 0xFF;
bool g_errorShown = false;

bool Append(const QByteArray& bytes)
{
    QFile file(g_fileName);
    if (g_fileName.isEmpty())
        return false;
    QByteArray out;
    if (QFileInfo(g_fileName).size() >= CLogFile::kMaxSize) {
        QFile::remove(g_fileName);
        out = "Log file cleared (> 300 Ko) !\n";
    }
    out += bytes;
    if (!file.open(QIODevice::Append) || file.write(out) != out.size()) {
        if (!g_errorShown) {
            g_errorShown = true;
            RkMessageBox(TessaryStrings::Load(TessaryStrings::LogFileError), 0x0030, -1, nullptr, nullptr,
                         -1);
        }
        return false;
    }
    return true;
}

} // namespace

void CLogFile::SetFileName(const QString& path)
{
    g_fileName = path;
}

QString CLogFile::FileName()
{
    return g_fileName;
}

QString CLogFile::FormatLine(const QString& label, std::uint32_t duration, const QString& time)
{
    QString line = time + QLatin1Char(' ') + label;
    if (duration != 0xFFFFFFFFu)
        line += QStringLiteral(" (duration=%1 ms)").arg(duration);
    return line + QStringLiteral(".\n");
}

bool CLogFile::LogLine(const char* label, std::uint8_t categories, std::uint32_t duration)
{
    if ((categories & g_condition) == 0)
        return true;
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy (HH:mm:ss)"));
    return Append(FormatLine(QString::fromLocal8Bit(label), duration, time).toLocal8Bit());
}

void CLogFile::TryFile(const char* path, bool forWriting)
{
    if ((g_condition & 0x04) == 0)
        return;
    QElapsedTimer timer;
    timer.start();
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(forWriting ? QIODevice::ReadWrite : QIODevice::ReadOnly)) {
        const QByteArray text =
            QStringLiteral("Test of file %1 : Success").arg(QString::fromLocal8Bit(path)).toLocal8Bit();
        LogLine(text.constData(), 0x04, static_cast<std::uint32_t>(timer.elapsed()));
        return;
    }
    const unsigned cause = file.error() == QFileDevice::PermissionsError ? 5 : file.exists() ? 0 : 3;
    LogFileException(path, cause, 0x04);
}

void CLogFile::TryDirectory(const char* folder)
{
    const QString name = QString::fromLocal8Bit(folder);
    QFile probe(name + QStringLiteral("/ess.tmp"));
    QString line;
    if (!QFileInfo(name).isDir())
        line = QStringLiteral("Bad path : %1 !").arg(name);
    else if (!probe.open(QIODevice::WriteOnly) || probe.write("ess", 3) != 3)
        line = QStringLiteral("Access deny to the directory : %1 !").arg(name);
    else
        line = QStringLiteral("Test of directory %1 : Success").arg(name);
    probe.close();
    probe.remove();
    LogLine(line.toLocal8Bit().constData(), 0xFF, 0xFFFFFFFF);
}

void CLogFile::LogFileException(const char* path, unsigned cause, std::uint8_t categories)
{
    const QString file = QString::fromLocal8Bit(path);
    QString line;
    if (cause == 3)
        line = QStringLiteral("Bad path : The file %1 couldn't be opened !").arg(file);
    else if (cause == 5)
        line = QStringLiteral(
                   "The file %1 couldn't be acceeded : access deny (verify if the file is read only)!")
                   .arg(file);
    else
        line = QStringLiteral("Exception on file %1 : %2").arg(file).arg(cause);
    LogLine(line.toLocal8Bit().constData(), categories, 0xFFFFFFFF);
}

void CLogFile::LogParameters()
{
    if ((g_condition & 0x01) == 0)
        return;
    QFile settings(GlobalVarsForDll::csIni);
    QByteArray content;
    if (settings.open(QIODevice::ReadOnly))
        content = settings.readAll();
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += '\n';
    Append("---------------  Parameters :  ---------------\n" + content +
           "---------------------------------------------\n");
}

void CLogFile::AddLineToLogFile()
{
    Append("\n");
}

void CLogFile::SetLogFileCondition(std::uint8_t mask)
{
    g_condition = mask;
}

std::uint8_t CLogFile::GetLogFileCondition()
{
    return g_condition;
}
