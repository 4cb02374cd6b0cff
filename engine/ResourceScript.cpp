#include "engine/ResourceScript.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/SafeFiles.h"
#include "engine/AccessKeyGroups.h"
#include "engine/ComboData.h"
#include "engine/ScriptKeywords.h"
#include "engine/ScriptReadAhead.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

std::int64_t LineEndBytes(LineFile::LineEnd end)
{
    switch (end) {
    case LineFile::LineEnd::CrLf:
        return 2;
    case LineFile::LineEnd::Lf:
        return 1;
    case LineFile::LineEnd::None:
        break;
    }
    return 0;
}

} // namespace

ResourceScript::ResourceScript() : m_reporter(&SilentReporter()) {}

ResourceScript::~ResourceScript()
{
    Close();
}

void ResourceScript::SetReporter(MessageReporter* reporter)
{
    m_reporter = reporter ? reporter : &SilentReporter();
}

void ResourceScript::SetEncodings(int originals, int translations)
{
    m_originalsCodePage = originals;
    m_translationsCodePage = translations;
}

void ResourceScript::ResetAllFilesBar()
{
    m_allFilesPosition = 0;
    m_allFilesBytes = 0;
    m_nextProgressBytes = 0;
    if (m_allFilesBar)
        m_allFilesBar->SetPosition(0);
}

void ResourceScript::ResetCurrentFileBar()
{
    m_currentFilePosition = 0;
    m_currentFileBytes = 0;
    m_nextProgressBytes = 0;
    if (m_currentFileBar)
        m_currentFileBar->SetPosition(0);
}

bool ResourceScript::OpenSource(const std::string& path)
{
    m_sourcePath = path;
    m_source.reset();
    m_readFailed = false;
    auto file = std::make_unique<ScriptText>();
    std::optional<ScriptFileRead> ahead = m_readAhead ? m_readAhead->Take(path) : std::nullopt;
    const bool opened =
        ahead ? file->Open(std::move(*ahead), m_originalsCodePage) : file->Open(path, m_originalsCodePage);
    // A stored path whose case is not the file system's is looked up only
    // when it does not open as it is.
    if (!opened) {
        const std::string resolved = ResolveExistingPath(path);
        if (resolved == path || !file->Open(resolved, m_originalsCodePage)) {
            m_reporter->Report(MsgErrorOpeningFile, {path, file->ErrorText()});
            return false;
        }
    }
    m_source = std::move(file);
    ResetCurrentFileBar();
    return true;
}

void ResourceScript::OpenSourceMemory(const std::string& path, std::string_view bytes)
{
    m_sourcePath = path;
    m_readFailed = false;
    m_source = std::make_unique<ScriptText>();
    m_source->OpenMemory(bytes, m_originalsCodePage);
    ResetCurrentFileBar();
}

void ResourceScript::OpenMemoryDestination(std::string* out)
{
    m_destination = std::make_unique<LineFile>();
    m_destination->OpenMemoryForWriting(out);
    m_destinationPath.clear();
    m_backupPath.clear();
}

bool ResourceScript::OpenForGeneration(const std::string& source, const std::string& destination)
{
    if (m_destination)
        m_destination->Discard();
    m_destination.reset();
    if (!OpenSource(source))
        return false;
    // The file just read, however its path was spelled or linked.
    const FileIdentity read = m_source->Identity();
    auto refuse = [this](int message, const std::vector<std::string>& arguments) {
        m_reporter->Report(message, arguments);
        m_source.reset();
        return false;
    };
    // The previous translation is kept as <name>.qv when it is replaced.
    m_backupPath.clear();
    std::error_code ec;
    if (const FileIdentity existing = IdentityOf(destination); existing.known) {
        // A destination that is the source itself (a link to it, or a list of
        // files edited by hand) would replace the texts to translate.
        if (SameFile(existing, read))
            return refuse(MsgSourceEqualsDestination, {destination});
        const std::string_view name = FileNameOf(destination);
        const std::size_t dot = name.find_last_of('.');
        if (dot == std::string_view::npos)
            return refuse(MsgCannotBackUpFile, {destination});
        m_backupPath = destination.substr(0, destination.size() - name.size() + dot + 1) + "qv";
        if (NamesFile(m_backupPath, read))
            return refuse(MsgCannotBackUpFile, {destination});
    }
    // The folder chosen for the translations is made when it is not there
    // yet (looked at once for the scripts that follow into it).
    const std::string folder(FolderOf(destination));
    if (!folder.empty() && folder != m_folderMade && (std::filesystem::create_directories(folder, ec) || !ec))
        m_folderMade = folder;
    RemoveStaleTemporaryFilesOnce(folder);
    m_destinationPath = destination;
    auto file = std::make_unique<LineFile>();
    if (!file->OpenForWriting(destination, m_reporter)) {
        m_source.reset();
        return false;
    }
    m_destination = std::move(file);
    return true;
}

bool ResourceScript::Close()
{
    const bool readFailed = m_readFailed;
    m_source.reset();
    if (!m_destination)
        return true;
    std::unique_ptr<LineFile> file = std::move(m_destination);
    if (readFailed) {
        // A source read only in part gives only part of a script.
        file->Discard();
        return false;
    }
    if (m_destinationPath.empty())
        return file->Close(); // written into memory
    std::string temporary;
    if (!file->CloseKeepingTemporary(temporary, m_pending == nullptr))
        return false;
    if (m_pending) {
        m_pending->push_back(
            {temporary, m_destinationPath, m_backupPath.empty() ? m_destinationPath : m_backupPath});
        return true;
    }
    // Only the whole new script replaces the old one, which becomes the
    // backup at the same moment.
    std::string reason;
    if (!ReplaceKeepingBackup(temporary, m_destinationPath,
                              m_backupPath.empty() ? m_destinationPath : m_backupPath, reason)) {
        m_reporter->Report(m_backupPath.empty() ? MsgCannotSaveFile : MsgCannotBackUpFile,
                           {m_destinationPath, reason});
        return false;
    }
    return true;
}

bool ResourceScript::SourceReadWhole()
{
    if (!m_source || !m_source->Failed())
        return true;
    m_readFailed = true;
    m_reporter->Report(MsgErrorReadingFile, {m_sourcePath, m_source->ErrorText()});
    return false;
}

bool ResourceScript::IsExcluded(std::string_view name, int kind) const
{
    return m_notExtracted && m_notExtracted->Count() > 0 &&
           m_notExtracted->Contains(NotExtractedList::MakeKey(m_sourcePath, name, kind));
}

bool ResourceScript::ScanLine(std::string_view line, bool& inResource, bool& isCaption, bool& isComboData)
{
    isCaption = false;
    if (line.empty())
        return false;
    if (StartsWithKeyword(line, "#") || StartsWithKeyword(line, "//"))
        return false;
    // An excluded menu stays excluded down to its own END, however deeply
    // its pop-ups nest.
    if (m_skipping && m_skipDepth > 0 && IsBeginLine(line)) {
        ++m_skipDepth;
        return false;
    }
    if (m_skipping && m_skipDepth > 0 && OpensBlock(line))
        ++m_skipDepth; // a statement ending with its BEGIN: looked at below
    if (line.front() == 'S' && IsStringTableLine(line)) {
        SetCurrentResourceName("STRINGTABLE");
        inResource = true;
        m_currentKind = KindStringTable;
        m_statements.Reset();
        return false;
    }
    const bool textOnLine = m_statements.TextOnLine(line);
    const LineKeywords k = FindKeywords(line);
    if (const std::size_t p = k.menu; p != std::string_view::npos) {
        m_currentKind = KindMenu;
        const std::string_view name = line.substr(0, p);
        if (IsExcluded(name, KindMenu)) {
            inResource = false;
            m_skipping = true;
            m_skipDepth = 1;
            return false;
        }
        SetCurrentResourceName(std::string(name));
    }
    if (k.menuItem)
        inResource = true;
    const std::size_t dialog = k.dialog != std::string_view::npos ? k.dialog : k.dialogEx;
    if (dialog != std::string_view::npos) {
        const std::string_view name = line.substr(0, dialog);
        inResource = true;
        m_currentKind = KindDialog;
        if (IsExcluded(name, KindDialog)) {
            inResource = false;
            m_skipping = true;
            m_skipDepth = 0;
            return false;
        }
        SetCurrentResourceName(std::string(name));
    }
    const std::size_t dlginit = k.dlginit;
    if (dlginit != std::string_view::npos || k.skippedType) {
        if (dlginit != std::string_view::npos)
            SetCurrentResourceName(std::string(line.substr(0, dlginit)));
        inResource = false;
        return false;
    }
    isComboData = k.comboData;
    if (isComboData) {
        if (IsExcluded(m_resourceName, KindDialog)) {
            inResource = false;
            m_skipping = true;
            m_skipDepth = 0;
            return false;
        }
        inResource = true;
        return true;
    }
    if (StartsWithKeyword(line, "STYLE ") || StartsWithKeyword(line, "FONT ") || k.fileResource) {
        inResource = true;
        return false;
    }
    if (IsEndLine(line, k)) {
        // Depth 1 is the menu statement, 2 its own BEGIN.
        if (m_skipping && m_skipDepth > 2) {
            --m_skipDepth;
            return false;
        }
        inResource = false;
        m_skipping = false;
        m_skipDepth = 0;
        return false;
    }
    if (StartsWithKeyword(line, "CAPTION "))
        isCaption = true;
    // Only the text field of a statement is a text: the class of a CONTROL
    // continued on the next line is not.
    return !m_skipping && textOnLine;
}

std::int64_t ResourceScript::ReadLine(std::string_view& line, bool first)
{
    if (first) {
        m_unread.reset();
        m_lineNumber = 0;
    } else if (m_unread) {
        // A line handed back is read again without counting it twice.
        m_heldLine = std::move(m_unread->text);
        line = m_heldLine;
        m_lineEnd = m_unread->end;
        m_lineOriginal = m_unread->original;
        m_lineLossy = m_unread->lossy;
        m_lineCodePage = m_unread->codePage;
        m_unread.reset();
        ++m_lineNumber;
        return static_cast<std::int64_t>(line.size());
    }
    const std::int64_t length = first ? m_source->ReadFirstLine(line) : m_source->ReadLine(line);
    m_lineEnd = m_source->LastLineEnd();
    m_lineOriginal = m_source->LastOriginal();
    m_lineLossy = m_source->LastLossy();
    m_lineCodePage = m_source->LastCodePage();
    if (length >= 0)
        ++m_lineNumber;
    AdvanceProgress(length < 0 ? 0 : length + LineEndBytes(m_lineEnd));
    return length;
}

void ResourceScript::UnreadLine(std::string line)
{
    m_unread = RawLine{std::move(line), m_lineEnd, m_lineOriginal, m_lineLossy, m_lineCodePage};
    --m_lineNumber;
}

void ResourceScript::MoveBars()
{
    const std::int64_t all = m_allFilesBytes / m_allFilesDivisor;
    const std::int64_t current = m_currentFileBytes / m_currentFileDivisor;
    if (m_allFilesBar && all != m_allFilesPosition)
        m_allFilesBar->SetPosition(static_cast<int>(all));
    if (m_currentFileBar && current != m_currentFilePosition)
        m_currentFileBar->SetPosition(static_cast<int>(current));
    m_allFilesPosition = all;
    m_currentFilePosition = current;
    // Without bars the bytes are only counted.
    m_nextProgressBytes = std::numeric_limits<std::int64_t>::max();
    if (m_allFilesBar)
        m_nextProgressBytes = (all + 1) * m_allFilesDivisor - m_allFilesBytes;
    if (m_currentFileBar)
        m_nextProgressBytes =
            std::min(m_nextProgressBytes, (current + 1) * m_currentFileDivisor - m_currentFileBytes);
}

void ResourceScript::SetUpCurrentFileBar()
{
    const std::int64_t size = m_source->Size();
    m_currentFileDivisor = 1;
    if (size >= 65536)
        m_currentFileDivisor = size / 65535;
    if (m_currentFileBar)
        m_currentFileBar->SetRange(size < 65536 ? static_cast<int>(size) : 65535);
    ResetCurrentFileBar();
}

template <class Handle, class PassOn>
void ResourceScript::Walk(Handle&& handle, PassOn&& passOn)
{
    bool inResource = false;
    bool isCaption = false;
    bool isComboData = false;
    m_skipping = false;
    m_skipDepth = 0;
    m_statements.Reset();
    std::string_view line;
    std::int64_t length = ReadLine(line, true);
    while (length != -1) {
        if (length != 0) {
            bool process = ScanLine(line, inResource, isCaption, isComboData);
            if (process) {
                while (!inResource && length != -1) {
                    passOn(line);
                    length = ReadLine(line);
                    process = ScanLine(line, inResource, isCaption, isComboData);
                }
                while (inResource && length != -1) {
                    if (process && length != 0)
                        handle(line, isCaption, isComboData);
                    else
                        passOn(line);
                    length = ReadLine(line);
                    process = ScanLine(line, inResource, isCaption, isComboData);
                }
            }
        }
        if (length == -1)
            break;
        passOn(line);
        length = ReadLine(line);
    }
}

int ResourceScript::CoreShortcut(int shortcut, std::size_t leadingBlanks)
{
    const int lead = static_cast<int>(leadingBlanks);
    return shortcut > lead ? shortcut - lead : 0;
}

DecodedLiteral ResourceScript::DecodeComboData(std::string_view header)
{
    DecodedLiteral d;
    ComboHeader parsed;
    if (!ParseComboHeader(header, parsed))
        return d;
    d.itemReference = parsed.itemReference;
    if (parsed.length < 1)
        return d;
    const std::int64_t headerLine = m_lineNumber;
    ComboWordReader reader(parsed.length);
    std::string_view line;
    // The first data line is always there, even for an empty string (its
    // closing zero item); more follow while words are missing. A line that
    // is not entry data (an END, the next entry, a statement) ends a damaged
    // entry: it is left to the line walk, and the entry is copied as it is.
    bool more = true;
    while (more && ReadLine(line) >= 0) {
        if (!IsComboDataLine(line)) {
            UnreadLine(std::string(line));
            m_reporter->Report(MsgDamagedComboData, {std::to_string(headerLine), m_sourcePath});
            return DecodedLiteral{{}, {}, {}, 0, d.itemReference, false};
        }
        m_consumed.push_back(CurrentPlace());
        more = reader.Feed(line);
    }
    if (!more && reader.ClosingItemOnOwnLine() && ReadLine(line) >= 0) {
        if (IsComboDataLine(line))
            m_consumed.push_back(CurrentPlace());
        else
            UnreadLine(std::string(line));
    }
    d.text = reader.Text();
    return d;
}

DecodedLiteral& ResourceScript::DecodeHandledLine(std::string_view line, bool isComboData)
{
    m_consumed.clear();
    DecodedLiteral& d = m_decoded;
    if (isComboData) {
        d = DecodeComboData(line);
        return d;
    }
    DecodeLiteral(line, d);
    if (!LiteralRunsOn(d, line))
        return d;
    // A literal continued with a backslash at the end of the line is one
    // text: the compiler joins the lines, blanks of the next one included.
    // The line read first is copied before the next is read.
    std::string joined(line);
    std::string_view next;
    for (int joins = 0; joins < kMaxJoinedLines && LiteralRunsOn(d, joined); ++joins) {
        if (ReadLine(next) < 0)
            break;
        m_consumed.push_back(CurrentPlace());
        joined.pop_back();
        joined += next;
        DecodeLiteral(joined, d);
    }
    return d;
}

bool ResourceScript::Extract()
{
    if (!m_source || !m_general || !m_context)
        return false;
    ContextDictionary::Section previous = m_context->TakeFile(m_sourcePath);
    SetUpCurrentFileBar();
    const LiteralEncodingScope encoding(LiteralEncoding{m_originalsCodePage, !m_source->Transcoded()});
    m_lossySkipped = false;
    std::string key;
    // The script's section, made at its first text.
    ContextDictionary::Section* section = nullptr;
    AccessKeyGroups groups;
    Walk(
        [&](std::string_view line, bool, bool isComboData) {
            bool lossy = m_lineLossy;
            const std::int64_t lineNumber = m_lineNumber;
            const int group = m_observer ? groups.OfText(line, m_resourceName) : 0;
            DecodedLiteral& d = DecodeHandledLine(line, isComboData);
            for (const RawLine& raw : m_consumed)
                lossy = lossy || raw.lossy;
            // A text the dictionary's encoding cannot hold is left out.
            if (lossy) {
                m_lossySkipped = m_lossySkipped || !d.text.empty();
                return;
            }
            if (d.text.empty())
                return;
            const std::size_t lead = d.text.find_first_not_of(' ');
            if (m_observer && !m_resourceName.empty()) {
                const std::string core = Normalised(d.text);
                if (!core.empty())
                    m_observer({m_resourceName, m_currentKind, lineNumber, group, &d, core,
                                CoreShortcut(d.shortcut, lead)});
            }
            Normalise(d.text);
            if (d.text.empty() || m_resourceName.empty())
                return;
            m_general->AddText(d.text, {});
            key.assign(m_resourceName).append(1, '+').append(d.text);
            if (!section)
                section = &m_context->FileSection(m_sourcePath);
            ContextDictionary::AddEntry(*section, key, d.text, {}, CoreShortcut(d.shortcut, lead),
                                        d.itemReference);
        },
        [&](std::string_view line) {
            if (m_observer)
                groups.OfOtherLine(line);
        });
    if (!SourceReadWhole()) {
        // What was read of a script that could not be read to its end does
        // not replace what the dictionary knew of it.
        m_context->RemoveFile(m_sourcePath);
        m_context->PutFile(m_sourcePath, std::move(previous));
        return false;
    }
    m_context->CarryOver(m_sourcePath, previous, *m_general);
    if (m_lossySkipped)
        m_reporter->Report(MsgTextsNotInEncoding, {m_sourcePath});
    return true;
}

// Where the line just read came from; its text is not kept: a line copied
// as read is copied from the script's bytes.
ResourceScript::RawLine ResourceScript::CurrentPlace() const
{
    return RawLine{{}, m_lineEnd, m_lineOriginal, m_lineLossy, m_lineCodePage};
}

// A line copied as it was read is the script's own bytes, its line end
// included: consecutive copied lines are written out as one run.
void ResourceScript::CopySource(std::string_view original, LineFile::LineEnd end)
{
    const std::size_t size = original.size() + static_cast<std::size_t>(LineEndBytes(end)) * m_endUnit;
    if (original.data() != m_copyEnd) {
        FlushCopies();
        m_copyStart = original.data();
        m_copyEnd = m_copyStart;
    }
    m_copyEnd += size;
}

void ResourceScript::FlushCopies()
{
    if (m_copyStart != m_copyEnd)
        m_destination->WriteRaw(m_copyStart, static_cast<std::size_t>(m_copyEnd - m_copyStart));
    m_copyStart = nullptr;
    m_copyEnd = nullptr;
}

void ResourceScript::CopyLine(const RawLine& line)
{
    CopySource(line.original, line.end);
}

bool ResourceScript::WriteChanged(const std::vector<std::string>& lines, LineFile::LineEnd end, int codePage)
{
    FlushCopies();
    m_encoded.resize(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!m_source->EncodeLine(lines[i], codePage, m_encoded[i]))
            return false;
    }
    const std::string_view ending = m_source->EncodeEnd(end);
    for (std::size_t i = 0; i < lines.size(); ++i)
        m_destination->WriteRaw({m_encoded[i], ending});
    return true;
}

bool ResourceScript::WriteChangedLine(std::string_view prefix, std::string_view text, std::string_view suffix,
                                      LineFile::LineEnd end, int codePage)
{
    // A line the script takes as it is goes out in its parts, unassembled.
    if (m_source->WritesAsIs(prefix, codePage) && m_source->WritesAsIs(text, codePage) &&
        m_source->WritesAsIs(suffix, codePage)) {
        FlushCopies();
        m_destination->WriteRaw({prefix, text, suffix, m_source->EncodeEnd(end)});
        return true;
    }
    m_written.resize(1);
    m_written[0].assign(prefix).append(text).append(suffix);
    return WriteChanged(m_written, end, codePage);
}

const std::string* ResourceScript::Working(const std::string& stored, std::string& converted) const
{
    // A script read as it is takes the dictionary's bytes as they are.
    if (!m_source || !m_source->Transcoded() || m_translationsCodePage == m_originalsCodePage)
        return &stored;
    std::string utf8;
    if (!Codec::Cached(m_translationsCodePage).ToUtf8Strict(stored, utf8) ||
        !Codec::Cached(m_originalsCodePage).FromUtf8(utf8, converted))
        return nullptr;
    return &converted;
}

void ResourceScript::HandleGenerated(std::string_view line, bool isCaption, bool isComboData)
{
    const LineFile::LineEnd end = m_lineEnd;
    const RawLine first = CurrentPlace();
    DecodedLiteral& d = DecodeHandledLine(line, isComboData);
    bool lossy = first.lossy;
    for (const RawLine& raw : m_consumed)
        lossy = lossy || raw.lossy;
    auto copyAsRead = [&] {
        CopyLine(first);
        for (const RawLine& raw : m_consumed)
            CopyLine(raw);
    };
    // A line whose characters the dictionary cannot hold is never rewritten.
    if (d.text.empty() || lossy) {
        copyAsRead();
        return;
    }
    int shortcut = d.shortcut;
    std::string& result = m_result;
    TranslateInto(d.text, shortcut, result);
    // A text without translation is written back exactly as it was read.
    if (result == d.text && (shortcut == d.shortcut || isCaption || isComboData)) {
        copyAsRead();
        return;
    }
    bool written = false;
    if (isComboData) {
        written = WriteChanged(FormatComboData(result, d.itemReference), end, first.codePage);
    } else {
        // Captions are encoded like other literals but get no mnemonic.
        int encodedShortcut = 0;
        EncodeLiteral(result, isCaption ? 0 : shortcut, encodedShortcut);
        if (!isCaption)
            InsertMnemonic(result, encodedShortcut);
        written = WriteChangedLine(d.prefix, result, d.suffix, end, first.codePage);
    }
    // A translation the script's encoding cannot hold leaves the text as it was.
    if (!written) {
        m_reporter->Report(MsgTranslationNotInEncoding, {d.text, m_resourceName, m_sourcePath});
        copyAsRead();
    }
}

void ResourceScript::Generate()
{
    if (!m_source || !m_destination || !m_general || !m_context)
        return;
    SetUpCurrentFileBar();
    const LiteralEncodingScope encoding(LiteralEncoding{m_originalsCodePage, !m_source->Transcoded()});
    m_runSection = m_context->FindFile(m_sourcePath);
    m_inRun = true;
    m_generalCursor = 0;
    m_contextCursor = 0;
    m_copyStart = nullptr;
    m_copyEnd = nullptr;
    m_endUnit = m_source->EncodeEnd(LineFile::LineEnd::Lf).size();
    const std::string_view prologue = m_source->Prologue();
    m_destination->WriteRaw(prologue.data(), prologue.size());
    Walk([this](std::string_view line, bool isCaption,
                bool isComboData) { HandleGenerated(line, isCaption, isComboData); },
         [this](std::string_view) { CopySource(m_lineOriginal, m_lineEnd); });
    FlushCopies();
    SourceReadWhole();
    m_inRun = false;
    m_runSection = nullptr;
}

std::string ResourceScript::TranslateText(std::string& text, int& shortcut, bool* found)
{
    std::string result;
    text = std::string(TranslateInto(text, shortcut, result, found));
    return result;
}

std::string_view ResourceScript::TranslateInto(std::string_view text, int& shortcut, std::string& result,
                                               bool* found)
{
    if (found)
        *found = false;
    result.clear();
    if (text.empty())
        return text;
    if (m_general && m_general->IsDoNotTranslate(text)) {
        result.assign(text);
        return text;
    }
    const std::string_view core = NormalisedView(text);
    if (core.empty()) {
        result.assign(text);
        return text;
    }
    // The text is its leading blanks, the core, what normalisation removed
    // after the core in its own order ("Name: ..." loses ": ..." as a
    // whole), and its trailing blanks.
    const auto lead = static_cast<std::size_t>(core.data() - text.data());
    const std::size_t coreEnd = lead + core.size();
    const std::size_t trailStart = text.find_last_not_of(' ') + 1;

    const int saved = shortcut;
    // Dictionaries keep shortcuts as positions in the normalised text.
    shortcut = CoreShortcut(shortcut, lead);
    // Looked up by its core, else by the core with what followed it ("Name:"
    // for "Name: ..."), both parts of the text itself.
    std::string_view key = core;
    bool joined = false;
    const std::string* translation = LookupTranslation(key, m_translation, shortcut);
    if (!translation) {
        joined = true;
        key = text.substr(lead, trailStart - lead);
        translation = LookupTranslation(key, m_translation, shortcut);
    }
    if (!translation || translation->empty()) {
        shortcut = saved;
        result.assign(text);
    } else {
        if (found)
            *found = true;
        if (shortcut != 0)
            shortcut += static_cast<int>(lead);
        result.reserve(text.size() + translation->size());
        result.append(text.substr(0, lead)).append(*translation);
        if (!joined)
            result.append(text.substr(coreEnd, trailStart - coreEnd));
        result.append(text.substr(trailStart));
    }
    return key;
}

const std::string* ResourceScript::LookupTranslation(std::string_view text, std::string& converted,
                                                     int& shortcut)
{
    if (text.empty() || !m_general)
        return nullptr;
    const ContextDictionary::Section* section = nullptr;
    if (m_inRun)
        section = m_runSection;
    else if (m_context)
        section = m_context->FindFile(m_sourcePath);
    if (section) {
        int kind = 0;
        if (m_fixedKind != KindNone)
            kind = m_fixedKind;
        else if (m_currentKind == KindDialog || m_currentKind == KindMenu)
            kind = m_currentKind;
        // Texts of resources not to extract stay as they are.
        if (kind != 0 && IsExcluded(m_resourceName, kind))
            return nullptr;
        // The key is the resource's name, a '+' and the text: the first two
        // stay in place from one text of the resource to the next.
        std::string& key = m_lookupKey;
        if (m_lookupKeyPrefix == std::string::npos) {
            key.assign(m_resourceName).append(1, '+');
            m_lookupKeyPrefix = key.size();
        }
        key.resize(m_lookupKeyPrefix);
        key.append(text);
        if (const ContextEntry* entry = ContextDictionary::FindEntry(*section, key, m_contextCursor)) {
            shortcut = entry->shortcut == -1 ? 0 : entry->shortcut;
            if (!entry->contextTranslation.empty())
                return Working(entry->contextTranslation, converted);
        }
    }
    const std::string* stored = m_general->FindTranslation(text, m_generalCursor);
    return stored ? Working(*stored, converted) : nullptr;
}
