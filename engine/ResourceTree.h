#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ContextDictionary;
class GeneralDictionary;
class NotExtractedList;
class ProgressSink;

/// One item of the resource tree: a script, a category of resources under
/// it, or a dialog or menu under a category.
struct ResourceTreeItem
{
    enum class Level
    {
        File,
        Category,
        Resource
    };

    Level level = Level::File;
    std::string text;
    /// Category: 1 menus, 2 dialogs, 3 string table; resource: 4 or 5.
    int data = 0;
    int image = 0;
    /// Resources: 1 not to be extracted, 2 extracted.
    int overlay = 0;
    bool expanded = false;
    // The file record of a file item.
    std::string source;
    std::string destination;

    ResourceTreeItem* parent = nullptr;
    std::vector<std::unique_ptr<ResourceTreeItem>> children; // in alphabetical order
};

/// What the resource tree shows: for every script of the dictionary, its
/// dialogs, its menus and its string table, with icons telling what is
/// completely translated and overlays telling what is not extracted. The
/// window only renders this model.
class ResourceTree
{
public:
    // Category data and item images.
    enum Category : int
    {
        CategoryMenus = 1,
        CategoryDialogs = 2,
        CategoryStringTable = 3
    };
    enum Image : int
    {
        ImageDialog = 0,
        ImageMenu = 1,
        ImageStringTable = 2,
        ImageCategory = 3,
        ImageFile = 4,
        ImageDialogTranslated = 5,
        ImageMenuTranslated = 6,
        ImageStringTableTranslated = 7,
        ImageCategoryTranslated = 8,
        ImageFileTranslated = 9,
        ImageOverlayNotExtracted = 10,
        ImageOverlayExtracted = 11,
    };
    enum Overlay : int
    {
        OverlayNotExtracted = 1,
        OverlayExtracted = 2
    };
    enum ShownKinds : int
    {
        ShowMenus = 1,
        ShowDialogs = 2,
        ShowStringTable = 4
    };

    // Settings of the tree.
    int shownKinds = 7;
    bool expandAfterLoading = false;
    bool updateIcons = false;
    /// Kind of the selected item: 1-3 a category, 4-5 a resource, else a
    /// file or nothing.
    int selectedKind = 6;

    /// The dictionary's scripts (source -> destination), replaced whole.
    void SetFileMap(std::vector<std::pair<std::string, std::string>> files) { m_fileMap = std::move(files); }
    bool HasFileMap() const { return m_hasFileMap || !m_fileMap.empty(); }
    void SetHasFileMap(bool has) { m_hasFileMap = has; }
    void SetStores(const GeneralDictionary* general, const ContextDictionary* context,
                   const NotExtractedList* notExtracted);

    /// Rebuilds every item from the file map, scanning each script; the bar
    /// steps once per script. Returns false (tree untouched) without a map.
    bool RebuildTree(ProgressSink* bar = nullptr);
    /// Adds the dialog or menu a line of the file's script declares.
    /// Adds the dialog or menu a line declares (kind 0: none).
    void RecogniseResource(ResourceTreeItem& file, std::pair<int, std::string_view> declared);
    /// Recomputes the not-extracted overlays of every resource.
    void RefreshExtractMarks();
    /// Recomputes the translated icons (only when updateIcons is on).
    void UpdateTranslationIcons();
    void SetResourceIcon(const std::string& source, const std::string& name, bool translated);

    const std::vector<std::unique_ptr<ResourceTreeItem>>& Files() const { return m_files; }
    void Clear() { m_files.clear(); }
    /// Removes a script's item with everything below it.
    bool RemoveFile(std::string_view source);
    ResourceTreeItem* FindFileItem(std::string_view source) const;
    ResourceTreeItem* FindCategory(const ResourceTreeItem& file, int data) const;
    /// The dialog or menu of that name (dialogs first), or the string-table
    /// category for "Stringtable" in any case; category gets its category.
    ResourceTreeItem* FindResourceItem(std::string_view source, std::string_view name,
                                       ResourceTreeItem** category = nullptr) const;

    /// The kind an item stands for when selected (see selectedKind).
    static int KindOf(const ResourceTreeItem* item);
    /// The file item an item belongs to.
    static const ResourceTreeItem* FileOf(const ResourceTreeItem* item);
    std::string SelectedSource(const ResourceTreeItem* selected) const;
    std::string SelectedResourceName(const ResourceTreeItem* selected) const;
    /// "source;label;name" of the selection, empty for none.
    std::string SaveSelection(const ResourceTreeItem* selected) const;
    /// The item a saved selection names, or null. On the first start on
    /// the sample dictionary the sample's dialog is taken instead.
    ResourceTreeItem* RestoreSelection(const std::string& saved, bool sampleStart) const;

    static constexpr const char* kSampleSelection = "sample.rc;Dialog boxes;IDD_DIALOG1";

private:
    ResourceTreeItem* AddChild(ResourceTreeItem& parent, std::unique_ptr<ResourceTreeItem> child);
    /// Gives scripts of one file name enough of their folders to be told apart.
    void NameFilesApart();
    ResourceTreeItem* AddFile(const std::string& source, const std::string& destination);
    bool IsExcluded(const std::string& source, const std::string& name, int kind) const;

    std::vector<std::pair<std::string, std::string>> m_fileMap;
    bool m_hasFileMap = false;
    std::vector<std::unique_ptr<ResourceTreeItem>> m_files;
    const GeneralDictionary* m_general = nullptr;
    const ContextDictionary* m_context = nullptr;
    const NotExtractedList* m_notExtracted = nullptr;
};
