// libFuzzer target: any bytes as a resource script. The scanner and the
// literal decoder see every line; a whole extraction and generation run on
// the script, first with an empty dictionary (the copy must be identical),
// then with every text translated (the copy must read back).
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "engine/Literal.h"
#include "engine/ResourceScript.h"
#include "engine/ResourceTree.h"
#include "engine/ScriptResources.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/PreviewTranslator.h"
#include "preview/model/StyleNameTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string Folder()
{
    static const std::string folder = [] {
        char name[] = "/dev/shm/lingorel-fuzz-XXXXXX";
        return std::string(mkdtemp(name));
    }();
    return folder;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
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
            DecodedLiteral d = DecodeLiteral(line);
            std::string text = d.text;
            int shortcut = 0;
            EncodeLiteral(text, d.shortcut, shortcut);
            InsertMnemonic(text, shortcut);
            DecodeOctalForDisplay(d.text);
            ExpandLineBreaks(d.text);
            start = end + 1;
        }
    }

    const std::string source = Folder() + "/in.rc";
    const std::string destination = Folder() + "/out.rc";
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
    notExtracted.Add(source + "+IDD_SKIP+5");
    notExtracted.Add(source + "+IDR_SKIP+4");
    ResourceScript script;
    script.SetGeneralDictionary(&general);
    script.SetContextDictionary(&context);
    script.SetNotExtractedList(&notExtracted);
    if (!script.OpenSource(source))
        return 0;
    script.Extract();
    if (script.OpenForGeneration(source, destination)) {
        script.Generate();
        script.Close();
        if (Read(destination) != bytes)
            std::abort(); // an empty dictionary must reproduce the script
    }
    std::vector<std::string> originals;
    for (const auto& e : general.Texts())
        originals.push_back(e.key);
    for (const std::string& original : originals) {
        std::string reversed = original;
        std::reverse(reversed.begin(), reversed.end());
        general.SetTranslation(original, reversed + "\xE9&\"\\");
    }
    if (script.OpenForGeneration(source, destination)) {
        script.Generate();
        script.Close();
    }

    // The preview's readers on the dialogs and menus the tree would list.
    static const StyleNameTable styles;
    int counter = 1000;
    PreviewReader reader(styles, counter);
    ScriptResources resources;
    resources.Scan(source);
    resources.dialogs.push_back("IDD_X");
    resources.menus.push_back("IDR_X");
    PreviewTranslator translator;
    for (int kind : {5, 4}) {
        const auto& names = kind == 5 ? resources.dialogs : resources.menus;
        for (std::size_t i = 0; i < names.size() && i < 4; ++i) {
            PreviewDialogInfo dialog;
            PreviewMenu menu;
            reader.Read(source, names[i], kind, dialog, menu);
            translator.Prepare(&general, &context, &notExtracted, source, names[i], kind);
            FillDialogDisplay(dialog, &translator, &context, source, names[i]);
            FillMenuDisplay(menu, &translator);
        }
    }
    ResourceTree tree;
    tree.SetFileMap({{source, destination}});
    tree.SetStores(&general, &context, &notExtracted);
    tree.RebuildTree();
    return 0;
}
