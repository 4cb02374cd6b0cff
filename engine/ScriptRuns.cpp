#include "engine/ScriptRuns.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ResourceScript.h"
#include "engine/ScriptReadAhead.h"

#include <filesystem>
#include <optional>
#include <system_error>

AllFilesScale ScaleForTotal(std::int64_t totalBytes)
{
    if (totalBytes < 65536)
        return {static_cast<int>(totalBytes), 1};
    return {65535, totalBytes / 65535};
}

std::int64_t TotalSize(const std::vector<std::string>& paths)
{
    std::int64_t total = 0;
    for (const std::string& path : paths) {
        std::error_code ec;
        auto size = std::filesystem::file_size(path, ec);
        if (ec) // a stored path whose case is not the file system's
            size = std::filesystem::file_size(ResolveExistingPath(path), ec);
        if (!ec)
            total += static_cast<std::int64_t>(size);
    }
    return total;
}

namespace {

// New scripts waiting for one flush to the disk at most: their temporary
// files take room beside their destinations until then.
constexpr std::size_t kReplacementBatch = 256;

void PrepareBars(ResourceScript& script, std::int64_t total, ProgressSink* allFiles,
                 ProgressSink* currentFile)
{
    script.SetAllFilesBar(allFiles);
    script.SetCurrentFileBar(currentFile);
    script.ResetAllFilesBar();
    const AllFilesScale scale = ScaleForTotal(total);
    if (allFiles)
        allFiles->SetRange(scale.range);
    script.SetAllFilesDivisor(scale.divisor);
}

// The script reader of a run over the dictionary's scripts: its stores,
// code pages, messages and progress bars.
void PrepareRun(ResourceScript& script, CTrelvarDoc& doc, const std::vector<std::string>& sources,
                ProgressSink* allFiles, ProgressSink* currentFile, MessageReporter* reporter)
{
    script.SetReporter(reporter);
    script.SetGeneralDictionary(doc.General());
    script.SetContextDictionary(doc.Context());
    script.SetNotExtractedList(doc.NotExtracted());
    script.SetEncodings(doc.OriginalsCodePage(), doc.TranslationsCodePage());
    script.SetCodePageKnown(doc.CodePagesKnown() || doc.RecordsCodePages());
    PrepareBars(script, TotalSize(sources), allFiles, currentFile);
}

void ResetBars(ProgressSink* allFiles, ProgressSink* currentFile)
{
    if (allFiles)
        allFiles->SetPosition(0);
    if (currentFile)
        currentFile->SetPosition(0);
}

} // namespace

ExtractionRun ExtractScripts(CTrelvarDoc& doc, const std::vector<std::string>& sources,
                             ProgressSink* allFiles, ProgressSink* currentFile, MessageReporter* reporter,
                             const std::function<void(const std::string&)>& onFileDone)
{
    ExtractionRun run;
    if (!doc.IsOpen())
        return run;
    ResourceScript script;
    PrepareRun(script, doc, sources, allFiles, currentFile, reporter);
    // Extraction writes no script, so every script may be read before the
    // ones ahead of it are done.
    std::optional<ScriptReadAhead> ahead;
    if (sources.size() > 1) {
        try {
            ahead.emplace(sources);
            script.SetReadAhead(&*ahead);
        } catch (const std::system_error&) {
            // No thread to be had: each script is read when it is opened.
        }
    }
    for (const std::string& source : sources) {
        // A script that cannot be read to its end is not stamped: it is
        // offered for extraction again.
        if (!script.OpenSource(source) || !script.Extract())
            continue;
        if (doc.NotExtracted()->IsTouched(source)) {
            doc.NotExtracted()->ForgetTouched(source);
            run.rebuildTree = true;
        }
        if (const FileIdentity read = script.SourceIdentity(); read.known)
            doc.Files()->StampFile(source, read.writeTime);
        else
            doc.Files()->StampFile(source);
        doc.Files()->ForgetChanged(source);
        ++run.extracted;
        if (onFileDone)
            onFileDone(source);
    }
    script.Close();
    ResetBars(allFiles, currentFile);
    if (run.extracted > 0)
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    return run;
}

std::vector<std::size_t> GenerateScripts(CTrelvarDoc& doc,
                                         const std::vector<std::pair<std::string, std::string>>& pairs,
                                         ProgressSink* allFiles, ProgressSink* currentFile,
                                         MessageReporter* reporter,
                                         const std::function<void(std::size_t)>& onFileDone)
{
    std::vector<std::size_t> generated;
    if (!doc.IsOpen())
        return generated;
    std::vector<std::string> sources;
    for (const auto& pair : pairs)
        sources.push_back(pair.first);
    ResourceScript script;
    PrepareRun(script, doc, sources, allFiles, currentFile, reporter);
    // Many scripts are made durable in batches, one flush to the disk for
    // each batch rather than one per script; each destination is still
    // replaced only by a whole new file.
    std::vector<PendingReplacement> pending;
    std::vector<std::size_t> pendingIndexes;
    if (pairs.size() > 1)
        script.SetPendingReplacements(&pending);
    auto commit = [&] {
        std::vector<std::string> reasons;
        std::vector<bool> backupFailed;
        ReplaceAllKeepingBackups(pending, reasons, &backupFailed);
        for (std::size_t k = 0; k < pending.size(); ++k) {
            if (!reasons[k].empty()) {
                if (reporter)
                    reporter->Report(backupFailed[k] && pending[k].backup != pending[k].destination
                                         ? MsgCannotBackUpFile
                                         : MsgCannotSaveFile,
                                     {pending[k].destination, reasons[k]});
                continue;
            }
            generated.push_back(pendingIndexes[k]);
            if (onFileDone)
                onFileDone(pendingIndexes[k]);
        }
        pending.clear();
        pendingIndexes.clear();
    };
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        // A list edited by hand may give two scripts one destination: the
        // second is not generated over the first one's translation.
        if (const std::string* owner =
                DestinationOwner(*doc.Files(), pairs[i].first, pairs[i].second, true)) {
            if (reporter)
                reporter->Report(MsgDestinationTaken, {pairs[i].second, *owner});
            continue;
        }
        if (!script.OpenForGeneration(pairs[i].first, pairs[i].second))
            continue;
        script.Generate();
        // The destination is complete only once it is closed.
        if (!script.Close())
            continue;
        if (pairs.size() > 1) {
            pendingIndexes.push_back(i);
            if (pending.size() >= kReplacementBatch)
                commit();
            continue;
        }
        generated.push_back(i);
        if (onFileDone)
            onFileDone(i);
    }
    commit();
    ResetBars(allFiles, currentFile);
    return generated;
}
