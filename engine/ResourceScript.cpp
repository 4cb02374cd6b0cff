#include "engine/ResourceScript.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/SafeFiles.h"
#include "engine/ComboData.h"
#include "engine/ScriptCode.h"
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

bool ResourceScript::OpenForGeneration(const std::string& source, const std::string& named)
{
    if (m_destination)
        m_destination->Discard();
    m_destination.reset();
    // A destination that is a link keeps being one: the file it names gets
    // the translation, and the backup beside it. What is not a regular file
    // is never replaced.
    std::string destination;
    std::string why;
    if (!ResolveWriteTarget(named, destination, why)) {
        m_reporter->Report(MsgCannotSaveFile, {named, why});
        return false;
    }
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
    bool backupFailed = false;
    if (!ReplaceKeepingBackup(temporary, m_destinationPath,
                              m_backupPath.empty() ? m_destinationPath : m_backupPath, reason,
                              &backupFailed)) {
        m_reporter->Report(backupFailed && !m_backupPath.empty() ? MsgCannotBackUpFile : MsgCannotSaveFile,
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
    isComboData = false;
    m_code.Next(line);
    m_structure.Next(m_code.Keywords(), m_code.Directive());
    using Resource = ScriptStructure::Resource;
    if (m_structure.Declares()) {
        const Resource resource = m_structure.Current();
        const std::string_view name = line.substr(0, m_structure.NameEnd());
        m_skipping = false;
        switch (resource) {
        case Resource::StringTable:
            // String tables are never excluded.
            SetCurrentResourceName("STRINGTABLE");
            m_currentKind = KindStringTable;
            break;
        case Resource::Menu:
        case Resource::Dialog:
        case Resource::DlgInit:
            // A DLGINIT block's combo strings count as its dialog's texts.
            m_currentKind = resource == Resource::Menu ? KindMenu : KindDialog;
            m_skipping = IsExcluded(name, m_currentKind);
            SetCurrentResourceName(std::string(name));
            break;
        case Resource::None:
        case Resource::Other:
            break;
        }
    }
    const Resource resource = m_structure.Current();
    inResource = resource != Resource::None && resource != Resource::Other && !m_structure.Ends();
    if (!inResource || m_skipping || !m_structure.HasText())
        return false;
    isCaption = m_structure.Caption();
    isComboData = m_structure.ComboEntry();
    m_textStart = isComboData ? 0 : m_code.FirstQuote();
    m_textGroup = m_structure.Group();
    return isComboData || m_textStart != std::string_view::npos;
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
    m_code.Reset();
    m_structure.Reset();
    std::string_view line;
    for (std::int64_t length = ReadLine(line, true); length != -1; length = ReadLine(line)) {
        if (length != 0 && ScanLine(line, inResource, isCaption, isComboData))
            handle(line, isCaption, isComboData);
        else
            passOn(line);
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
    // Shown and kept in the form of a literal's text, like every other text.
    d.text = ComboTextFromBytes(reader.Text());
    return d;
}

DecodedLiteral& ResourceScript::DecodeHandledLine(std::string_view line, bool isCaption, bool isComboData)
{
    m_consumed.clear();
    DecodedLiteral& d = m_decoded;
    if (isComboData) {
        d = DecodeComboData(line);
        return d;
    }
    // A title bar shows an ampersand as it is: a caption has no mnemonic.
    const LiteralMode mode = isCaption ? LiteralMode::Caption : LiteralMode::Text;
    DecodeLiteral(line, d, m_textStart, mode);
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
        DecodeLiteral(joined, d, m_textStart, mode);
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
    std::string statement;
    // The script's section, made at its first text.
    ContextDictionary::Section* section = nullptr;
    Walk(
        [&](std::string_view line, bool isCaption, bool isComboData) {
            bool lossy = m_lineLossy;
            const std::int64_t lineNumber = m_lineNumber;
            const int group = m_textGroup;
            // Only an observer needs the line after decoding reads on.
            if (m_observer)
                statement.assign(line);
            DecodedLiteral& d = DecodeHandledLine(line, isCaption, isComboData);
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
                                CoreShortcut(d.shortcut, lead), statement});
            }
            Normalise(d.text);
            if (d.text.empty() || m_resourceName.empty())
                return;
            if (isComboData)
                AddComboText(d.text);
            else
                m_general->AddText(d.text, {});
            key.assign(m_resourceName).append(1, '+').append(d.text);
            if (!section)
                section = &m_context->FileSection(m_sourcePath);
            ContextDictionary::AddOccurrence(*section, key, d.text, CoreShortcut(d.shortcut, lead),
                                             d.itemReference);
        },
        [](std::string_view) {});
    if (!SourceReadWhole()) {
        // What was read of a script that could not be read to its end does
        // not replace what the dictionary knew of it.
        m_context->RemoveFile(m_sourcePath);
        m_context->PutFile(m_sourcePath, std::move(previous));
        return false;
    }
    m_context->CarryOver(m_sourcePath, previous, *m_general);
    if (section)
        ContextDictionary::CollapseOccurrences(*section);
    if (m_lossySkipped)
        m_reporter->Report(MsgTextsNotInEncoding, {m_sourcePath});
    return true;
}

// A combo-box string that a dictionary made before kept by its bytes comes
// with its translation in the form of a literal's text.
void ResourceScript::AddComboText(const std::string& text)
{
    if (!m_general->FindTranslation(text)) {
        const std::string bytes = ComboBytesFromText(text);
        if (const std::string* translation = bytes != text ? m_general->FindTranslation(bytes) : nullptr) {
            m_general->AddText(text, ComboTextFromBytes(*translation));
            return;
        }
    }
    m_general->AddText(text, {});
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
    DecodedLiteral& d = DecodeHandledLine(line, isCaption, isComboData);
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
    bool found = false;
    TranslateInto(d.text, shortcut, result, &found);
    if (isComboData && !found)
        FindComboTranslationByBytes(d.text, shortcut, result);
    // A text without translation is written back exactly as it was read.
    if (result == d.text && (shortcut == d.shortcut || isCaption || isComboData)) {
        copyAsRead();
        return;
    }
    bool written = false;
    if (isComboData) {
        written =
            WriteChanged(FormatComboData(ComboBytesFromText(result), d.itemReference), end, first.codePage);
    } else {
        // Captions are encoded like other literals but get no mnemonic, and
        // their ampersands are characters.
        int encodedShortcut = 0;
        EncodeLiteral(result, isCaption ? 0 : shortcut, encodedShortcut,
                      isCaption ? LiteralMode::Caption : LiteralMode::Text);
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

// Dictionaries made before combo-box strings took a literal's form keep
// such a string by its bytes ("C:\" where the form is "C:\\"): its
// translation, by the same rule, comes in the literal's form.
void ResourceScript::FindComboTranslationByBytes(std::string_view text, int& shortcut, std::string& result)
{
    const std::string bytes = ComboBytesFromText(text);
    if (bytes == text)
        return;
    bool found = false;
    std::string byBytes;
    TranslateInto(bytes, shortcut, byBytes, &found);
    if (found)
        result = ComboTextFromBytes(byBytes);
}

void ResourceScript::Generate()
{
    if (!m_source || !m_destination || !m_general || !m_context)
        return;
    SetUpCurrentFileBar();
    // Translations are written as the script writes its own texts: an
    // 8-bit script of a known code page that holds raw accented letters
    // gets raw ones, not escapes. Where the code page is only assumed, or
    // the translations are in another one, escapes keep the bytes exact.
    const bool raw = !m_source->Transcoded() && m_translationsCodePage == m_originalsCodePage &&
                     (m_codePageKnown || !m_source->Encoding().pragmas.empty()) &&
                     m_source->TextsHoldRawHighBytes();
    const LiteralEncodingScope encoding(
        LiteralEncoding{m_originalsCodePage, !m_source->Transcoded() && !raw});
    m_runSection = m_context->FindFile(m_sourcePath);
    m_inRun = true;
    ResetOccurrences();
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
    m_requestedShortcut = 0;
    if (text.empty())
        return text;
    const std::string_view core = NormalisedView(text);
    if (m_general && m_general->IsDoNotTranslate(text)) {
        // Counted all the same: the occurrences after it are numbered as the
        // extraction numbered them.
        if (!core.empty())
            EntryOf(core, true);
        result.assign(text);
        return text;
    }
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
        translation = LookupTranslation(key, m_translation, shortcut, false);
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
        // The original's colon or ellipsis comes back after the
        // translation, unless the translation ends with one of its own
        // ("Service:" typed for "Service:" never becomes "Service::").
        std::string_view typed = *translation;
        typed = typed.substr(0, typed.find_last_not_of(' ') + 1);
        const bool ownDecoration = !ColonSuffix(typed).empty() || !EllipsisSuffix(typed).empty();
        if (!joined && !ownDecoration)
            result.append(text.substr(coreEnd, trailStart - coreEnd));
        result.append(text.substr(trailStart));
        // The key goes to a character that can carry it.
        m_requestedShortcut = shortcut;
        shortcut = AccessKeyPlace(result, shortcut);
    }
    return key;
}

const ContextDictionary::Section* ResourceScript::LookupSection() const
{
    if (m_inRun)
        return m_runSection;
    return m_context ? m_context->FindFile(m_sourcePath) : nullptr;
}

bool ResourceScript::LookupExcluded() const
{
    int kind = 0;
    if (m_fixedKind != KindNone)
        kind = m_fixedKind;
    else if (m_currentKind == KindDialog || m_currentKind == KindMenu)
        kind = m_currentKind;
    return kind != 0 && IsExcluded(m_resourceName, kind);
}

const ContextEntry* ResourceScript::EntryOf(std::string_view text, bool count)
{
    const ContextDictionary::Section* section = LookupSection();
    if (!section)
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
    const ContextEntry* entry = ContextDictionary::FindEntry(*section, key, m_contextCursor);
    // Only the texts whose occurrences have shortcuts of their own need to
    // know which occurrence this is.
    m_occurrence = 0;
    if (entry && count && !entry->occurrences.empty())
        m_occurrence = m_occurrenceCounts[entry]++;
    return entry;
}

void ResourceScript::ResetOccurrences()
{
    m_occurrenceCounts.clear();
}

const std::string* ResourceScript::LookupTranslation(std::string_view text, std::string& converted,
                                                     int& shortcut, bool count)
{
    if (text.empty() || !m_general)
        return nullptr;
    if (LookupSection()) {
        // Texts of resources not to extract stay as they are.
        if (LookupExcluded())
            return nullptr;
        if (const ContextEntry* entry = EntryOf(text, count)) {
            shortcut = std::max(0, entry->ShortcutOf(m_occurrence));
            if (!entry->contextTranslation.empty())
                return Working(entry->contextTranslation, converted);
        }
    }
    const std::string* stored = m_general->FindTranslation(text, m_generalCursor);
    return stored ? Working(*stored, converted) : nullptr;
}
