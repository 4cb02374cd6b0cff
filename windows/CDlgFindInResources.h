#pragma once

#include "engine/ResourceSearch.h"
#include "tessary/CRkCoolDlg.h"

#include <QWidget>

#include <cstdint>
#include <deque>
#include <string>

class CListCtrlEx;
class QComboBox;
class QLabel;

/// Asks for the text to look for in every resource of the dictionary.
class CDlgFindInResources : public CRkCoolDlg
{
    Q_OBJECT
public:
    explicit CDlgFindInResources(QWidget* parent);

    QString Text() const { return m_text; }
    QComboBox* FindWhatBox() const { return m_findWhat; }
    /// Find: an empty text leaves the dialog open; any other closes it.
    void OnFind();

private:
    QComboBox* m_findWhat;
    QString m_text;
};

/// The "Find in resources results" window: every resource holding the text
/// looked for, with its file and type, from where a double click (or "Goto
/// text") takes the user to the text in its resource.
class CDlgFindResults : public QWidget
{
    Q_OBJECT
public:
    struct Record
    {
        std::string file;
        std::string resourceName;
        std::string matched;
        int kind = 0;
        QString type;
    };

    explicit CDlgFindResults(QWidget* parent);

    /// Shows the matches of a search for the text (sorted by file), or the
    /// single row "Text not found !".
    void ShowMatches(const std::vector<LocatedMatch>& matches, const QString& text);
    /// Empties the list; the title loses its count and text.
    void Clear();
    CListCtrlEx* List() const { return m_list; }
    /// The record of a row; null for the "Text not found !" row.
    const Record* RecordAt(int row) const;
    QString Title() const;
    void GotoRow(int row);
    /// Colours the rows with the type colours of the settings again.
    void RefreshColours();

signals:
    /// The user asks to go to the text of a row.
    void gotoRequested(const CDlgFindResults::Record& record);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    static int CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue);
    void SetTitle(const QString& title);

    QLabel* m_title;
    CListCtrlEx* m_list;
    std::deque<Record> m_records;
};
