#include "windows/ListSearch.h"

#include "dictionary/Messages.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CoreFeedback.h"
#include "views/CListCtrlBookmark.h"
#include "windows/CDlgDictionaryBase.h"

#include <QComboBox>
#include <QScreen>

namespace {

constexpr int kHistorySize = 10;
constexpr unsigned kYesNoQuestion = 0x0004 | 0x0020;

} // namespace

int ListSearch::Occurrence(const QString& cell, const QString& text, bool matchCase)
{
    if (text.isEmpty())
        return -1;
    return static_cast<int>(cell.indexOf(text, 0, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive));
}

void ListSearch::SetColumns()
{
    columns.clear();
    const int count = window ? window->List()->GetColumnCount() : 0;
    if (!allColumns && chosenColumn >= firstColumn && chosenColumn < count) {
        columns.push_back(chosenColumn);
        return;
    }
    allColumns = true;
    for (int column = firstColumn; column < count; ++column)
        columns.push_back(column);
}

void ListSearch::Restart()
{
    const int count = window ? window->List()->GetItemCount() : 0;
    row = down ? 0 : count - 1;
    position = 0;
}

bool ListSearch::Next(QWidget* moveAway)
{
    found = false;
    if (!window || text.isEmpty())
        return false;
    CListCtrlEx* list = window->List();
    const int count = list->GetItemCount();
    bool wrapped = false;
    for (;;) {
        if (row >= 0 && row < count) {
            if (window->RowShown(row)) {
                for (; position < static_cast<int>(columns.size()); ++position) {
                    const int column = columns[static_cast<std::size_t>(position)];
                    if (Occurrence(list->GetItemText(row, column), text, matchCase) < 0)
                        continue;
                    found = true;
                    foundRow = row;
                    foundColumn = column;
                    if (position + 1 < static_cast<int>(columns.size())) {
                        ++position;
                    } else {
                        row += down ? 1 : -1;
                        position = 0;
                    }
                    if (moveAway && moveAway->screen())
                        moveAway->move(moveAway->screen()->availableGeometry().topLeft());
                    list->setFocus();
                    list->clearSelection();
                    list->SetItemState(foundRow, CListCtrlEx::StateSelected | CListCtrlEx::StateFocused,
                                       CListCtrlEx::StateSelected | CListCtrlEx::StateFocused);
                    list->EnsureVisible(foundRow);
                    return true;
                }
            }
            row += down ? 1 : -1;
            position = 0;
            continue;
        }
        // A whole round found nothing: asking again would only go round.
        if (wrapped || count == 0) {
            RkMessageBox(MessageString(MsgTextNotFound), 0x0030, -1, moveAway ? moveAway : window, nullptr,
                         -1);
            Restart();
            return false;
        }
        const int answer = RkMessageBox(MessageString(down ? MsgEndOfList : MsgBeginningOfList),
                                        kYesNoQuestion, -1, moveAway ? moveAway : window, nullptr, -1);
        if (answer != CRkMessageBox::IdYes)
            return false;
        wrapped = true;
        Restart();
    }
}

bool ListSearch::ReplaceInCell(int cellRow, int column, const QString& replacement)
{
    if (!window || column < 1)
        return false;
    const QString cell = window->List()->GetItemText(cellRow, column);
    const int at = Occurrence(cell, text, matchCase);
    if (at < 0)
        return false;
    const QString replaced = cell.left(at) + replacement + cell.mid(at + text.size());
    return window->StoreReplacedCell(cellRow, column, replaced);
}

int ListSearch::ReplaceAll(const QString& replacement, int* cells)
{
    if (cells)
        *cells = 0;
    if (!window || text.isEmpty())
        return 0;
    int occurrences = 0;
    const int count = window->List()->GetItemCount();
    const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int r = 0; r < count; ++r) {
        if (!window->RowShown(r))
            continue;
        for (int column : columns) {
            if (column < 1)
                continue;
            QString cell = window->List()->GetItemText(r, column);
            int replaced = 0;
            // From the left, past what was put in: a replacement holding the
            // text is not replaced again.
            for (qsizetype at = cell.indexOf(text, 0, sensitivity); at >= 0;
                 at = cell.indexOf(text, at + replacement.size(), sensitivity)) {
                cell.replace(at, text.size(), replacement);
                ++replaced;
            }
            if (replaced > 0 && window->StoreReplacedCell(r, column, cell)) {
                occurrences += replaced;
                if (cells)
                    ++*cells;
            }
        }
    }
    return occurrences;
}

void AddToHistory(QComboBox* box, const QString& text, bool withPrefix)
{
    if (text.isEmpty())
        return;
    int existing = box->findText(text, Qt::MatchFixedString);
    if (existing < 0 && withPrefix)
        existing = box->findText(text, Qt::MatchStartsWith);
    if (existing >= 0)
        box->removeItem(existing);
    else if (box->count() >= kHistorySize)
        box->removeItem(box->count() - 1);
    box->insertItem(0, text);
    box->setCurrentIndex(0);
}

std::vector<std::string> HistoryEntries(const QComboBox* box)
{
    std::vector<std::string> entries;
    for (int i = 0; i < box->count(); ++i)
        entries.push_back(box->itemText(i).toStdString());
    return entries;
}
