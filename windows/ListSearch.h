#pragma once

#include <QString>

#include <string>
#include <vector>

class CDlgDictionaryBase;
class QComboBox;
class QWidget;

/// One search over the rows of a dictionary window's list, as the Find and
/// Replace dialogs and the toolbar's find box run it. The main frame keeps
/// a copy of the last one, so that Find next and Find previous repeat it.
struct ListSearch
{
    CDlgDictionaryBase* window = nullptr; ///< owns the list searched
    QString text;
    bool matchCase = false;
    bool allColumns = true;
    int chosenColumn = -1; ///< the one column searched when not all are
    /// The first column searched: 0 for Find, 1 for Replace (the original
    /// text is never replaced).
    int firstColumn = 0;
    bool down = true;

    std::vector<int> columns; ///< the columns searched, in order
    int row = 0;              ///< where the next search starts
    int position = 0;         ///< index into columns
    int foundRow = -1;
    int foundColumn = -1;
    bool found = false;
    bool firstSearch = true;

    /// The columns to search from the choice and the list's columns.
    void SetColumns();
    /// Goes back to the start: the first row going down, the last going up.
    void Restart();
    /// Runs on from where the last search stopped to the next shown cell
    /// holding the text. At an end of the list asks whether to go on from the
    /// other end; a whole round without a hit ends with "Text not found !".
    /// A hit selects and shows the row; moveAway (the dialog) then goes to
    /// the screen's corner so that it does not hide the list.
    bool Next(QWidget* moveAway = nullptr);
    /// Replaces the first occurrence of the text in the cell and lets the
    /// window keep it; false when the cell does not hold the text.
    bool ReplaceInCell(int row, int column, const QString& replacement);
    /// Replaces every occurrence in every column searched of every shown
    /// row (a text said twice is changed twice); how many occurrences, and
    /// in cells how many cells changed.
    int ReplaceAll(const QString& replacement, int* cells = nullptr);

    /// Where the text first occurs in the cell, -1 when it does not.
    static int Occurrence(const QString& cell, const QString& text, bool matchCase);
};

/// Puts a text at the top of a history box of at most ten entries. An entry
/// equal to it moves up; otherwise an entry that begins with it goes, or the
/// oldest when the box is full. An empty text is not added. withPrefix off:
/// only an equal entry is replaced (the toolbar's find box).
void AddToHistory(QComboBox* box, const QString& text, bool withPrefix = true);
/// The box's entries, newest first, as the settings keep them.
std::vector<std::string> HistoryEntries(const QComboBox* box);
