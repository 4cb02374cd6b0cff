#pragma once

#include "engine/ResourceTree.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/StyleNameTable.h"

#include <QFont>
#include <QPointer>
#include <QTreeWidget>

#include <memory>

class CDlgPreview;
class CTrelvarDoc;
class PreviewTranslator;

/// The resource tree of the left pane: it renders the ResourceTree model
/// (scripts, their dialogs, menus and string table), previews the selected
/// dialog or menu in the host area of the preview tabs, and offers the
/// "Do not extract", "Properties" and "Delete" commands of its items.
class CResTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    enum Command
    {
        CmdDoNotExtract = 1048,
        CmdProperties = 1093,
        CmdDelete = 1094
    };

    explicit CResTreeCtrl(QWidget* parent = nullptr);
    ~CResTreeCtrl() override;

    ResourceTree& Model() { return m_model; }
    void SetDocument(CTrelvarDoc* document);
    CTrelvarDoc* Document() const { return m_document; }

    /// Takes the dictionary's scripts and rebuilds everything, with a wait
    /// window; the first script is selected afterwards.
    void RebuildTree();
    /// Empties the tree (the document is closing).
    void ClearTree();
    /// Shows the model's current icons and overlays.
    void RefreshIcons();
    /// Recomputes the translated icons now, whatever the setting.
    void UpdateIconsNow();
    void RefreshExtractMarks();
    void MarkIconsDirty() { m_iconsDirty = true; }
    /// Brings the icons up to date after translations changed.
    void UpdateIconsIfDirty();

    // Preview state.
    void SetPreviewVisible(bool visible);
    void SetTranslatedMode(bool translated) { m_translatedMode = translated; }
    void SetPreviewOnSelect(bool on) { m_previewOnSelect = on; }
    void SetHost(QWidget* host) { m_host = host; }
    bool PreviewVisible() const { return m_previewVisible; }
    bool TranslatedMode() const { return m_translatedMode; }
    /// The fonts of original and translated texts, and whether the
    /// previews' controls use them.
    void SetPreviewFonts(const QFont& original, const QFont& translation, bool forControls);
    /// Reads the selected dialog or menu and shows it. 0 when nothing could
    /// be tried, 1 when the script was read.
    int Preview();
    void DestroyPreviews();
    /// Forgets the translator (the dictionary changed).
    void DropTranslator();
    CDlgPreview* DialogPreview() const;
    CDlgPreview* MenuPreview() const;
    const PreviewDialogInfo& Description() const { return m_dialog; }
    int SelectedTab() const { return m_selectedTab; }
    void SetSelectedTab(int tab) { m_selectedTab = tab; }

    // Selection.
    const ResourceTreeItem* SelectedItem() const;
    int SelectedKind() const { return m_model.selectedKind; }
    std::string SelectedSource() const { return m_model.SelectedSource(SelectedItem()); }
    std::string SelectedResourceName() const { return m_model.SelectedResourceName(SelectedItem()); }
    void Select(const ResourceTreeItem* item);
    QTreeWidgetItem* ViewItem(const ResourceTreeItem* item) const;
    /// Writes the selection to the dictionary's section of the settings.
    void SaveSelection() const;
    /// Selects what the settings remember (the sample's dialog on the
    /// program's first start).
    void RestoreSelection(bool sampleStart);

    /// The tree's commands on the selected item.
    void OnDoNotExtract();
    void OnDelete();
    /// The properties sheet of the selected item's script.
    void OnFileProperties();
    /// Whether "Do not extract" applies to the selection, and whether it is on.
    bool CanDoNotExtract() const;
    bool IsNotExtracted() const;

    /// The composed picture of an image with an overlay.
    static QIcon Icon(int image, int overlay);

signals:
    /// The selection changed; kind as in ResourceTree::selectedKind.
    void selectionChanged(int kind);
    /// The tree changed the dictionary (an exclusion, a removed script).
    void documentChanged();
    /// The user asked for the properties of a script (its context menu):
    /// the window that owns the tree shows them.
    void filePropertiesRequested(const QString& source, const QString& destination);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Render();
    void OnCurrentItemChanged(QTreeWidgetItem* current);
    void CreateDialogPreview();
    void ShowMenuPreview();
    void Place(CDlgPreview* preview, bool menu);
    /// Sizes the previews' area to hold the preview shown.
    void FitHost();
    static constexpr int kPreviewMargin = 8;

    ResourceTree m_model;
    CTrelvarDoc* m_document = nullptr;
    bool m_treeActive = false;
    bool m_iconsDirty = false;
    bool m_previewOnSelect = true;
    bool m_previewVisible = false;
    bool m_translatedMode = false;
    int m_selectedTab = 0;
    int m_controlCounter = 1000;
    StyleNameTable m_styles;
    PreviewDialogInfo m_dialog;
    PreviewMenu m_menu;
    std::unique_ptr<PreviewTranslator> m_translator;
    QPointer<QWidget> m_host;
    QPointer<CDlgPreview> m_dialogPreview;
    QPointer<CDlgPreview> m_menuPreview;
    QFont m_originalFont;
    QFont m_translationFont;
    bool m_fontsForControls = false;
};
