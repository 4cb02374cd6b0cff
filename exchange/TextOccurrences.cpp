#include "exchange/TextOccurrences.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "engine/ResourceScript.h"

bool ReadTextOccurrences(const std::string& path, int originalsCodePage, int translationsCodePage,
                         NotExtractedList* notExtracted, std::vector<TextOccurrence>& occurrences,
                         MessageReporter* reporter)
{
    // The extraction fills dictionaries of its own, thrown away after.
    GeneralDictionary general;
    ContextDictionary context;
    ResourceScript script;
    script.SetGeneralDictionary(&general);
    script.SetContextDictionary(&context);
    script.SetNotExtractedList(notExtracted);
    script.SetReporter(reporter);
    script.SetEncodings(originalsCodePage, translationsCodePage);
    script.SetOccurrenceObserver([&](const ScriptTextOccurrence& o) {
        occurrences.push_back({std::string(o.resource), o.kind, o.line, o.group, o.decoded->text,
                               o.decoded->shortcut, std::string(o.text)});
    });
    if (!script.OpenSource(path))
        return false;
    const bool whole = script.Extract();
    script.Close();
    return whole;
}
