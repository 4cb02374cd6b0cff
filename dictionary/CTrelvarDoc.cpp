#include "dictionary/CTrelvarDoc.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryFormat.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"

#include <cstdio>
#include <initializer_list>
#include <vector>

namespace {

// Reads the first line of a file and compares it with the accepted headers.
// A file that cannot be opened is reported and fails too.
bool HasHeader(const std::string& path, std::initializer_list<std::string_view> accepted,
               MessageReporter& reporter)
{
    LineFile file;
    std::string line;
    if (!file.OpenForReading(path))
        reporter.Report(MsgErrorOpeningFile, {path});
    else if (file.ReadFirstLine(line) > 0) {
        for (std::string_view header : accepted) {
            if (line == header)
                return true;
        }
    }
    return false;
}

} // namespace

CTrelvarDoc::CTrelvarDoc() : m_reporter(&SilentReporter()) {}

CTrelvarDoc::~CTrelvarDoc() = default;

void CTrelvarDoc::SetReporter(MessageReporter* reporter)
{
    m_reporter = reporter ? reporter : &SilentReporter();
}

std::string CTrelvarDoc::CompanionPath(const std::string& dicPath, const char* extension)
{
    const std::size_t nameStart = dicPath.size() - FileNameOf(dicPath).size();
    const std::size_t dot = dicPath.find_last_of('.');
    const std::string stem = (dot == std::string::npos || dot < nameStart) ? dicPath : dicPath.substr(0, dot);
    return stem + extension;
}

bool CTrelvarDoc::CheckHeaders(const std::string& dic, const std::string& ent, const std::string& fil) const
{
    if (!HasHeader(dic, {kDicHeader, kDicHeaderFrench}, *m_reporter)) {
        m_reporter->Report(MsgNotGeneralDictionary, {dic});
        return false;
    }
    if (!HasHeader(ent, {kEntHeader, kEntHeaderFrench}, *m_reporter)) {
        m_reporter->Report(MsgNotSpecificDictionary, {ent});
        return false;
    }
    if (!HasHeader(fil, {kFilHeader, kFilHeaderFrench}, *m_reporter)) {
        m_reporter->Report(MsgNotListOfFiles, {fil});
        return false;
    }
    return true;
}

bool CTrelvarDoc::OnOpenDocument(const std::string& dicPath, ProgressSink* progress)
{
    const std::string entPath = CompanionPath(dicPath, ".ent");
    const std::string filPath = CompanionPath(dicPath, ".fil");
    const std::string nirPath = CompanionPath(dicPath, ".nir");
    if (!CheckHeaders(dicPath, entPath, filPath))
        return false;

    if (progress) {
        progress->SetRange(4);
        progress->SetPosition(0);
    }
    // Load into new stores and replace the old ones only once all are read,
    // so that nothing of the open dictionary is lost when a load goes wrong.
    auto general = std::make_unique<GeneralDictionary>(true);
    general->SetFilePath(dicPath);
    general->Load(m_reporter);
    if (progress)
        progress->SetPosition(1);

    auto context = std::make_unique<ContextDictionary>();
    context->SetFilePath(entPath);
    context->Load(m_reporter);
    if (progress)
        progress->SetPosition(2);

    auto files = std::make_unique<FileList>(m_askOnChange, m_question);
    files->SetFilePath(filPath);
    files->Load(m_reporter);
    if (progress)
        progress->SetPosition(3);

    std::vector<std::string> sources;
    for (const auto& entry : files->Files())
        sources.push_back(entry.value.source);
    context->MatchScripts(sources);

    auto notExtracted = std::make_unique<NotExtractedList>();
    notExtracted->SetFilePath(nirPath);
    notExtracted->Load(m_reporter);
    if (progress)
        progress->SetPosition(4);

    m_general = std::move(general);
    m_context = std::move(context);
    m_files = std::move(files);
    m_notExtracted = std::move(notExtracted);
    m_sourceFolder = m_files->DefaultSourceFolder();
    m_destinationFolder = m_files->DefaultDestinationFolder();
    m_changeMask = -1;
    m_modified = false;
    m_pathName = dicPath;
    m_folder = std::string(FolderOf(dicPath));
    const std::string fileName(FileNameOf(dicPath));
    const std::size_t dot = fileName.find_last_of('.');
    m_name = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    return true;
}

bool CTrelvarDoc::Save()
{
    if (!IsOpen())
        return false;
    // Each file on its own: a failure is reported and the others go on.
    bool ok = m_general->Save(m_reporter);
    ok = m_context->Save(m_reporter) && ok;
    m_files->SetDefaultFolders(m_sourceFolder, m_destinationFolder);
    ok = m_files->Save(m_reporter) && ok;
    ok = m_notExtracted->Save(m_reporter) && ok;
    // A dictionary that could not be written stays modified, so that
    // closing the program asks again instead of losing the edits.
    if (ok)
        m_modified = false;
    return ok;
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

bool CTrelvarDoc::CreateDictionary(const std::string& name, const std::string& location,
                                   const std::string& sourceFolder, const std::string& destinationFolder)
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

    std::string folderLine;
    AppendQuoted(folderLine, sourceFolder);
    folderLine += ';';
    AppendQuoted(folderLine, destinationFolder);
    const struct
    {
        const std::string& path;
        std::string_view header;
        const std::string* second;
    } files[] = {{dic, kDicHeader, nullptr}, {ent, kEntHeader, nullptr}, {fil, kFilHeader, &folderLine}};

    std::vector<const std::string*> created;
    for (const auto& f : files) {
        LineFile file;
        bool ok = file.OpenForWriting(f.path, nullptr);
        if (ok) {
            file.WriteLine(std::string(f.header));
            if (f.second)
                file.WriteLine(*f.second);
            ok = file.Close();
        }
        if (!ok) {
            m_reporter->Report(MsgErrorCreatingFile, {f.path});
            for (const std::string* path : created)
                std::remove(path->c_str());
            return false;
        }
        created.push_back(&f.path);
    }
    if (!OnOpenDocument(dic))
        return false;
    SetDefaultFolders(sourceFolder, destinationFolder);
    return true;
}
