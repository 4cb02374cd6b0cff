#pragma once

#include "dictionary/CTrelvarDoc.h"
#include "tessary/CoreFeedback.h"

#include <QObject>
#include <QString>

class QWidget;

/// The window side of the dictionary document: opening (with its wait
/// window and messages), saving, the question before a modified dictionary
/// is replaced or closed, and the document's own commands.
class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    explicit DocumentCommands(QWidget* window);

    CTrelvarDoc& Doc() { return m_doc; }
    const CTrelvarDoc& Doc() const { return m_doc; }
    MessageReporter& Reporter() { return m_reporter; }

    /// The program's way to open a dictionary (command line, Open, recent
    /// files, the wizard). False when it did not open; the previous
    /// dictionary then stays.
    bool OpenDocumentFile(const QString& path);
    /// Before File > New: asks to save a modified dictionary and lets the
    /// windows go of the open one. False when the user cancels.
    bool PrepareNew();
    /// The wizard created and opened a new dictionary: views follow it.
    void DocumentCreated();
    /// File > Open: the file dialog, then OpenDocumentFile.
    void OnFileOpen();
    bool OnFileSave();
    /// Asks whether to save a modified dictionary (Yes/No/Cancel); false
    /// when the user cancels.
    bool SaveModified();
    /// Edit > Delete all shortcuts.
    void OnDeleteAllShortcuts();
    /// Tells the windows the open dictionary's fonts from the settings.
    void AnnounceFonts();
    /// The window title for the document.
    QString Title() const;

signals:
    /// Before the open dictionary is replaced or closed (windows let go of
    /// its stores; the tree saves its selection).
    void aboutToReplace();
    /// A dictionary was opened: views are rebuilt.
    void documentOpened();
    /// Fonts of the dictionary read from the settings (descriptions).
    void fontsChanged(const std::string& original, const std::string& translation, bool lists, bool previews);
    /// The document's title or modified state changed.
    void titleChanged();
    /// Loading found scripts changed since their last extraction.
    void extractRequested();
    /// The texts window must go before a command runs.
    void hideTextsWindow();

private:
    /// What follows a dictionary becoming the open one.
    void Announce(const std::string& file);

    QWidget* m_window;
    CTrelvarDoc m_doc;
    MessageBoxReporter m_reporter;
    YesNoAllAsker m_question;
};
