#include "windows/ScriptPairRows.h"

#include "dictionary/FileList.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoreFeedback.h"

#include <QCoreApplication>

#include <algorithm>

ScriptPairRows::ScriptPairRows(CListCtrlEx* list, int columnWidth) : m_list(list)
{
    m_list->InsertColumn(0, QCoreApplication::translate("ScriptPairRows", "Source"), CListCtrlEx::FormatLeft,
                         columnWidth);
    m_list->InsertColumn(1, QCoreApplication::translate("ScriptPairRows", "Destination"),
                         CListCtrlEx::FormatLeft, columnWidth);
    m_list->SetCompareProcForSorting(&ScriptPairRows::Compare);
}

ScriptPairRows::~ScriptPairRows() = default;

int ScriptPairRows::Compare(std::intptr_t a, std::intptr_t b, std::intptr_t)
{
    return QString::compare(reinterpret_cast<const Pair*>(a)->shownSource,
                            reinterpret_cast<const Pair*>(b)->shownSource, Qt::CaseInsensitive);
}

void ScriptPairRows::Fill(const FileList* files)
{
    if (files) {
        for (const auto& entry : files->Files())
            Append(entry.value.source, entry.value.destination);
    }
    Sort();
}

void ScriptPairRows::Append(const std::string& source, const std::string& destination)
{
    auto pair = std::make_unique<Pair>(Pair{source, destination, DisplayText(source)});
    const int row = m_list->InsertItem(m_list->GetItemCount(), pair->shownSource, -1,
                                       reinterpret_cast<std::intptr_t>(pair.get()));
    m_list->SetItemText(row, 1, DisplayText(destination));
    m_pairs.push_back(std::move(pair));
}

void ScriptPairRows::Sort()
{
    m_list->Sort(0, false);
}

const ScriptPairRows::Pair* ScriptPairRows::At(int row) const
{
    if (row < 0 || row >= m_list->GetItemCount())
        return nullptr;
    return reinterpret_cast<const Pair*>(m_list->GetItemData(row));
}

void ScriptPairRows::Remove(int row)
{
    const Pair* pair = At(row);
    if (!pair)
        return;
    m_list->DeleteItem(row);
    m_pairs.erase(
        std::find_if(m_pairs.begin(), m_pairs.end(), [pair](const auto& p) { return p.get() == pair; }));
}
