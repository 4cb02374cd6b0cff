#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CTrelvarDoc;
class MessageReporter;
class ProgressSink;

// The runs over several scripts that the Extract page, the Generate dialog
// and the command-line tool share: one ResourceScript for the run, a bar
// over all files (by bytes) and a bar for the current file.

/// Range of the all-files bar for a run over total bytes and the bytes per
/// unit: below 65536 bytes one unit per byte, else 65535 units.
struct AllFilesScale
{
    int range = 0;
    std::int64_t divisor = 1;
};
AllFilesScale ScaleForTotal(std::int64_t totalBytes);

/// Sum of the sizes of the files; a file that is gone counts 0.
std::int64_t TotalSize(const std::vector<std::string>& paths);

struct ExtractionRun
{
    int extracted = 0;        // files read
    bool rebuildTree = false; // resources not to extract changed for a file
};

/// Extracts the scripts in order, stamps each and forgets it as changed.
/// onFileDone(path) runs after each extracted file. The document is marked
/// changed when anything was extracted.
ExtractionRun ExtractScripts(CTrelvarDoc& doc, const std::vector<std::string>& sources,
                             ProgressSink* allFiles, ProgressSink* currentFile, MessageReporter* reporter,
                             const std::function<void(const std::string&)>& onFileDone = {});

/// Generates the translated copy of each (source, destination) pair in
/// order; onFileDone(index) runs after each file written. Returns the
/// indexes of the pairs generated.
std::vector<std::size_t> GenerateScripts(CTrelvarDoc& doc,
                                         const std::vector<std::pair<std::string, std::string>>& pairs,
                                         ProgressSink* allFiles, ProgressSink* currentFile,
                                         MessageReporter* reporter,
                                         const std::function<void(std::size_t)>& onFileDone = {});
