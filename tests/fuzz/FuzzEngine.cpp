// libFuzzer target: any bytes as a resource script, all in memory. The
// scanner and the literal rules see every line (decoding and encoding a
// literal compiles to the same bytes); a whole extraction and generation
// run on the script, first with an empty dictionary (the copy must be
// identical), then with every text translated; the preview's readers read
// the dialogs and menus the script declares.
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "engine/Literal.h"
#include "engine/ResourceScript.h"
#include "engine/ScriptResources.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/PreviewTranslator.h"
#include "preview/model/StyleNameTable.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const std::string kSource = "/fuzz/in.rc";

void CheckLiteral(const std::string& line)
{
    DecodedLiteral d = DecodeLiteral(line);
    if (!d.closed || line.find('&') != std::string::npos)
        return;
    // The body as the compiler reads it, and as generation writes it back.
    const std::string body = line.substr(d.prefix.size(), line.size() - d.prefix.size() - d.suffix.size());
    std::string text = d.text;
    int shortcut = 0;
    EncodeLiteral(text, 0, shortcut);
    if (CompileLiteral(text) != CompileLiteral(body))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        ResourceScript scanner;
        bool inResource = false, isCaption = false, isCombo = false;
        std::size_t start = 0;
        while (start <= bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos)
                end = bytes.size();
            const std::string line = bytes.substr(start, end - start);
            scanner.ScanLine(line, inResource, isCaption, isCombo);
            CheckLiteral(line);
            std::string shown = line;
            DecodeOctalForDisplay(shown);
            ExpandLineBreaks(shown);
            start = end + 1;
        }
    }

    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
    notExtracted.Add(kSource + "+IDD_SKIP+5");
    notExtracted.Add(kSource + "+IDR_SKIP+4");
    ResourceScript script;
    script.SetGeneralDictionary(&general);
    script.SetContextDictionary(&context);
    script.SetNotExtractedList(&notExtracted);
    script.OpenSourceMemory(kSource, bytes);
    script.Extract();
    std::string copy;
    script.OpenSourceMemory(kSource, bytes);
    script.OpenMemoryDestination(&copy);
    script.Generate();
    script.Close();
    if (copy != bytes)
        std::abort(); // an empty dictionary must reproduce the script

    std::vector<std::string> originals;
    for (const auto& e : general.Texts())
        originals.emplace_back(e.key);
    for (const std::string& original : originals)
        general.SetTranslation(original, "\xE9" + original + " \"\\\\\"");
    std::string translated;
    script.OpenSourceMemory(kSource, bytes);
    script.OpenMemoryDestination(&translated);
    script.Generate();
    script.Close();

    // The preview's readers on the dialogs and menus the tree would list.
    static const StyleNameTable styles;
    int counter = 1000;
    PreviewReader reader(styles, counter);
    ScriptResources resources;
    resources.ScanText(bytes);
    resources.dialogs.push_back("IDD_X");
    resources.menus.push_back("IDR_X");
    PreviewTranslator translator;
    for (int kind : {5, 4}) {
        const auto& names = kind == 5 ? resources.dialogs : resources.menus;
        for (std::size_t i = 0; i < names.size() && i < 4; ++i) {
            PreviewDialogInfo dialog;
            PreviewMenu menu;
            reader.ReadText(bytes, names[i], kind, dialog, menu);
            translator.Prepare(&general, &context, &notExtracted, kSource, names[i], kind);
            FillDialogDisplay(dialog, &translator, &context, kSource, names[i]);
            FillMenuDisplay(menu, &translator);
        }
    }
    return 0;
}
