#include "dictionary/CTrelvarDoc.h"

#include "dictionary/Alongside.h"
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryCommit.h"
#include "dictionary/DictionaryFormat.h"
#include "dictionary/DictionaryLock.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/SafeFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Reads the first line of a file and compares it with the accepted headers.
// A file that cannot be opened is reported and fails too.
enum class HeaderCheck
{
    Right,
    Wrong,
    Unreadable // reported already
};

// Reads the first line of a file and compares it with the accepted headers.
// A file that cannot be opened is reported as such, and only so.
HeaderCheck CheckHeader(const std::string& path, std::initializer_list<std::string_view> accepted,
                        MessageReporter& reporter)
{
    LineFile file;
    std::string line;
    if (!file.OpenForReading(path)) {
        reporter.Report(MsgErrorOpeningFile, {path, file.ErrorText()});
        return HeaderCheck::Unreadable;
    }
    if (file.ReadFirstLine(line) > 0) {
        // A Unicode dictionary's mark precedes its header.
        if (line.rfind(kUtf8Mark, 0) == 0)
            line.erase(0, kUtf8Mark.size());
        for (std::string_view header : accepted) {
            if (line == header)
                return HeaderCheck::Right;
        }
    }
    return HeaderCheck::Wrong;
}

} // namespace

CTrelvarDoc::CTrelvarDoc() : m_reporter(&SilentReporter()), m_lock(std::make_unique<DictionaryLock>()) {}

CTrelvarDoc::~CTrelvarDoc() = default;

void CTrelvarDoc::SetReporter(MessageReporter* reporter)
{
    m_reporter = reporter ? reporter : &SilentReporter();
}

std::string CTrelvarDoc::CompanionPath(const std::string& dicPath, const char* extension)
{
    return ::CompanionPath(dicPath, extension);
}

bool CTrelvarDoc::CheckHeaders(const std::string& dic, const std::string& ent, const std::string& fil) const
{
    const struct
    {
        const std::string& path;
        std::initializer_list<std::string_view> headers;
        int wrongHeader;
    } files[] = {{dic, {kDicHeader, kDicHeaderFrench}, MsgNotGeneralDictionary},
                 {ent, {kEntHeader, kEntHeaderFrench}, MsgNotSpecificDictionary},
                 {fil, {kFilHeader, kFilHeaderFrench}, MsgNotListOfFiles}};
    for (const auto& f : files) {
        const HeaderCheck check = CheckHeader(f.path, f.headers, *m_reporter);
        if (check == HeaderCheck::Wrong)
            m_reporter->Report(f.wrongHeader, {f.path});
        if (check != HeaderCheck::Right)
            return false;
    }
    return true;
}

namespace {

// What makes each of a dictionary's files the one it is: a save replaces
// them by renaming new files over them, which changes this.
std::vector<FileIdentity> IdentitiesOf(const std::vector<std::string>& paths)
{
    std::vector<FileIdentity> identities;
    for (const std::string& path : paths) {
        FileIdentity id = IdentityOf(path);
        if (id.known)
            id.writeTime = LastWriteFileTime(path).value_or(0);
        identities.push_back(id);
    }
    return identities;
}

bool SameIdentities(const std::vector<FileIdentity>& a, const std::vector<FileIdentity>& b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].known != b[i].known ||
            (a[i].known && (!SameFile(a[i], b[i]) || a[i].writeTime != b[i].writeTime)))
            return false;
    }
    return true;
}

} // namespace

struct CTrelvarDoc::Loaded
{
    std::unique_ptr<GeneralDictionary> general;
    std::unique_ptr<ContextDictionary> context;
    std::unique_ptr<FileList> files;
    std::unique_ptr<NotExtractedList> notExtracted;
    std::vector<std::string> unreadable;
};

bool CTrelvarDoc::WaitForSaves(const std::string& dicPath)
{
    // A journal is a save under way, or one a crash interrupted: the first
    // ends soon, the second is completed by whoever may take the lock.
    const std::string journal = DictionaryCommit::JournalPath(dicPath);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_lockWait);
    while (FileExists(journal)) {
        DictionaryLock lock;
        if (lock.TryAcquire(dicPath)) {
            DictionaryCommit::Recover(dicPath);
            if (!FileExists(journal))
                return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_reporter->Report(MsgSaveNotCompleted, {dicPath, DictionaryCommit::JournalPath(dicPath)});
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::optional<CTrelvarDoc::Loaded> CTrelvarDoc::LoadFiles(const std::string& dicPath, ProgressSink* progress)
{
    const std::string entPath = CompanionPath(dicPath, ".ent");
    const std::string filPath = CompanionPath(dicPath, ".fil");
    const std::string nirPath = CompanionPath(dicPath, ".nir");
    if (!CheckHeaders(dicPath, entPath, filPath))
        return std::nullopt;
    if (progress) {
        progress->SetRange(4);
        progress->SetPosition(0);
    }
    // Load into new stores and replace the old ones only once all are read,
    // so that nothing of the open dictionary is lost when a load goes wrong.
    // A file that cannot be read whole is remembered: saving over it would
    // replace what the user has with what could be read.
    Loaded loaded;
    // A file cut short or damaged is opened only when the user agrees, and
    // then counts as unreadable: saving asks before replacing it.
    auto acceptDamage = [&](const std::string& path, std::int64_t line) {
        if (line == 0)
            return true;
        const std::vector<std::string> arguments{path, std::to_string(line)};
        if (!m_question || !m_question->Confirm(MsgOpenDamaged, arguments)) {
            m_reporter->Report(MsgFileDamaged, arguments);
            return false;
        }
        loaded.unreadable.push_back(path);
        return true;
    };
    // The two large stores are read at once, each on a thread of its own;
    // what they report is held and told as if they were read in turn.
    loaded.general = std::make_unique<GeneralDictionary>(true);
    loaded.general->SetFilePath(dicPath);
    loaded.context = std::make_unique<ContextDictionary>();
    loaded.context->SetFilePath(entPath);
    HeldMessages generalMessages;
    HeldMessages contextMessages;
    bool generalRead = false;
    bool contextRead = false;
    RunAlongside([&] { generalRead = loaded.general->Load(&generalMessages); },
                 [&] { contextRead = loaded.context->Load(&contextMessages); });

    generalMessages.TellTo(*m_reporter);
    if (!generalRead)
        loaded.unreadable.push_back(dicPath);
    if (!acceptDamage(dicPath, loaded.general->DamagedLine()))
        return std::nullopt;
    if (progress)
        progress->SetPosition(1);
    contextMessages.TellTo(*m_reporter);
    if (!contextRead)
        loaded.unreadable.push_back(entPath);
    if (!acceptDamage(entPath, loaded.context->DamagedLine()))
        return std::nullopt;
    if (progress)
        progress->SetPosition(2);

    loaded.files = std::make_unique<FileList>(m_askOnChange, m_question);
    loaded.files->SetFilePath(filPath);
    if (!loaded.files->Load(m_reporter))
        loaded.unreadable.push_back(filPath);
    if (!acceptDamage(filPath, loaded.files->DamagedLine()))
        return std::nullopt;
    if (progress)
        progress->SetPosition(3);

    std::vector<std::string> sources;
    for (const auto& entry : loaded.files->Files())
        sources.push_back(entry.value.source);
    loaded.context->MatchScripts(sources);

    loaded.notExtracted = std::make_unique<NotExtractedList>();
    loaded.notExtracted->SetFilePath(nirPath);
    if (!loaded.notExtracted->Load(m_reporter))
        loaded.unreadable.push_back(nirPath);
    if (!acceptDamage(nirPath, loaded.notExtracted->DamagedLine()))
        return std::nullopt;
    if (progress)
        progress->SetPosition(4);
    return loaded;
}

bool CTrelvarDoc::OnOpenDocument(const std::string& dicPath, ProgressSink* progress, Access access)
{
    m_inUse = false;
    // Another program writing the dictionary would lose one of the two
    // programs' work: the lock is held as long as the dictionary is open.
    auto lock = std::make_unique<DictionaryLock>();
    bool reused = false;
    std::optional<Loaded> loaded;
    if (access == Access::ReadWrite) {
        if (m_lock->Held() && m_lock->DictionaryPath() == dicPath) {
            std::swap(lock, m_lock); // the same dictionary again: its lock goes on
            reused = true;
        } else if (!lock->Acquire(dicPath, m_lockWait)) {
            m_inUse = true;
            if (lock->Unusable())
                m_reporter->Report(MsgLockUnusable, {DictionaryLock::LockPath(dicPath), lock->Reason()});
            else
                m_reporter->Report(MsgDictionaryInUse, {dicPath});
            return false;
        }
        DictionaryCommit::Recover(dicPath);
        RemoveStaleTemporaryFiles(std::string(FolderOf(dicPath)));
        loaded = LoadFiles(dicPath, progress);
    } else {
        // A reader takes no lock, which a window may hold for hours; it
        // reads the files between two saves: no save is under way when it
        // starts, and none replaced a file while it read.
        const std::vector<std::string> paths = {dicPath, CompanionPath(dicPath, ".ent"),
                                                CompanionPath(dicPath, ".fil"),
                                                CompanionPath(dicPath, ".nir")};
        for (int attempt = 0; attempt < 50 && !loaded; ++attempt) {
            if (!WaitForSaves(dicPath))
                return false;
            const std::vector<FileIdentity> before = IdentitiesOf(paths);
            loaded = LoadFiles(dicPath, progress);
            if (!loaded)
                return false;
            if (!FileExists(DictionaryCommit::JournalPath(dicPath)) &&
                SameIdentities(before, IdentitiesOf(paths)))
                break;
            loaded.reset();
        }
        if (!loaded) {
            m_reporter->Report(MsgSaveNotCompleted, {dicPath, DictionaryCommit::JournalPath(dicPath)});
            return false;
        }
    }
    if (!loaded) {
        // On failure the open dictionary stays as it was, with its lock.
        if (reused)
            std::swap(lock, m_lock);
        return false;
    }

    // What a generation that was killed left beside the destinations goes:
    // its temporary files belong to a process that is no more.
    std::vector<std::string> folders;
    for (const auto& entry : loaded->files->Files()) {
        std::string folder(FolderOf(entry.value.destination));
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    for (const std::string& folder : folders)
        RemoveStaleTemporaryFiles(folder);

    // The previous dictionary's lock goes with it.
    std::swap(lock, m_lock);
    lock.reset();
    m_readOnly = access == Access::ReadOnly;
    m_unreadable = std::move(loaded->unreadable);

    m_general = std::move(loaded->general);
    m_context = std::move(loaded->context);
    m_files = std::move(loaded->files);
    m_notExtracted = std::move(loaded->notExtracted);
    m_sourceFolder = m_files->DefaultSourceFolder();
    m_destinationFolder = m_files->DefaultDestinationFolder();
    m_changeMask = -1;
    m_modified = false;
    m_pathName = dicPath;
    m_folder = std::string(FolderOf(dicPath));
    const std::string fileName(FileNameOf(dicPath));
    const std::size_t dot = fileName.find_last_of('.');
    m_name = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    // An 8-bit dictionary that records its code pages is read in them.
    m_codePagesKnown = false;
    if (const auto [originals, translations] = m_files->RecordedCodePages(); originals > 0 && !IsUnicode()) {
        m_originalsCodePage = originals;
        m_translationsCodePage = translations;
        m_codePagesKnown = true;
    }
    SetOpenEncodings(OriginalsCodePage(), TranslationsCodePage());
    return true;
}

bool CTrelvarDoc::IsOwnFile(const std::string& path) const
{
    if (!IsOpen())
        return false;
    std::string target;
    std::string reason;
    if (!ResolveWriteTarget(path, target, reason))
        target = path;
    const FileIdentity file = IdentityOf(target);
    std::error_code ec;
    const std::filesystem::path named = std::filesystem::weakly_canonical(target, ec);
    for (const std::string& own :
         {m_pathName, CompanionPath(m_pathName, ".ent"), CompanionPath(m_pathName, ".fil"),
          CompanionPath(m_pathName, ".nir"), DictionaryCommit::JournalPath(m_pathName),
          DictionaryLock::LockPath(m_pathName)}) {
        if (file.known ? NamesFile(own, file)
                       : !ec && std::filesystem::weakly_canonical(own, ec) == named && !ec)
            return true;
    }
    return false;
}

bool CTrelvarDoc::RecordsCodePages() const
{
    return m_files && m_files->RecordedCodePages().first > 0;
}

bool CTrelvarDoc::Save()
{
    if (!IsOpen())
        return false;
    if (m_readOnly) {
        m_reporter->Report(MsgDictionaryReadOnly, {m_pathName});
        return false;
    }
    if (!m_unreadable.empty()) {
        m_reporter->Report(MsgUnreadableNotSaved, {m_unreadable.front()});
        return false;
    }
    DictionaryCommit::Recover(m_pathName);
    m_files->SetDefaultFolders(m_sourceFolder, m_destinationFolder);
    // Code pages known for sure are recorded; a dictionary made before whose
    // code pages were only assumed records none yet.
    if (IsUnicode())
        m_files->SetRecordedCodePages(0, 0);
    else if (m_codePagesKnown)
        m_files->SetRecordedCodePages(m_originalsCodePage, m_translationsCodePage);
    // Every file is written whole before any is put in place; the first
    // that fails ends the save with nothing changed on the disk.
    DictionaryCommit commit(m_pathName);
    auto write = [&](const std::string& path, auto&& store) {
        LineFile file;
        if (!file.OpenForWriting(path, m_reporter))
            return false;
        store.Write(file);
        std::string temporary;
        if (!file.CloseKeepingTemporary(temporary))
            return false;
        commit.Add(temporary, path);
        return true;
    };
    const bool written = write(m_general->FilePath(), *m_general) &&
                         write(m_context->FilePath(), *m_context) && write(m_files->FilePath(), *m_files) &&
                         write(m_notExtracted->FilePath(), *m_notExtracted);
    if (!written) {
        commit.Abandon();
        return false;
    }
    std::string reason;
    if (!commit.Commit(reason)) {
        m_reporter->Report(MsgCannotSaveFile, {commit.FailedPath(), reason});
        return false;
    }
    m_modified = false;
    return true;
}

void CTrelvarDoc::Close()
{
    m_general.reset();
    m_context.reset();
    m_files.reset();
    m_notExtracted.reset();
    m_unreadable.clear();
    m_modified = false;
    m_readOnly = false;
    m_pathName.clear();
    m_lock->Release();
}

void CTrelvarDoc::SetDefaultFolders(std::string source, std::string destination)
{
    m_sourceFolder = std::move(source);
    m_destinationFolder = std::move(destination);
}

void CTrelvarDoc::MarkChanged(int bits)
{
    m_changeMask |= bits;
    m_modified = true;
}

bool CTrelvarDoc::IsUnicode() const
{
    return m_general && m_general->IsUnicode();
}

int CTrelvarDoc::OriginalsCodePage() const
{
    return IsUnicode() ? kUtf8CodePage : m_originalsCodePage;
}

int CTrelvarDoc::TranslationsCodePage() const
{
    return IsUnicode() ? kUtf8CodePage : m_translationsCodePage;
}

void CTrelvarDoc::SetEncodings(int originals, int translations, bool record)
{
    m_originalsCodePage = originals > 0 ? originals : 1252;
    m_translationsCodePage = translations > 0 ? translations : 1252;
    m_codePagesKnown = record;
    SetOpenEncodings(OriginalsCodePage(), TranslationsCodePage());
}

bool CTrelvarDoc::CreateDictionary(const std::string& name, const std::string& location,
                                   const std::string& sourceFolder, const std::string& destinationFolder,
                                   bool unicode, int codePage)
{
    if (name.empty() || location.empty())
        return false;
    std::string folder = location;
    if (folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    const std::string dic = folder + name + ".dic";
    const std::string ent = folder + name + ".ent";
    const std::string fil = folder + name + ".fil";
    const std::string nir = folder + name + ".nir";
    if (FileExists(dic) || FileExists(ent) || FileExists(nir) || FileExists(fil)) {
        m_reporter->Report(MsgFilesAlreadyExist, {dic, ent, fil, nir});
        return false;
    }

    for (const std::string* path : {&dic, &sourceFolder, &destinationFolder}) {
        if (!IsStorablePath(*path)) {
            m_reporter->Report(MsgPathNotStorable, {*path});
            return false;
        }
    }

    std::string folderLine;
    AppendQuoted(folderLine, sourceFolder);
    folderLine += ';';
    AppendQuoted(folderLine, destinationFolder);
    if (const std::string pages = unicode ? std::string() : FileList::FormatCodePages(codePage, codePage);
        !pages.empty()) {
        folderLine += ';';
        AppendQuoted(folderLine, pages);
    }
    const struct
    {
        const std::string& path;
        std::string_view header;
        const std::string* second;
    } files[] = {{dic, kDicHeader, nullptr}, {ent, kEntHeader, nullptr}, {fil, kFilHeader, &folderLine}};

    // The three files appear together or not at all; a dictionary that
    // could not be made leaves no lock file behind either.
    DictionaryLock lock;
    if (!lock.Acquire(dic, m_lockWait)) {
        if (lock.Unusable())
            m_reporter->Report(MsgLockUnusable, {DictionaryLock::LockPath(dic), lock.Reason()});
        else
            m_reporter->Report(MsgDictionaryInUse, {dic});
        return false;
    }
    DictionaryCommit commit(dic);
    for (const auto& f : files) {
        LineFile file;
        std::string temporary;
        bool ok = file.OpenForWriting(f.path, nullptr);
        if (ok) {
            const bool marked = unicode && &f.path == &dic;
            file.WriteLine((marked ? std::string(kUtf8Mark) : std::string()) + std::string(f.header));
            if (f.second)
                file.WriteLine(*f.second);
            ok = file.CloseKeepingTemporary(temporary);
        }
        if (!ok) {
            m_reporter->Report(MsgErrorCreatingFile, {f.path, file.ErrorText()});
            lock.ReleaseAndRemoveMade();
            return false;
        }
        commit.Add(temporary, f.path);
    }
    std::string reason;
    if (!commit.Commit(reason)) {
        m_reporter->Report(MsgErrorCreatingFile, {dic, reason});
        lock.ReleaseAndRemoveMade();
        return false;
    }
    lock.Release();
    if (!OnOpenDocument(dic))
        return false;
    SetDefaultFolders(sourceFolder, destinationFolder);
    return true;
}
