#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class CDlgCheckResults;
class FrameServices;

/// The frame's commands that move translations in and out of the open
/// dictionary and keep it tidy: Import, Export, Texts not to translate and
/// Unused texts.
class MaintenanceCommands : public QObject
{
    Q_OBJECT
public:
    explicit MaintenanceCommands(FrameServices* frame);

    void OnImport();
    /// The save dialog, then ExportTo.
    void OnExport();
    /// An .htm or .html path gets the list of the "Dictionary" window as an
    /// HTML table (it must be on screen); a .po, .xlf or .xliff path the
    /// file translation tools read; any other path the texts and
    /// translations, one line each.
    bool ExportTo(const QString& path);
    void OnTextsNotToTranslate();
    void OnUnusedTexts();
    /// Runs the checks of translations on every script and shows the
    /// findings in their window.
    void OnCheckTranslations();
    /// Brings in the translations of a script translated by hand; the tree
    /// then shows what is translated.
    void OnAlign();
    /// Fills the texts without a translation from the translation memory
    /// (exact matches, or close ones from the score the user gives; asked
    /// unless given) and says what it filled and from where.
    void OnPretranslate(int minScore = 0);
    CDlgCheckResults* CheckWindow() const { return m_checkWindow; }
    /// What the last pre-translation said.
    const QString& LastPretranslation() const { return m_lastPretranslation; }

private:
    void Refresh();
    /// What an export or import left out, in one message.
    void ShowProblems(const std::vector<std::string>& problems);

    FrameServices* m_frame;
    CDlgCheckResults* m_checkWindow = nullptr;
    QString m_lastPretranslation;
};
