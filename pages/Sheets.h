#pragma once

#include "pages/PropertySheet.h"

#include <QFont>

#include <string>

class CPageColor;
class CPageDictionary;
class CPageGeneral;
class CTrelvarDoc;
class ResourceTree;

/// Tools > Options: general options, the dictionary's fonts, the colours.
class CSheetOptions : public PropertySheet
{
    Q_OBJECT
public:
    CSheetOptions(CTrelvarDoc* document, const QFont& originalFont, const QFont& translationFont,
                  QWidget* parent);

    CPageGeneral* General() const { return m_general; }
    CPageDictionary* Dictionary() const { return m_dictionary; }
    CPageColor* Color() const { return m_color; }

private:
    CPageGeneral* m_general;
    CPageDictionary* m_dictionary;
    CPageColor* m_color;
};

/// View > Properties: where the dictionary lives, its scripts' resources
/// and how much is translated.
class CSheetProperties : public PropertySheet
{
    Q_OBJECT
public:
    CSheetProperties(CTrelvarDoc* document, const ResourceTree& tree, QWidget* parent);
};

/// The properties of one script of the tree.
class CSheetFileProperties : public PropertySheet
{
    Q_OBJECT
public:
    CSheetFileProperties(const std::string& source, const std::string& destination, QWidget* parent);
};
