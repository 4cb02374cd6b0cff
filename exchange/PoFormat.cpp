// gettext PO files, written and read by gettext's own library.
#include "exchange/PoFormat.h"

#include "dictionary/Codec.h"
#include "dictionary/LineFile.h"
#include "dictionary/SafeFiles.h"
#include "exchange/ExchangeFiles.h"
#include "exchange/TranslationExchange.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <gettext-po.h>
#include <sys/mman.h>
#include <unistd.h>
#include <unordered_set>

namespace {

// The library calls a handler on errors and expects a fatal one never to
// return: it jumps back to where the call into the library started. Only
// plain data lives between that point and the jump.
thread_local std::jmp_buf t_fatal;
thread_local char t_error[512];

void RecordError(int severity, const char* filename, size_t lineno, const char* text)
{
    if (severity == PO_SEVERITY_WARNING || t_error[0] != '\0')
        return;
    if (filename && lineno != static_cast<size_t>(-1))
        std::snprintf(t_error, sizeof t_error, "line %zu: %s", lineno, text ? text : "");
    else
        std::snprintf(t_error, sizeof t_error, "%s", text ? text : "");
    // One line is enough for the user.
    if (char* end = std::strchr(t_error, '\n'))
        *end = '\0';
}

void OnError(int severity, po_message_t, const char* filename, size_t lineno, size_t, int, const char* text)
{
    RecordError(severity, filename, lineno, text);
    if (severity == PO_SEVERITY_FATAL_ERROR)
        std::longjmp(t_fatal, 1);
}

void OnError2(int severity, po_message_t, const char* filename, size_t lineno, size_t, int, const char* text,
              po_message_t, const char*, size_t, size_t, int, const char*)
{
    RecordError(severity, filename, lineno, text);
    if (severity == PO_SEVERITY_FATAL_ERROR)
        std::longjmp(t_fatal, 1);
}

const po_xerror_handler kHandler = {OnError, OnError2};

po_file_t ReadGuarded(const char* path)
{
    t_error[0] = '\0';
    if (setjmp(t_fatal) != 0)
        return nullptr;
    return po_file_read(path, &kHandler);
}

bool WriteGuarded(po_file_t file, const char* path)
{
    t_error[0] = '\0';
    if (setjmp(t_fatal) != 0)
        return false;
    po_file_write(file, path, &kHandler);
    return t_error[0] == '\0';
}

std::string HeaderText(const ExchangeDocument& exchange)
{
    std::string language = exchange.targetLanguage;
    return "Project-Id-Version: " + exchange.name +
           "\n"
           "Report-Msgid-Bugs-To: \n"
           "POT-Creation-Date: \n"
           "PO-Revision-Date: \n"
           "Last-Translator: \n"
           "Language-Team: \n"
           "Language: " +
           language +
           "\n"
           "MIME-Version: 1.0\n"
           "Content-Type: text/plain; charset=UTF-8\n"
           "Content-Transfer-Encoding: 8bit\n"
           "X-Source-Language: " +
           exchange.sourceLanguage +
           "\n"
           "X-Generator: Lingorel\n";
}

// The value of a header field, "" when absent.
std::string HeaderField(const char* header, const char* field)
{
    if (!header)
        return {};
    char* value = po_header_field(header, field);
    if (!value)
        return {};
    std::string out(value);
    std::free(value);
    return out;
}

// Whether the bytes written are the whole catalogue: as many entries as it
// has (and its header), and a last line that is whole.
bool CountsAsWritten(const std::string& bytes, std::size_t entries)
{
    if (bytes.empty() || bytes.back() != '\n')
        return false;
    std::size_t msgids = 0;
    for (std::size_t at = 0; (at = bytes.find("\nmsgid ", at)) != std::string::npos; ++at)
        ++msgids;
    // The header's msgid is the file's first line when nothing precedes it.
    if (bytes.rfind("msgid ", 0) == 0)
        ++msgids;
    return msgids == entries + 1;
}

} // namespace

bool WritePoFile(const ExchangeDocument& exchange, const std::string& path, std::string& error)
{
    po_file_t file = po_file_create();
    po_message_iterator_t it = po_message_iterator(file, nullptr);
    po_message_t header = po_message_create();
    po_message_set_msgid(header, "");
    po_message_set_msgstr(header, HeaderText(exchange).c_str());
    po_message_insert(it, header);
    // A catalogue holds a text once in each context: a document read from
    // another tool's file may give one twice, and the first is written.
    std::unordered_set<std::string> written;
    for (const ExchangeEntry& e : exchange.entries) {
        const std::string context = e.script.empty() ? std::string() : EntryContext(e);
        if (e.original.empty() || !written.insert(context + '\x04' + e.original).second)
            continue;
        po_message_t m = po_message_create();
        if (!e.script.empty())
            po_message_set_msgctxt(m, context.c_str());
        po_message_set_msgid(m, e.original.c_str());
        po_message_set_msgstr(m, e.translation.c_str());
        // For the translator: what the text is not to become, and where in
        // the program it stands ("Menu IDR_MAINFRAME").
        std::string extracted;
        if (e.doNotTranslate)
            extracted = kDoNotTranslateComment;
        if (!e.script.empty()) {
            const std::string kind = ResourceKindName(e.kind);
            extracted +=
                (extracted.empty() ? "" : "\n") + (kind.empty() ? "Resource" : kind) + " " + e.resource;
            if (e.occurrence > 0)
                extracted += ", occurrence " + std::to_string(e.occurrence + 1) + " of the text there";
        }
        if (!extracted.empty())
            po_message_set_extracted_comments(m, extracted.c_str());
        if (e.inContext)
            po_message_set_comments(m, kInContextComment);
        for (const auto& [script, line] : e.references)
            po_message_add_filepos(m, script.c_str(), line > 0 ? static_cast<size_t>(line) : size_t(-1));
        po_message_insert(it, m);
    }
    po_message_iterator_free(it);
    // The library writes to a file name only, and does not say when a write
    // fails: it writes into a file in memory, which a full disk cannot cut
    // short, and what it wrote must read back as the whole catalogue before
    // its bytes are saved as every file is.
    const int fd = ::memfd_create("lingorel-po", MFD_CLOEXEC);
    if (fd < 0) {
        error = SystemReason(errno);
        po_file_free(file);
        return false;
    }
    const std::string scratch = "/proc/self/fd/" + std::to_string(fd);
    const bool whole = WriteGuarded(file, scratch.c_str());
    po_file_free(file);
    std::string bytes;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    bool read = whole && size >= 0;
    if (read) {
        bytes.resize(static_cast<std::size_t>(size));
        read = ::pread(fd, bytes.data(), bytes.size(), 0) == size;
    }
    ::close(fd);
    if (read)
        read = CountsAsWritten(bytes, written.size());
    if (!read) {
        error = t_error[0] ? t_error : "the file could not be written";
        return false;
    }
    return WriteWholeFile(path, bytes, error);
}

bool ReadPoFile(const std::string& path, ExchangeDocument& exchange, std::string& error)
{
    std::string reason;
    if (!IsReadableRegularFile(path, &reason)) {
        error = reason;
        return false;
    }
    po_file_t file = ReadGuarded(path.c_str());
    // A syntax error is no fatal error to the library; a file read in part
    // is not imported either.
    if (!file || t_error[0] != '\0') {
        error = t_error[0] ? t_error : "the file could not be read";
        if (file)
            po_file_free(file);
        return false;
    }
    const char* header = po_file_domain_header(file, nullptr);
    exchange.name = HeaderField(header, "Project-Id-Version");
    exchange.targetLanguage = HeaderField(header, "Language");
    if (std::string source = HeaderField(header, "X-Source-Language"); !source.empty())
        exchange.sourceLanguage = source;
    // Texts come out in the file's own character set.
    std::string charset = "UTF-8";
    const std::string type = HeaderField(header, "Content-Type");
    if (const std::size_t at = type.find("charset="); at != std::string::npos)
        charset = type.substr(at + 8, type.find_first_of("; ", at + 8) - at - 8);
    const Codec codec(charset);
    if (!codec.IsValid()) {
        error = "its header names a character set this system does not know (" + charset + ")";
        po_file_free(file);
        return false;
    }
    bool converted = true;
    auto utf8 = [&](const char* text) {
        std::string out;
        if (!text)
            return out;
        if (!codec.ToUtf8Strict(text, out))
            converted = false;
        return out;
    };

    po_message_iterator_t it = po_message_iterator(file, nullptr);
    while (po_message_t m = po_next_message(it)) {
        const char* context = po_message_msgctxt(m);
        const char* msgid = po_message_msgid(m);
        if (po_message_is_obsolete(m) || !msgid || msgid[0] == '\0') // the header; no text is empty
            continue;
        ExchangeEntry e;
        if (context && !ReadEntryContext(utf8(context), e)) {
            e.script = utf8(context); // reported as an unknown resource
            e.resource.clear();
        }
        e.original = utf8(msgid);
        e.translation = utf8(po_message_msgstr(m));
        e.fuzzy = po_message_is_fuzzy(m) != 0;
        const std::string extracted = utf8(po_message_extracted_comments(m));
        e.doNotTranslate = extracted.find(kDoNotTranslateComment) != std::string::npos;
        const std::string comments = utf8(po_message_comments(m));
        e.inContext = comments.find(kInContextComment) != std::string::npos;
        for (int i = 0; po_filepos_t pos = po_message_filepos(m, i); ++i) {
            const size_t line = po_filepos_start_line(pos);
            e.references.emplace_back(utf8(po_filepos_file(pos)),
                                      line == size_t(-1) ? 0 : static_cast<std::int64_t>(line));
        }
        exchange.entries.push_back(std::move(e));
    }
    po_message_iterator_free(it);
    po_file_free(file);
    if (!converted) {
        error = "its texts are not in the character set its header names (" + charset + ")";
        return false;
    }
    return true;
}
