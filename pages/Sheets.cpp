#include "pages/Sheets.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "engine/ScriptStatistics.h"
#include "pages/OptionsPages.h"
#include "pages/PropertiesPages.h"

CSheetOptions::CSheetOptions(CTrelvarDoc* document, const QFont& originalFont, const QFont& translationFont,
                             QWidget* parent)
    : PropertySheet(tr("Options"), "sheetOptions", parent), m_general(new CPageGeneral(this)),
      m_dictionary(new CPageDictionary(document, originalFont, translationFont, this)),
      m_color(new CPageColor(this))
{
    AddPage(m_general, QStringLiteral("general"));
    AddPage(m_dictionary, QStringLiteral("fonts"));
    AddPage(m_color, QStringLiteral("colors"));
}

CSheetProperties::CSheetProperties(CTrelvarDoc* document, const ResourceTree& tree, QWidget* parent)
    : PropertySheet(tr("Properties"), "sheetProperties", parent)
{
    AddPage(new CPageLocation(document, this), QStringLiteral("open"));
    const bool open = document && document->IsOpen();
    AddPage(
        new CPageStatistics(open ? CountResources(tree, *document->Context()) : ResourceStatistics{}, this),
        QStringLiteral("statistics"));
    AddPage(new CPageGraphic(open ? ShareOf(*document->General()) : TranslationShare{}, this),
            QStringLiteral("pie"));
}

CSheetFileProperties::CSheetFileProperties(const std::string& source, const std::string& destination,
                                           QWidget* parent)
    : PropertySheet(tr("Properties"), "sheetFileProperties", parent)
{
    AddPage(new CPageFileProperties(source, destination, this), QStringLiteral("tree4"));
}
