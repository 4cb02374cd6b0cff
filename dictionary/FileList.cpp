#include "dictionary/FileList.h"

#include "dictionary/DictionaryFormat.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

bool FileList::AddFile(std::string_view source, std::string_view destination, std::string_view stamp)
{
    const std::string key = AnsiLower(source);
    if (m_files.Contains(key))
        return false;
    m_files.Insert(key, Record{std::string(source), std::string(destination), std::string(stamp)});
    return true;
}

bool FileList::Find(std::string_view source, std::string& destination, std::string& stamp) const
{
    const Record* record = Find(source);
    if (!record)
        return false;
    destination = record->destination;
    stamp = record->stamp;
    return true;
}

const FileList::Record* FileList::Find(std::string_view source) const
{
    return m_files.Find(AnsiLower(source));
}

bool FileList::RemoveFile(std::string_view source)
{
    const std::string key = AnsiLower(source);
    m_changed.Erase(key);
    return m_files.Erase(key);
}

void FileList::StampFile(std::string_view source)
{
    if (const auto time = LastWriteFileTime(std::string(source)))
        StampFile(source, *time);
}

void FileList::StampFile(std::string_view source, std::uint64_t writeTime)
{
    if (Record* record = m_files.Find(AnsiLower(source)))
        record->stamp = FormatStamp(writeTime);
}

bool FileList::CheckChanged(std::string_view source, std::string_view destination)
{
    const Record* record = Find(source);
    return CheckChanged(source, destination, record ? std::string_view(record->stamp) : std::string_view());
}

bool FileList::CheckChanged(std::string_view source, std::string_view destination, std::string_view stamp)
{
    const auto time = LastWriteFileTime(std::string(source));
    if (!time)
        return false; // a script that is gone is not offered for extraction
    // A stamp that is not a real time (edited by hand, or from the far
    // future) would keep a changed script from ever being offered again.
    const std::optional<std::uint64_t> stamped = ParseValidStamp(stamp);
    const bool changed = !stamped || *time > *stamped;
    if (!changed)
        return false;
    // This version of the file was offered already (at the open, say, and
    // now the program is activated): the user has answered.
    const std::string key = AnsiLower(source);
    if (const std::uint64_t* seen = m_seen.Find(key); seen && *seen == *time)
        return false;
    m_seen.Assign(key, *time);
    if (m_askOnChange != 0) {
        if (m_lastAnswer == YesNoAllQuestion::Yes || m_lastAnswer == YesNoAllQuestion::No) {
            m_lastAnswer = m_question ? m_question->Ask(MsgFileChanged, {std::string(source)})
                                      : static_cast<int>(YesNoAllQuestion::Yes);
        }
        if (m_lastAnswer != YesNoAllQuestion::Yes && m_lastAnswer != YesNoAllQuestion::YesAll)
            return false;
    }
    m_changed.Assign(key, Record{std::string(source), std::string(destination), {}});
    return true;
}

bool FileList::IsChanged(std::string_view source) const
{
    return m_changed.Contains(AnsiLower(source));
}

void FileList::ForgetChanged(std::string_view source)
{
    m_changed.Erase(AnsiLower(source));
}

std::pair<int, int> FileList::ParseCodePages(std::string_view field)
{
    auto number = [](std::string_view digits) {
        int value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return ec == std::errc() && end == digits.data() + digits.size() && value > 0 && value < 100000
                   ? value
                   : 0;
    };
    const std::size_t slash = field.find('/');
    const int originals = number(field.substr(0, slash));
    const int translations = slash == std::string_view::npos ? originals : number(field.substr(slash + 1));
    if (originals == 0 || translations == 0)
        return {0, 0};
    return {originals, translations};
}

std::string FileList::FormatCodePages(int originals, int translations)
{
    if (originals <= 0 || translations <= 0)
        return {};
    return originals == translations ? std::to_string(originals)
                                     : std::to_string(originals) + "/" + std::to_string(translations);
}

bool FileList::Load(MessageReporter* reporter)
{
    LineFile file;
    if (!file.OpenForReading(m_path))
        return false;
    return Read(file, reporter);
}

bool FileList::Read(LineFile& file, MessageReporter* reporter)
{
    m_files.Clear();
    m_changed.Clear();
    m_seen.Clear();
    m_sourceFolder.clear();
    m_destinationFolder.clear();
    m_codePages = {0, 0};
    m_lastAnswer = 0;

    // Records are quoted fields joined by ";". Splitting at the quote-
    // semicolon-quote joints keeps empty fields in their place (an empty
    // source folder must not shift the destination folder into its place).
    // A line of another shape falls back to splitting at every quote and
    // dropping the pieces that are empty or a lone ";".
    std::vector<std::string_view> values;
    std::array<std::string, 3> decoded;
    m_damagedLine = 0;
    std::int64_t number = 0;
    // A record is up to three quoted fields joined by ";" (the folder line
    // has two, or three with the code pages); any other line is one of a
    // damaged file.
    auto split = [&](std::string_view line) {
        values.clear();
        const auto quotes = static_cast<std::size_t>(std::count(line.begin(), line.end(), '"'));
        std::size_t joints = 0;
        for (std::size_t p = line.find("\";\""); p != std::string_view::npos; p = line.find("\";\"", p + 3))
            ++joints;
        const bool whole =
            line.size() >= 2 && line.front() == '"' && line.back() == '"' && quotes == 2 * (joints + 1);
        if (m_damagedLine == 0 && (!whole || joints > 2))
            m_damagedLine = number;
        if (whole) {
            std::string_view body = line.substr(1, line.size() - 2);
            for (;;) {
                const std::size_t joint = body.find("\";\"");
                values.push_back(body.substr(0, joint));
                if (joint == std::string_view::npos)
                    break;
                body.remove_prefix(joint + 3);
            }
        } else {
            std::size_t start = 0;
            for (;;) {
                const std::size_t q = line.find('"', start);
                const std::string_view piece =
                    line.substr(start, q == std::string_view::npos ? q : q - start);
                if (!piece.empty() && piece != ";")
                    values.push_back(piece);
                if (q == std::string_view::npos)
                    break;
                start = q + 1;
            }
        }
        values.resize(3);
        // Bytes the layout cannot carry come as "\XHH".
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (HasFieldEscape(values[i])) {
                decoded[i] = DecodeField(values[i]);
                values[i] = decoded[i];
            }
        }
    };

    std::string line;
    file.ReadFirstLine(line); // the header
    std::int64_t length = file.ReadLine(line);
    number = 2;
    if (length > 0) {
        split(line);
        m_sourceFolder = std::string(values[0]);
        m_destinationFolder = std::string(values[1]);
        m_codePages = ParseCodePages(values[2]);
    }
    while ((length = file.ReadLine(line)) >= 0) {
        ++number;
        if (length == 0)
            continue;
        split(line);
        CheckChanged(values[0], values[1], values[2]);
        AddFile(values[0], values[1], values[2]);
    }
    return ReadToTheEnd(file, m_path, reporter);
}

bool FileList::Save(MessageReporter* reporter) const
{
    return SaveStore(m_path, *this, reporter);
}

void FileList::Write(LineFile& file) const
{
    file.WriteLine(std::string(kFilHeader));
    std::string record;
    AppendQuotedPath(record, m_sourceFolder);
    record += ';';
    AppendQuotedPath(record, m_destinationFolder);
    if (const std::string pages = FormatCodePages(m_codePages.first, m_codePages.second); !pages.empty()) {
        record += ';';
        AppendQuoted(record, pages);
    }
    file.WriteLine(record);
    for (const auto& entry : m_files) {
        record.clear();
        AppendQuotedPath(record, entry.value.source);
        record += ';';
        AppendQuotedPath(record, entry.value.destination);
        record += ';';
        AppendQuotedPath(record, entry.value.stamp);
        file.WriteLine(record);
    }
}
