#include "app/DocumentCommands.h"

#include "app/RecentFiles.h"
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/Messages.h"
#include "settings/FontDescription.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CWaitWindow.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"
#include "windows/MemoryMatches.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

DocumentCommands::DocumentCommands(QWidget* window)
    : QObject(window), m_window(window), m_reporter(window), m_question(window)
{
    m_doc.SetReporter(&m_reporter);
    m_doc.SetQuestion(&m_question);
}

bool DocumentCommands::OpenDocumentFile(const QString& path)
{
    if (!SaveModified())
        return false;
    const std::string file = QFileInfo(path).absoluteFilePath().toStdString();
    emit aboutToReplace();
    m_doc.SetAskOnChange(AppSettings().Get(Settings::Flag::AskExtract) ? 1 : 0);
    auto open = [&](CTrelvarDoc::Access access) {
        CWaitWindow wait(DisplayText(std::string(MessageText(MsgLoadingDictionary))),
                         CWaitWindow::WithProgressBar, m_window);
        return m_doc.OnOpenDocument(file, &wait, access);
    };
    bool opened = open(CTrelvarDoc::Access::ReadWrite);
    // Another program writes the dictionary: it can still be looked at.
    if (!opened && m_doc.InUse() &&
        RkMessageBox(DisplayText(FormatMessage(MsgOpenReadOnly, {file})), 0x0004 | 0x0020, -1, m_window,
                     nullptr, -1) == CRkMessageBox::IdYes)
        opened = open(CTrelvarDoc::Access::ReadOnly);
    if (!opened)
        return false;
    Announce(file);
    if (m_doc.Files()->ChangedCount() > 0)
        emit extractRequested();
    return true;
}

bool DocumentCommands::PrepareNew()
{
    if (!SaveModified())
        return false;
    emit aboutToReplace();
    return true;
}

void DocumentCommands::DocumentCreated()
{
    if (m_doc.IsOpen())
        Announce(m_doc.PathName());
}

void DocumentCommands::AnnounceFonts()
{
    const Settings settings = AppSettings();
    const std::string& file = m_doc.PathName();
    // An 8-bit dictionary's texts are in the code pages of its fonts'
    // character sets; a Unicode one keeps UTF-8 whatever the fonts.
    const auto original = FontDescription::Parse(settings.Get(file, Settings::DictionaryKey::OriginalFont));
    const auto translation =
        FontDescription::Parse(settings.Get(file, Settings::DictionaryKey::TranslationFont));
    // A dictionary that records its code pages keeps them; one made before
    // takes them from its fonts, and its next save records them.
    if (!m_doc.CodePagesKnown())
        m_doc.SetEncodings(CodePageOfCharset(original ? original->charset : 0),
                           CodePageOfCharset(translation ? translation->charset : 0),
                           original.has_value() || translation.has_value());
    emit fontsChanged(settings.Get(file, Settings::DictionaryKey::OriginalFont),
                      settings.Get(file, Settings::DictionaryKey::TranslationFont),
                      settings.Get(file, Settings::DictionaryKey::SetFontLists) == "1",
                      settings.Get(file, Settings::DictionaryKey::SetFontPreviews) == "1");
}

void DocumentCommands::Announce(const std::string& file)
{
    AnnounceFonts();
    RecentFiles::Add(QString::fromStdString(file));
    emit documentOpened();
    emit titleChanged();
}

void DocumentCommands::OnFileOpen()
{
    emit hideTextsWindow();
    const QString start = m_doc.IsOpen() ? QString::fromStdString(m_doc.Folder()) : QString();
    const QString path =
        QFileDialog::getOpenFileName(m_window, tr("Open"), start, QStringLiteral("Dictionary Files (*.dic)"));
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool DocumentCommands::OnFileSave()
{
    if (!m_doc.IsOpen())
        return false;
    // A file that could not be read is replaced only when the user agrees.
    if (!m_doc.UnreadableFiles().empty()) {
        const std::string file = m_doc.UnreadableFiles().front();
        if (RkMessageBox(DisplayText(FormatMessage(MsgReplaceUnreadable, {file})), 0x0004 | 0x0030, -1,
                         m_window, nullptr, -1) != CRkMessageBox::IdYes)
            return false;
        m_doc.ReplaceUnreadable();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_doc.Save();
    QApplication::restoreOverrideCursor();
    if (ok)
        RememberInBackground(m_doc);
    emit titleChanged();
    return ok;
}

bool DocumentCommands::SaveModified()
{
    if (!m_doc.IsOpen() || !m_doc.IsModified())
        return true;
    const QString question =
        tr("Would you like to save the changes of %1 ?").arg(QString::fromStdString(m_doc.PathName()));
    switch (RkMessageBox(question, 0x0003 | 0x0020, -1, m_window, nullptr, -1)) {
    case CRkMessageBox::IdYes:
        // A save that failed has told why; what was asked for does not go on.
        return OnFileSave();
    case CRkMessageBox::IdNo:
        return true;
    default:
        return false;
    }
}

void DocumentCommands::OnDeleteAllShortcuts()
{
    if (!m_doc.IsOpen())
        return;
    if (RkMessageBox(DisplayText(std::string(MessageText(MsgDeleteAllShortcuts))), 0x0004 | 0x0020, -1,
                     m_window, nullptr, -1) != CRkMessageBox::IdYes)
        return;
    emit hideTextsWindow();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool changed = m_doc.Context()->ClearShortcuts();
    QApplication::restoreOverrideCursor();
    if (changed) {
        m_doc.MarkChanged(CTrelvarDoc::ContextChanged);
        emit titleChanged();
    }
}

QString DocumentCommands::Title() const
{
    QString name = m_doc.IsOpen() ? QString::fromStdString(m_doc.PathName()) : tr("Untitled");
    if (m_doc.IsReadOnly())
        name += tr(" (read-only)");
    return name + QStringLiteral("[*] - ") + GlobalVarsForDll::csPartOfAppTitle;
}
