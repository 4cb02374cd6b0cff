#pragma once

#include <QThreadPool>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CTrelvarDoc;
class QTreeWidget;
class TranslationMemory;
struct MemoryMatch;

/// The translation memory's best matches for the text selected in a
/// dictionary window: exact ones first, then close ones with their score,
/// where each came from, and the words of its original that differ from the
/// selected text in brackets. Lookups run on a thread of their own: a new
/// selection never waits for the memory, and what arrives for an older one
/// is dropped. Ctrl+1 ... Ctrl+5 or a double-click takes a match.
class MemoryMatches : public QWidget
{
    Q_OBJECT
public:
    explicit MemoryMatches(QWidget* parent);
    ~MemoryMatches() override;

    /// Looks up a text of the dictionary (in its originals' encoding).
    void Lookup(const CTrelvarDoc& doc, const std::string& original);
    void Clear();
    QTreeWidget* List() const { return m_list; }
    /// The translation of the n-th match shown (from 0); empty without one.
    QString MatchTranslation(int n) const;
    /// Waits for the lookup under way (tests).
    void WaitForLookup();
    /// Finds, on a thread of its own, which of the texts of the dictionary
    /// (in its originals' encoding) the memory knows exactly; done gets,
    /// on this thread, whether each is (nothing when the memory cannot be
    /// opened). A newer call makes an older one's answer go unheard.
    void FindExact(const CTrelvarDoc& doc, std::vector<std::string> originals,
                   std::function<void(const std::vector<bool>&)> done);

signals:
    /// The user took a match: its translation (UTF-8 text as a QString).
    void matchChosen(const QString& translation);

private:
    void Show(int generation, const std::string& text, const std::vector<MemoryMatch>& matches);

    QTreeWidget* m_list;
    QThreadPool m_pool;
    QThreadPool m_exactPool;
    // The exact pool's own connection, opened by its first look (only that
    // pool's one thread uses it).
    std::shared_ptr<TranslationMemory> m_exactMemory;
    int m_exactGeneration = 0;
    std::shared_ptr<TranslationMemory> m_memory;
    bool m_memoryTried = false;
    int m_generation = 0;
};

/// After a save: the memory learns what the dictionary holds, on a thread
/// of its own, from a copy taken now. A memory that cannot be written is
/// said on stderr and never stands in the way of the save.
void RememberInBackground(const CTrelvarDoc& doc);
