#pragma once

#include <QString>

#include <memory>
#include <string>
#include <vector>

class CListCtrlEx;
class FileList;

/// The rows of a list of scripts with their destinations: "Source" and
/// "Destination" columns of the given width, each row owning its pair,
/// sorted by source without regard to case.
class ScriptPairRows
{
public:
    struct Pair
    {
        std::string source;
        std::string destination;
        QString shownSource;
    };

    ScriptPairRows(CListCtrlEx* list, int columnWidth);
    ~ScriptPairRows();

    /// Every script of the list of files, sorted.
    void Fill(const FileList* files);
    void Append(const std::string& source, const std::string& destination);
    void Sort();
    /// The pair of a row; null for a row out of range.
    const Pair* At(int row) const;
    void Remove(int row);

private:
    static int Compare(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue);

    CListCtrlEx* m_list;
    std::vector<std::unique_ptr<Pair>> m_pairs;
};
