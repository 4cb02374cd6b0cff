#pragma once

#include "tessary/CRkCoolDlg.h"
#include "windows/ListSearch.h"

class CDlgDictionaryBase;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

/// The Find dialog: looks for a text in the rows of a dictionary window's
/// list, in every column or in one, with or without regard to case, down or
/// up, and closes on the first hit. Its search goes back to the main frame
/// after every press so that Find next and Find previous can repeat it.
class CDlgFind : public CRkCoolDlg
{
    Q_OBJECT
public:
    /// last: the main frame's last search (its column choice and direction
    /// come back); text: the text to start with.
    CDlgFind(CDlgDictionaryBase* target, const ListSearch& last, const QString& text, QWidget* parent);

    const ListSearch& Search() const { return m_search; }
    /// Find (Find next in Replace): the first search, or on from the last hit.
    void OnFind();

    QComboBox* FindWhatBox() const { return m_findWhat; }
    QRadioButton* AllColumnsButton() const { return m_allColumns; }
    QRadioButton* OneColumnButton() const { return m_oneColumn; }
    QComboBox* ColumnBox() const { return m_columnBox; }
    QCheckBox* MatchCaseBox() const { return m_matchCase; }
    QRadioButton* UpButton() const { return m_up; }
    QRadioButton* DownButton() const { return m_down; }
    QPushButton* FindButton() const { return m_find; }
    QPushButton* CancelButton() const { return m_cancel; }

signals:
    /// After every search, with its state.
    void searched(const ListSearch& search);
    /// A text searched from the Find dialog, for the main frame's find box.
    void textSearched(const QString& text);

protected:
    CDlgFind(CDlgDictionaryBase* target, const ListSearch& last, const QString& text, QWidget* parent,
             bool replace);
    /// Takes the text, the columns, the case and the direction from the
    /// controls; false when there is no text to search.
    bool ReadControls();
    /// Starts from the first row (the last one going up) with the controls'
    /// choice; true on a hit.
    bool RunFirstSearch();
    QGridLayout* Grid() const { return m_grid; }
    QVBoxLayout* ButtonColumn() const { return m_buttons; }
    QPushButton* NewButton(const QString& text, const char* id);

    ListSearch m_search;
    bool m_replace;

private:
    void Build(const ListSearch& last, const QString& text);

    QGridLayout* m_grid = nullptr;
    QVBoxLayout* m_buttons = nullptr;
    QComboBox* m_findWhat = nullptr;
    QRadioButton* m_allColumns = nullptr;
    QRadioButton* m_oneColumn = nullptr;
    QComboBox* m_columnBox = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_cancel = nullptr;
};

/// The Replace dialog: Find with a replacement. Replace changes the first
/// occurrence of the text in the cell found; Replace All every occurrence in
/// every cell of the columns searched, and says how many it replaced. The
/// first column, the original text, is never searched nor changed.
class CDlgReplace : public CDlgFind
{
    Q_OBJECT
public:
    CDlgReplace(CDlgDictionaryBase* target, const ListSearch& last, const QString& text, QWidget* parent);

    void OnReplace();
    void OnReplaceAll();

    QComboBox* ReplaceWithBox() const { return m_replaceWith; }
    QPushButton* ReplaceButton() const { return m_replaceButton; }
    QPushButton* ReplaceAllButton() const { return m_replaceAllButton; }
    /// What the last Replace All said ("N occurrence(s) replaced in M text(s).").
    const QString& LastReport() const { return m_lastReport; }

protected:
    void done(int result) override;

private:
    /// The replacement, added to its history; empty when nothing is to be
    /// replaced.
    QString ReadReplacement();

    QComboBox* m_replaceWith;
    QPushButton* m_replaceButton;
    QPushButton* m_replaceAllButton;
    QString m_lastReport;
};
