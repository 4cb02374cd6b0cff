#include "engine/ResourceScript.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "engine/ComboData.h"

#include <cstring>
#include <filesystem>

namespace {

bool StartsWith(std::string_view line, std::string_view keyword)
{
    return line.substr(0, keyword.size()) == keyword;
}

// Where the keywords of the scanner stand in one line, found in a single
// pass: most keywords begin with a blank, and searching for each one on its
// own would stop at every blank of the line again and again.
struct Keywords
{
    static constexpr std::size_t npos = std::string_view::npos;
    std::size_t menu = npos;     // " MENU "
    std::size_t dialog = npos;   // " DIALOG "
    std::size_t dialogEx = npos; // " DIALOGEX "
    std::size_t dlginit = npos;  // " DLGINIT"
    std::size_t end = npos;      // " END"
    bool menuItem = false;       // "MENUITEM" or a "POPUP" with its text
    bool skippedType = false;    // TEXTINCLUDE, ACCELERATORS, VERSIONINFO
    bool comboData = false;      // "0x403,"
    bool fileResource = false;   // " CURSOR ", " BITMAP ", " ICON ", " WAVE ", " RT_ANIICON ", "VBControl"
    bool spacedEnd = false;      // " END "
    bool tabEnd = false;         // tab, END
};

bool At(std::string_view line, std::size_t i, std::string_view keyword)
{
    return line.size() - i >= keyword.size() &&
           std::memcmp(line.data() + i, keyword.data(), keyword.size()) == 0;
}

void First(std::size_t& position, std::size_t i)
{
    if (position == std::string_view::npos)
        position = i;
}

Keywords FindKeywords(std::string_view line)
{
    Keywords k;
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
        switch (line[i]) {
        case ' ':
            if (i + 1 >= n)
                break;
            switch (line[i + 1]) {
            case 'M':
                if (At(line, i, " MENU "))
                    First(k.menu, i);
                break;
            case 'D':
                if (At(line, i, " DIALOG "))
                    First(k.dialog, i);
                else if (At(line, i, " DIALOGEX "))
                    First(k.dialogEx, i);
                else if (At(line, i, " DLGINIT"))
                    First(k.dlginit, i);
                break;
            case 'E':
                if (At(line, i, " END")) {
                    First(k.end, i);
                    k.spacedEnd = k.spacedEnd || At(line, i, " END ");
                }
                break;
            case 'C':
                k.fileResource = k.fileResource || At(line, i, " CURSOR ");
                break;
            case 'B':
                k.fileResource = k.fileResource || At(line, i, " BITMAP ");
                break;
            case 'I':
                k.fileResource = k.fileResource || At(line, i, " ICON ");
                break;
            case 'W':
                k.fileResource = k.fileResource || At(line, i, " WAVE ");
                break;
            case 'R':
                k.fileResource = k.fileResource || At(line, i, " RT_ANIICON ");
                break;
            default:
                break;
            }
            break;
        case 'M':
            k.menuItem = k.menuItem || At(line, i, "MENUITEM");
            break;
        case 'P':
            k.menuItem = k.menuItem || At(line, i, "POPUP \"");
            break;
        case 'T':
            k.skippedType = k.skippedType || At(line, i, "TEXTINCLUDE");
            break;
        case 'A':
            k.skippedType = k.skippedType || At(line, i, "ACCELERATORS");
            break;
        case 'V':
            k.skippedType = k.skippedType || At(line, i, "VERSIONINFO");
            k.fileResource = k.fileResource || At(line, i, "VBControl");
            break;
        case '0':
            k.comboData = k.comboData || At(line, i, "0x403,");
            break;
        case '\t':
            k.tabEnd = k.tabEnd || At(line, i, "\tEND");
            break;
        default:
            break;
        }
    }
    return k;
}

bool IsEndLine(std::string_view line, const Keywords& k)
{
    if (line.size() == 3 && line.find("END") != std::string_view::npos)
        return true;
    if (k.end != Keywords::npos && k.end + 4 == line.size())
        return true;
    return StartsWith(line, "END ") || k.spacedEnd || k.tabEnd;
}

bool IsBeginLine(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    line.remove_prefix(first);
    const std::size_t last = line.find_last_not_of(" \t");
    line = line.substr(0, last + 1);
    return line == "BEGIN" || line == "{";
}

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

void ResourceScript::ResetAllFilesBar()
{
    m_allFilesPosition = 0;
    m_allFilesBytes = 0;
    if (m_allFilesBar)
        m_allFilesBar->SetPosition(0);
}

void ResourceScript::ResetCurrentFileBar()
{
    m_currentFilePosition = 0;
    m_currentFileBytes = 0;
    if (m_currentFileBar)
        m_currentFileBar->SetPosition(0);
}

bool ResourceScript::OpenSource(const std::string& path)
{
    m_sourcePath = path;
    m_source.reset();
    auto file = std::make_unique<LineFile>();
    if (!file->OpenForReading(ResolveExistingPath(path))) {
        m_reporter->Report(MsgErrorOpeningFile, {path});
        return false;
    }
    m_source = std::move(file);
    ResetCurrentFileBar();
    return true;
}

bool ResourceScript::OpenForGeneration(const std::string& source, const std::string& destination)
{
    if (!OpenSource(source))
        return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(destination, ec)) {
        // Keep the previous translation as <name>.qv before overwriting it.
        const std::string_view name = FileNameOf(destination);
        const std::size_t dot = name.find_last_of('.');
        if (dot == std::string_view::npos) {
            m_reporter->Report(MsgCannotBackUpFile, {destination});
            m_source.reset();
            return false;
        }
        const std::string backup = destination.substr(0, destination.size() - name.size() + dot + 1) + "qv";
        fs::copy_file(destination, backup, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            m_reporter->Report(MsgCannotBackUpFile, {destination});
            m_source.reset();
            return false;
        }
    }
    m_destinationPath = destination;
    if (m_destination)
        m_destination->Close();
    auto file = std::make_unique<LineFile>();
    if (!file->OpenForWriting(destination, m_reporter)) {
        m_source.reset();
        m_destination.reset();
        return false;
    }
    m_destination = std::move(file);
    return true;
}

bool ResourceScript::Close()
{
    m_source.reset();
    bool ok = true;
    if (m_destination) {
        ok = m_destination->Close();
        m_destination.reset();
    }
    return ok;
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
    if (StartsWith(line, "#") || StartsWith(line, "//"))
        return false;
    // An excluded menu stays excluded down to its own END, however deeply
    // its pop-ups nest.
    if (m_skipping && m_skipDepth > 0 && IsBeginLine(line)) {
        ++m_skipDepth;
        return false;
    }
    if (StartsWith(line, "STRINGTABLE ")) {
        m_resourceName = "STRINGTABLE";
        inResource = true;
        m_currentKind = KindStringTable;
        return false;
    }
    const Keywords k = FindKeywords(line);
    if (const std::size_t p = k.menu; p != std::string_view::npos) {
        m_currentKind = KindMenu;
        const std::string_view name = line.substr(0, p);
        if (IsExcluded(name, KindMenu)) {
            inResource = false;
            m_skipping = true;
            m_skipDepth = 1;
            return false;
        }
        m_resourceName = std::string(name);
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
        m_resourceName = std::string(name);
    }
    const std::size_t dlginit = k.dlginit;
    if (dlginit != std::string_view::npos || k.skippedType) {
        if (dlginit != std::string_view::npos)
            m_resourceName = std::string(line.substr(0, dlginit));
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
    if (StartsWith(line, "STYLE ") || StartsWith(line, "FONT ") || k.fileResource) {
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
    if (StartsWith(line, "CAPTION "))
        isCaption = true;
    return !m_skipping;
}

std::int64_t ResourceScript::ReadLine(std::string& line, bool first)
{
    const std::int64_t length = first ? m_source->ReadFirstLine(line) : m_source->ReadLine(line);
    m_lineEnd = m_source->LastLineEnd();
    AdvanceProgress(length < 0 ? 0 : length + LineEndBytes(m_lineEnd));
    return length;
}

void ResourceScript::AdvanceProgress(std::int64_t bytes)
{
    m_allFilesBytes += bytes;
    m_currentFileBytes += bytes;
    const std::int64_t all = m_allFilesBytes / m_allFilesDivisor;
    const std::int64_t current = m_currentFileBytes / m_currentFileDivisor;
    if (m_allFilesBar && all != m_allFilesPosition)
        m_allFilesBar->SetPosition(static_cast<int>(all));
    if (m_currentFileBar && current != m_currentFilePosition)
        m_currentFileBar->SetPosition(static_cast<int>(current));
    m_allFilesPosition = all;
    m_currentFilePosition = current;
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
    std::string line;
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
    m_comboLines.clear();
    ComboHeader parsed;
    if (!ParseComboHeader(header, parsed))
        return d;
    d.itemReference = parsed.itemReference;
    if (parsed.length < 1)
        return d;
    ComboWordReader reader(parsed.length);
    std::string line;
    // The first data line is always there, even for an empty string (its
    // closing zero item); more follow while words are missing.
    bool more = true;
    while (more && ReadLine(line) >= 0) {
        m_comboLines.push_back({line, m_lineEnd});
        more = reader.Feed(line);
    }
    if (!more && reader.ClosingItemOnOwnLine() && ReadLine(line) >= 0)
        m_comboLines.push_back({line, m_lineEnd});
    d.text = reader.Text();
    return d;
}

void ResourceScript::Extract()
{
    if (!m_source || !m_general || !m_context)
        return;
    m_context->RemoveFile(m_sourcePath);
    SetUpCurrentFileBar();
    std::string key;
    Walk(
        [&](const std::string& line, bool, bool isComboData) {
            DecodedLiteral d = isComboData ? DecodeComboData(line) : DecodeLiteral(line);
            if (d.text.empty())
                return;
            const std::size_t lead = d.text.find_first_not_of(' ');
            Normalise(d.text);
            if (d.text.empty() || m_resourceName.empty())
                return;
            m_general->AddText(d.text, {});
            key.assign(m_resourceName).append(1, '+').append(d.text);
            m_context->AddEntry(m_sourcePath, key, d.text, {}, CoreShortcut(d.shortcut, lead),
                                d.itemReference);
        },
        [](const std::string&) {});
}

void ResourceScript::WriteRaw(const std::string& line, LineFile::LineEnd end)
{
    m_destination->WriteLine(line, end);
}

void ResourceScript::HandleGenerated(const std::string& line, bool isCaption, bool isComboData)
{
    const LineFile::LineEnd end = m_lineEnd;
    DecodedLiteral d = isComboData ? DecodeComboData(line) : DecodeLiteral(line);
    auto copyAsRead = [&] {
        WriteRaw(line, end);
        if (isComboData) {
            for (const RawLine& raw : m_comboLines)
                WriteRaw(raw.text, raw.end);
        }
    };
    if (d.text.empty()) {
        copyAsRead();
        return;
    }
    const std::string decoded = d.text;
    int shortcut = d.shortcut;
    std::string result = TranslateText(d.text, shortcut);
    // A text without translation is written back exactly as it was read.
    if (result == decoded && (shortcut == d.shortcut || isCaption || isComboData)) {
        copyAsRead();
        return;
    }
    if (isComboData) {
        for (const std::string& data : FormatComboData(result, d.itemReference))
            WriteRaw(data, end);
        return;
    }
    // Captions are encoded like other literals but get no mnemonic.
    int encodedShortcut = 0;
    EncodeLiteral(result, isCaption ? 0 : shortcut, encodedShortcut);
    if (!isCaption)
        InsertMnemonic(result, encodedShortcut);
    WriteRaw(d.prefix + result + d.suffix, end);
}

void ResourceScript::Generate()
{
    if (!m_source || !m_destination || !m_general || !m_context)
        return;
    SetUpCurrentFileBar();
    m_runSection = m_context->FindFile(m_sourcePath);
    m_inRun = true;
    Walk([this](const std::string& line, bool isCaption,
                bool isComboData) { HandleGenerated(line, isCaption, isComboData); },
         [this](const std::string& line) { WriteRaw(line, m_lineEnd); });
    m_inRun = false;
    m_runSection = nullptr;
}

std::string ResourceScript::TranslateText(std::string& text, int& shortcut)
{
    if (text.empty())
        return {};
    if (m_general && m_general->IsDoNotTranslate(text))
        return text;
    std::string core = Normalised(text);
    if (core.empty())
        return text;
    const std::size_t lead = text.find_first_not_of(' ');
    const std::size_t trailStart = text.find_last_not_of(' ') + 1;
    // What normalisation removed after the core, in its own order ("Name: ..."
    // loses ": ..." as a whole), and the blanks around.
    const std::string decorations = text.substr(lead + core.size(), trailStart - lead - core.size());
    const std::string leading = text.substr(0, lead);
    const std::string trailing = text.substr(trailStart);

    const int saved = shortcut;
    // Dictionaries keep shortcuts as positions in the normalised text.
    shortcut = CoreShortcut(shortcut, lead);
    text = core;
    std::string translation;
    bool joined = false;
    const bool found = LookupTranslation(text, translation, shortcut);
    if (!found && translation.empty()) {
        joined = true;
        text = core + decorations;
        LookupTranslation(text, translation, shortcut);
    }
    if (translation.empty()) {
        shortcut = saved;
        return leading + core + decorations + trailing;
    }
    if (shortcut != 0)
        shortcut += static_cast<int>(lead);
    return leading + translation + (joined ? std::string() : decorations) + trailing;
}

bool ResourceScript::LookupTranslation(const std::string& text, std::string& translation, int& shortcut)
{
    translation.clear();
    if (text.empty() || !m_general)
        return false;
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
            return false;
        std::string key = m_resourceName;
        key += '+';
        key += text;
        if (const ContextEntry* entry = ContextDictionary::FindEntry(*section, key)) {
            shortcut = entry->shortcut == -1 ? 0 : entry->shortcut;
            if (!entry->contextTranslation.empty()) {
                translation = entry->contextTranslation;
                return true;
            }
        }
    }
    return m_general->GetTranslation(text, translation);
}
