#pragma once

#include "tessary/CRkCoolDlg.h"

#include <deque>
#include <string>

class CListCtrlEx;
class CTrelvarDoc;
class QPushButton;

/// A list of texts of the dictionary the user may take out of it: the
/// texts not to translate, the texts no resource uses any more.
class CDlgTextList : public CRkCoolDlg
{
    Q_OBJECT
public:
    CListCtrlEx* List() const { return m_list; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* RemoveAllButton() const { return m_removeAll; }
    /// Takes the selected texts out, from the last row to the first.
    void OnRemove();
    void OnRemoveAll();
    /// Whether a remove changed the dictionary.
    bool Changed() const { return m_changed; }

protected:
    CDlgTextList(CTrelvarDoc* document, const QString& title, const QString& help, const char* id,
                 QWidget* parent);
    /// Fills the list with the texts, then sets the buttons and the title.
    void SetTexts(const std::vector<std::string>& texts);
    /// Takes one text out of the dictionary; false when it was not there.
    virtual bool RemoveText(const std::string& text) = 0;

    CTrelvarDoc* m_document;

private:
    void UpdateTitle();

    QString m_baseTitle;
    CListCtrlEx* m_list;
    QPushButton* m_remove;
    QPushButton* m_removeAll;
    std::deque<std::string> m_texts;
    bool m_changed = false;
};

/// The texts marked not to translate; Remove takes the mark away.
class CDlgTextsNotToTranslate : public CDlgTextList
{
    Q_OBJECT
public:
    CDlgTextsNotToTranslate(CTrelvarDoc* document, QWidget* parent);

protected:
    bool RemoveText(const std::string& text) override;
};

/// The texts of the dictionary that no resource uses any more; Remove
/// deletes them from the dictionary.
class CDlgUnusedTexts : public CDlgTextList
{
    Q_OBJECT
public:
    CDlgUnusedTexts(CTrelvarDoc* document, QWidget* parent);

protected:
    bool RemoveText(const std::string& text) override;
};
