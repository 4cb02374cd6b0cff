#pragma once

#include <QObject>
#include <QString>

class CMainFrame;

/// The frame's commands that move translations in and out of the open
/// dictionary and keep it tidy: Import, Export, Texts not to translate and
/// Unused texts.
class MaintenanceCommands : public QObject
{
    Q_OBJECT
public:
    explicit MaintenanceCommands(CMainFrame* frame);

    void OnImport();
    /// The save dialog, then ExportTo.
    void OnExport();
    /// An .htm or .html path gets the list of the "Dictionary" window as an
    /// HTML table (it must be on screen); any other path the texts and
    /// translations, one line each.
    bool ExportTo(const QString& path);
    void OnTextsNotToTranslate();
    void OnUnusedTexts();

private:
    void Refresh();

    CMainFrame* m_frame;
};
