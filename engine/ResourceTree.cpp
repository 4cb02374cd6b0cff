#include "engine/ResourceTree.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/TextRules.h"
#include "engine/Literal.h"
#include "engine/ResourceKind.h"
#include "engine/ScriptResources.h"
#include "engine/ScriptText.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

// Alphabetical order of the tree: without regard to case first.
bool Before(const std::string& a, const std::string& b)
{
    const std::string la = AnsiLower(a), lb = AnsiLower(b);
    return la != lb ? la < lb : a < b;
}

std::string CategoryLabel(int data)
{
    switch (data) {
    case ResourceTree::CategoryMenus:
        return std::string(MessageText(MsgMenus));
    case ResourceTree::CategoryDialogs:
        return std::string(MessageText(MsgDialogBoxes));
    default:
        return std::string(MessageText(MsgStringtable));
    }
}

} // namespace

void ResourceTree::SetStores(const GeneralDictionary* general, const ContextDictionary* context,
                             const NotExtractedList* notExtracted)
{
    m_general = general;
    m_context = context;
    m_notExtracted = notExtracted;
}

ResourceTreeItem* ResourceTree::AddChild(ResourceTreeItem& parent, std::unique_ptr<ResourceTreeItem> child)
{
    child->parent = &parent;
    auto& children = parent.children;
    const auto at = std::upper_bound(children.begin(), children.end(), child,
                                     [](const auto& a, const auto& b) { return Before(a->text, b->text); });
    return children.insert(at, std::move(child))->get();
}

ResourceTreeItem* ResourceTree::AddFile(const std::string& source, const std::string& destination)
{
    auto file = std::make_unique<ResourceTreeItem>();
    file->level = ResourceTreeItem::Level::File;
    file->text = std::string(FileNameOf(source));
    file->source = source;
    file->destination = destination;
    file->image = ImageFile;
    const auto at = std::upper_bound(m_files.begin(), m_files.end(), file,
                                     [](const auto& a, const auto& b) { return Before(a->text, b->text); });
    return m_files.insert(at, std::move(file))->get();
}

void ResourceTree::NameFilesApart()
{
    // Scripts of one name (three "app.rc") are told apart by as many of
    // their folders as it takes: "de/app.rc", "fr/app.rc".
    for (int folders = 1; folders < 16; ++folders) {
        std::map<std::string, int> count;
        for (const auto& file : m_files)
            ++count[AnsiLower(file->text)];
        bool repeated = false;
        for (auto& file : m_files) {
            if (count[AnsiLower(file->text)] < 2)
                continue;
            std::filesystem::path tail;
            std::filesystem::path path(file->source);
            std::vector<std::string> parts;
            for (const auto& part : path)
                parts.push_back(part.string());
            const std::size_t keep = std::min(parts.size(), static_cast<std::size_t>(folders) + 1);
            std::string text;
            for (std::size_t i = parts.size() - keep; i < parts.size(); ++i)
                text += (text.empty() || text == "/" ? "" : "/") + parts[i];
            repeated = repeated || text != file->text;
            file->text = text;
        }
        if (!repeated)
            break;
    }
    std::stable_sort(m_files.begin(), m_files.end(),
                     [](const auto& a, const auto& b) { return Before(a->text, b->text); });
}

bool ResourceTree::IsExcluded(const std::string& source, const std::string& name, int kind) const
{
    return m_notExtracted && m_notExtracted->Contains(NotExtractedList::MakeKey(source, name, kind));
}

bool ResourceTree::RebuildTree(ProgressSink* bar)
{
    if (!HasFileMap())
        return false;
    m_files.clear();
    if (bar) {
        bar->SetRange(static_cast<int>(m_fileMap.size()));
        bar->SetPosition(0);
    }
    int done = 0;
    for (const auto& [source, destination] : m_fileMap) {
        ResourceTreeItem* file = AddFile(source, destination);
        const struct
        {
            int bit;
            int data;
        } categories[] = {{ShowDialogs, CategoryDialogs},
                          {ShowMenus, CategoryMenus},
                          {ShowStringTable, CategoryStringTable}};
        for (const auto& c : categories) {
            if (!(shownKinds & c.bit))
                continue;
            auto category = std::make_unique<ResourceTreeItem>();
            category->level = ResourceTreeItem::Level::Category;
            category->text = CategoryLabel(c.data);
            category->data = c.data;
            category->image = ImageCategory;
            AddChild(*file, std::move(category));
        }
        // A script that cannot be read keeps its file and categories.
        ScriptText script;
        if (script.Open(ResolveExistingPath(source), OpenOriginalsCodePage()) && !script.Failed()) {
            const LiteralEncodingScope encoding(
                LiteralEncoding{script.WorkingCodePage(), !script.Transcoded()});
            ScriptResources::Reader reader;
            std::string line;
            for (auto n = script.ReadFirstLine(line); n >= 0; n = script.ReadLine(line)) {
                if (n > 0)
                    RecogniseResource(*file, reader.Next(line, shownKinds));
            }
        }
        if (bar)
            bar->SetPosition(++done);
    }
    NameFilesApart();
    if (expandAfterLoading) {
        for (auto& file : m_files)
            file->expanded = true;
    }
    const bool saved = updateIcons;
    updateIcons = true;
    UpdateTranslationIcons();
    updateIcons = saved;
    return true;
}

void ResourceTree::RecogniseResource(ResourceTreeItem& file, std::pair<int, std::string_view> declared)
{
    const auto [kind, name] = declared;
    if (kind != 0) {
        if (FindResourceItem(file.source, name))
            return; // the first of a name wins
        ResourceTreeItem* category = FindCategory(file, kind == KindMenu ? CategoryMenus : CategoryDialogs);
        if (!category)
            return;
        auto item = std::make_unique<ResourceTreeItem>();
        item->level = ResourceTreeItem::Level::Resource;
        item->text = std::string(name);
        item->data = kind;
        item->image = kind == KindMenu ? ImageMenu : ImageDialog;
        item->overlay = IsExcluded(file.source, item->text, kind) ? OverlayNotExtracted : OverlayExtracted;
        AddChild(*category, std::move(item));
    }
}

void ResourceTree::RefreshExtractMarks()
{
    for (auto& file : m_files) {
        for (auto& category : file->children) {
            for (auto& resource : category->children)
                resource->overlay = IsExcluded(file->source, resource->text, resource->data)
                                        ? OverlayNotExtracted
                                        : OverlayExtracted;
        }
    }
}

void ResourceTree::SetResourceIcon(const std::string& source, const std::string& name, bool translated)
{
    ResourceTreeItem* item = FindResourceItem(source, name);
    if (!item)
        return;
    if (item->level == ResourceTreeItem::Level::Category)
        item->image = translated ? ImageStringTableTranslated : ImageStringTable;
    else if (item->data == KindMenu)
        item->image = translated ? ImageMenuTranslated : ImageMenu;
    else
        item->image = translated ? ImageDialogTranslated : ImageDialog;
}

void ResourceTree::UpdateTranslationIcons()
{
    if (!updateIcons)
        return;
    for (auto& file : m_files) {
        const bool known = m_context && m_general && m_context->FindFile(file->source);
        // The resources with an untranslated text, found in one pass.
        const std::unordered_set<std::string> untranslated =
            known ? m_context->UntranslatedResources(file->source, *m_general)
                  : std::unordered_set<std::string>();
        bool allTranslated = true;
        for (int data : {CategoryDialogs, CategoryMenus}) {
            ResourceTreeItem* category = FindCategory(*file, data);
            if (!category)
                continue;
            bool categoryTranslated = true;
            for (auto& resource : category->children) {
                if (known)
                    SetResourceIcon(file->source, resource->text, untranslated.count(resource->text) == 0);
                categoryTranslated = categoryTranslated && (resource->image == ImageDialogTranslated ||
                                                            resource->image == ImageMenuTranslated);
            }
            category->image = categoryTranslated ? ImageCategoryTranslated : ImageCategory;
            allTranslated = allTranslated && categoryTranslated;
        }
        if (ResourceTreeItem* table = FindCategory(*file, CategoryStringTable)) {
            if (known)
                SetResourceIcon(file->source, CategoryLabel(CategoryStringTable),
                                untranslated.count("STRINGTABLE") == 0);
            allTranslated = allTranslated && table->image == ImageStringTableTranslated;
        }
        file->image = allTranslated ? ImageFileTranslated : ImageFile;
    }
}

bool ResourceTree::RemoveFile(std::string_view source)
{
    const auto it =
        std::find_if(m_files.begin(), m_files.end(), [&](const auto& f) { return f->source == source; });
    if (it == m_files.end())
        return false;
    m_files.erase(it);
    m_fileMap.erase(
        std::remove_if(m_fileMap.begin(), m_fileMap.end(), [&](const auto& p) { return p.first == source; }),
        m_fileMap.end());
    return true;
}

ResourceTreeItem* ResourceTree::FindFileItem(std::string_view source) const
{
    for (const auto& file : m_files) {
        if (file->source == source)
            return file.get();
    }
    // The in-context dictionary names a script without regard to case.
    for (const auto& file : m_files) {
        if (EqualsNoCase(file->source, source))
            return file.get();
    }
    return nullptr;
}

ResourceTreeItem* ResourceTree::FindCategory(const ResourceTreeItem& file, int data) const
{
    for (const auto& category : file.children) {
        if (category->data == data)
            return category.get();
    }
    return nullptr;
}

ResourceTreeItem* ResourceTree::FindResourceItem(std::string_view source, std::string_view name,
                                                 ResourceTreeItem** category) const
{
    const ResourceTreeItem* file = FindFileItem(source);
    if (!file)
        return nullptr;
    if (EqualsNoCase(name, MessageText(MsgStringtable))) {
        ResourceTreeItem* table = FindCategory(*file, CategoryStringTable);
        if (category)
            *category = table;
        return table;
    }
    for (int data : {CategoryDialogs, CategoryMenus}) {
        ResourceTreeItem* c = FindCategory(*file, data);
        if (!c)
            continue;
        for (const auto& resource : c->children) {
            if (resource->text == name) {
                if (category)
                    *category = c;
                return resource.get();
            }
        }
    }
    return nullptr;
}

int ResourceTree::KindOf(const ResourceTreeItem* item)
{
    if (!item)
        return KindNone;
    return item->level == ResourceTreeItem::Level::File ? 0 : item->data;
}

const ResourceTreeItem* ResourceTree::FileOf(const ResourceTreeItem* item)
{
    while (item && item->parent)
        item = item->parent;
    return item;
}

std::string ResourceTree::SelectedSource(const ResourceTreeItem* selected) const
{
    const ResourceTreeItem* file = FileOf(selected);
    return file ? file->source : std::string();
}

std::string ResourceTree::SelectedResourceName(const ResourceTreeItem* selected) const
{
    const int kind = KindOf(selected);
    if (kind == KindStringTable)
        return "STRINGTABLE";
    if (kind == KindMenu || kind == KindDialog)
        return selected->text;
    return {};
}

std::string ResourceTree::SaveSelection(const ResourceTreeItem* selected) const
{
    if (!selected)
        return {};
    std::string label;
    switch (KindOf(selected)) {
    case CategoryMenus:
    case KindMenu:
        label = MessageText(MsgMenus);
        break;
    case CategoryDialogs:
    case KindDialog:
        label = MessageText(MsgDialogBoxes);
        break;
    case CategoryStringTable:
        label = MessageText(MsgStringtable);
        break;
    default:
        break;
    }
    return SelectedSource(selected) + ";" + label + ";" + SelectedResourceName(selected);
}

ResourceTreeItem* ResourceTree::RestoreSelection(const std::string& saved, bool sampleStart) const
{
    const std::string value = sampleStart ? std::string(kSampleSelection) : saved;
    std::string parts[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t semicolon = i < 2 ? value.find(';', start) : std::string::npos;
        parts[i] = value.substr(std::min(start, value.size()),
                                semicolon == std::string::npos ? std::string::npos : semicolon - start);
        if (semicolon == std::string::npos) {
            start = value.size();
            continue;
        }
        start = semicolon + 1;
    }
    const std::string& fileName = parts[0];
    const std::string& label = parts[1];
    const std::string& name = parts[2];
    if (fileName.empty())
        return nullptr;
    ResourceTreeItem* file = FindFileItem(fileName);
    if (!file && fileName.find_first_of("/\\") == std::string::npos) {
        // A file named without its folder (the sample's selection).
        for (const auto& f : m_files) {
            if (f->text == fileName) {
                file = f.get();
                break;
            }
        }
    }
    if (!file)
        return nullptr;
    if (name.empty()) {
        if (label.empty())
            return file;
        if (label == MessageText(MsgDialogBoxes))
            return FindCategory(*file, CategoryDialogs);
        if (label == MessageText(MsgMenus))
            return FindCategory(*file, CategoryMenus);
        return nullptr;
    }
    return FindResourceItem(file->source, name);
}
