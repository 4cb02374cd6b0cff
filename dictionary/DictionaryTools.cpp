#include "dictionary/DictionaryTools.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryFormat.h"
#include "dictionary/Feedback.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"

#include <algorithm>
#include <unordered_set>

std::optional<GeneralDictionary> ReadImportFile(const std::string& path, bool dictionaryFile,
                                                MessageReporter* reporter)
{
    if (path.empty()) {
        if (reporter)
            reporter->Report(MsgInvalidFileName, {});
        return std::nullopt;
    }
    LineFile file;
    if (!file.OpenForReading(path)) {
        if (reporter)
            reporter->Report(MsgErrorOpeningFile, {path, file.ErrorText()});
        return std::nullopt;
    }
    if (dictionaryFile) {
        std::string header;
        file.ReadFirstLine(header);
        if (header.rfind(kUtf8Mark, 0) == 0)
            header.erase(0, kUtf8Mark.size());
        if (header != kDicHeader && header != kDicHeaderFrench) {
            if (reporter)
                reporter->Report(MsgNotGeneralDictionary, {path});
            return std::nullopt;
        }
    }
    GeneralDictionary imported(dictionaryFile);
    imported.SetDecode(true);
    imported.SetFilePath(path);
    if (!imported.Read(file, reporter))
        return std::nullopt;
    if (!dictionaryFile) {
        // A text file in any other layout (an export's "original";
        // "translation", bytes of no text) gives no record at all.
        if (imported.WholeRecords() == 0 && imported.OtherLines() > 0) {
            if (reporter)
                reporter->Report(MsgNoRecordRead, {path});
            return std::nullopt;
        }
        // A text file is UTF-8 with its mark, or without it when its bytes
        // are UTF-8 and not all ASCII; else in the code page given.
        // Its separators, the bytes A4, are no part of a character.
        std::string bytes;
        LineFile whole;
        if (!imported.IsUnicode() && whole.OpenForReading(path) && whole.ReadAll(bytes)) {
            std::replace(bytes.begin(), bytes.end(), kDicSeparator, ' ');
            if (Codec::IsValidUtf8(bytes) && std::any_of(bytes.begin(), bytes.end(), [](char c) {
                    return static_cast<unsigned char>(c) >= 0x80;
                }))
                imported.SetUnicode(true);
        }
    }
    return imported;
}

void ConvertTexts(GeneralDictionary& imported, TextEncodings file, TextEncodings to)
{
    if (imported.IsUnicode())
        file = {kUtf8CodePage, kUtf8CodePage};
    if (file.originals == to.originals && file.translations == to.translations)
        return;
    // Texts the dictionary's encodings cannot hold are left out.
    GeneralDictionary converted(false);
    const Codec& fromOriginals = Codec::Cached(file.originals);
    const Codec& fromTranslations = Codec::Cached(file.translations);
    const Codec& originals = Codec::Cached(to.originals);
    const Codec& translations = Codec::Cached(to.translations);
    std::string original, translation, utf8;
    for (const auto& entry : imported.Texts()) {
        if (fromOriginals.ToUtf8Strict(entry.key, utf8) && originals.FromUtf8(utf8, original) &&
            fromTranslations.ToUtf8Strict(entry.value, utf8) && translations.FromUtf8(utf8, translation))
            converted.AddText(original, translation);
    }
    imported = std::move(converted);
}

int ImportTranslations(GeneralDictionary& target, const GeneralDictionary& imported, ProgressSink* progress)
{
    const auto changes = TranslationsToImport(target, imported, progress);
    for (const auto& [original, translation] : changes)
        target.SetTranslation(original, translation);
    return static_cast<int>(changes.size());
}

std::vector<std::pair<std::string, std::string>> TranslationsToImport(const GeneralDictionary& target,
                                                                      const GeneralDictionary& imported,
                                                                      ProgressSink* progress, bool replace)
{
    std::vector<std::pair<std::string, std::string>> changes;
    if (progress)
        progress->SetRange(target.TextCount());
    int step = 0;
    // The texts to fill, gathered first: setting one does not disturb the
    // walk.
    std::vector<std::string_view> untranslated;
    for (const auto& entry : target.Texts()) {
        if (entry.value.empty() || replace)
            untranslated.push_back(entry.key);
    }
    for (const std::string_view original : untranslated) {
        const std::string* translation = imported.FindTranslation(original);
        if (translation && !translation->empty() && *translation != *target.FindTranslation(original))
            changes.emplace_back(original, *translation);
        if (progress && (++step & 0x3FF) == 0)
            progress->SetPosition(step);
    }
    if (progress)
        progress->SetPosition(target.TextCount());
    return changes;
}

bool ExportTexts(const GeneralDictionary& general, const std::string& path, MessageReporter* reporter,
                 ProgressSink* progress)
{
    LineFile file;
    if (!file.OpenForWriting(path, reporter))
        return false;
    if (progress)
        progress->SetRange(general.TextCount());
    std::string record;
    int step = 0;
    // A Unicode dictionary's texts are UTF-8, and the file says so.
    if (general.IsUnicode())
        record = kUtf8Mark;
    for (const auto& entry : general.Texts()) {
        AppendQuotedText(record, entry.key);
        record += ';';
        AppendQuotedText(record, entry.value);
        file.WriteLine(record);
        record.clear();
        if (progress && (++step & 0x3FF) == 0)
            progress->SetPosition(step);
    }
    return file.Close();
}

std::vector<std::string> UnusedTexts(const GeneralDictionary& general, const ContextDictionary& context,
                                     ProgressSink* progress)
{
    // Every original of every resource once, then one look per text.
    std::unordered_set<std::string_view> used;
    for (const auto& file : context.Files()) {
        for (const auto& entry : file.value)
            used.insert(entry.value.original);
    }
    if (progress)
        progress->SetRange(general.TextCount());
    std::vector<std::string> unused;
    int step = 0;
    for (const auto& entry : general.Texts()) {
        if (!used.count(entry.key))
            unused.emplace_back(entry.key);
        if (progress && (++step & 0x3FF) == 0)
            progress->SetPosition(step);
    }
    if (progress)
        progress->SetPosition(general.TextCount());
    return unused;
}
