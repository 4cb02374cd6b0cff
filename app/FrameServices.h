#pragma once

class CDlgEntityDictionary;
class CDlgGeneralDictionary;
class CDlgPreviewTabs;
class CFvMisc;
class CResTreeCtrl;
class DocumentCommands;
class SearchCommands;
class QString;
class QWidget;

/// What the main window's command objects (searches, maintenance) may ask
/// of it: its parts and its refreshes. They see the window through this,
/// and the window alone knows how it is built.
class FrameServices
{
public:
    /// The window itself, the parent of the dialogs a command opens.
    virtual QWidget* Window() = 0;
    virtual CResTreeCtrl* Tree() const = 0;
    virtual CDlgPreviewTabs* PreviewTabs() const = 0;
    virtual DocumentCommands* Documents() const = 0;
    virtual CFvMisc* MiscView() const = 0;
    virtual SearchCommands* Searches() const = 0;

    /// The "Dictionary" window (made on first use).
    virtual CDlgGeneralDictionary* DictionaryWindow() = 0;
    virtual bool DictionaryWindowVisible() const = 0;
    /// The "Texts of this resource" window.
    virtual CDlgEntityDictionary* TextsWindow() const = 0;
    virtual void HideTextsWindow() = 0;
    /// After a command that hid it: the texts window again, when the Texts
    /// tab is on and a resource is selected.
    virtual void RestoreTextsWindow() = 0;

    /// Applies the enabled and checked rules of every command.
    virtual void UpdateActions() = 0;
    /// Builds the tree again from the dictionary, keeping the selection.
    virtual void RebuildTree() = 0;
    /// What a run did, in the status bar (the counts stay beside it).
    virtual void ShowRunSummary(const QString& done) = 0;
    /// One of the window's one-shot timers (1: refresh after a change).
    virtual void StartTimer(int timer, int milliseconds) = 0;

protected:
    ~FrameServices() = default;
};
