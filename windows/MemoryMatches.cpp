#include "windows/MemoryMatches.h"

#include "dictionary/CTrelvarDoc.h"
#include "exchange/TranslationExchange.h"
#include "memory/MatchScore.h"
#include "memory/MemorySources.h"
#include "memory/TranslationMemory.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <iostream>
#include <set>

namespace {

constexpr int kShown = 5;

// The original of a match with the words the selected text lacks in
// brackets.
QString Marked(const std::string& selected, const std::string& match)
{
    const std::vector<std::string> words = IndexWords(selected);
    const std::set<std::string> known(words.begin(), words.end());
    QString shown;
    std::string word;
    std::string raw;
    const auto flush = [&] {
        if (raw.empty())
            return;
        const std::vector<std::string> indexed = IndexWords(raw);
        const bool differs = !indexed.empty() && known.count(indexed.front()) == 0;
        const QString text = QString::fromStdString(raw);
        shown += differs ? QStringLiteral("[%1]").arg(text) : text;
        raw.clear();
    };
    for (const char c : match) {
        if (c == ' ') {
            flush();
            shown += ' ';
        } else {
            raw += c;
        }
    }
    flush();
    return shown;
}

} // namespace

MemoryMatches::MemoryMatches(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("memoryMatches"));
    m_pool.setMaxThreadCount(1);
    m_exactPool.setMaxThreadCount(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("memoryList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Match"), tr("Translation"), tr("Original"), tr("From")});
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 110);
    m_list->setColumnWidth(1, 220);
    m_list->setColumnWidth(2, 220);
    m_list->setMaximumHeight(130);
    m_list->setToolTip(tr("Translation memory: Ctrl+1 ... Ctrl+5 or a double-click takes a match; in the "
                          "list above, untranslated originals in green have an exact match"));
    layout->addWidget(m_list);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { emit matchChosen(item->text(1)); });
    for (int n = 0; n < kShown; ++n) {
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + n)), parent);
        key->setContext(Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, this, [this, n] {
            const QString translation = MatchTranslation(n);
            if (!translation.isEmpty())
                emit matchChosen(translation);
        });
    }
}

MemoryMatches::~MemoryMatches()
{
    m_exactPool.clear();
    m_pool.waitForDone();
    m_exactPool.waitForDone();
}

void MemoryMatches::Clear()
{
    ++m_generation;
    m_list->clear();
}

void MemoryMatches::WaitForLookup()
{
    m_pool.waitForDone();
    m_exactPool.waitForDone();
}

void MemoryMatches::FindExact(const CTrelvarDoc& doc, std::vector<std::string> originals,
                              std::function<void(const std::vector<bool>&)> done)
{
    const int generation = ++m_exactGeneration;
    // In UTF-8, as the memory keeps them; one that cannot be is unknown.
    std::vector<std::string> texts(originals.size());
    for (std::size_t i = 0; i < originals.size(); ++i) {
        if (!TextToExchange(doc.OriginalsCodePage(), originals[i], texts[i]))
            texts[i].clear();
    }
    const std::string language = TranslationLanguage(doc);
    m_exactPool.clear();
    m_exactPool.start([this, generation, texts = std::move(texts), language, done = std::move(done)] {
        // A connection of its own, so that the lookups of the selected text
        // go on beside it; opened once.
        if (!m_exactMemory) {
            std::string error;
            m_exactMemory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
            if (!m_exactMemory)
                return;
        }
        const std::vector<bool> known = m_exactMemory->ExactlyKnown(texts, language);
        QMetaObject::invokeMethod(
            this,
            [this, generation, known, done] {
                if (generation == m_exactGeneration)
                    done(known);
            },
            Qt::QueuedConnection);
    });
}

QString MemoryMatches::MatchTranslation(int n) const
{
    const QTreeWidgetItem* item = m_list->topLevelItem(n);
    return item ? item->text(1) : QString();
}

void MemoryMatches::Lookup(const CTrelvarDoc& doc, const std::string& original)
{
    const int generation = ++m_generation;
    std::string text;
    if (original.empty() || !TextToExchange(doc.OriginalsCodePage(), original, text)) {
        m_list->clear();
        return;
    }
    const std::string language = TranslationLanguage(doc);
    if (!m_memoryTried) {
        m_memoryTried = true;
        std::string error;
        m_memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
        if (!m_memory)
            m_list->setToolTip(QString::fromStdString(error));
    }
    if (!m_memory)
        return;
    // Only the newest lookup waits: older ones have nothing to show.
    m_pool.clear();
    std::shared_ptr<TranslationMemory> memory = m_memory;
    m_pool.start([this, memory, generation, text, language] {
        const std::vector<MemoryMatch> matches = memory->Find(text, kShown, 50, language);
        QMetaObject::invokeMethod(
            this, [this, generation, text, matches] { Show(generation, text, matches); },
            Qt::QueuedConnection);
    });
}

void MemoryMatches::Show(int generation, const std::string& text, const std::vector<MemoryMatch>& matches)
{
    if (generation != m_generation)
        return;
    m_list->clear();
    int n = 0;
    for (const MemoryMatch& match : matches) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, QStringLiteral("Ctrl+%1  %2%").arg(++n).arg(match.score));
        item->setText(1, QString::fromStdString(match.translation));
        item->setText(2, Marked(text, match.original));
        QString from = QString::fromStdString(match.source).section('/', -1);
        if (!match.context.empty())
            from += QStringLiteral(" (%1)").arg(QString::fromStdString(match.context));
        item->setText(3, from);
        item->setToolTip(3, QString::fromStdString(match.source));
    }
}

void RememberInBackground(const CTrelvarDoc& doc)
{
    auto units = std::make_shared<std::vector<MemoryUnit>>(UnitsOfDictionary(doc));
    const std::string source = doc.PathName();
    QThreadPool::globalInstance()->start([units, source] {
        std::string error;
        const auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
        if (!memory || !memory->ReplaceSource(source, *units, error))
            std::cerr << "The translation memory was not updated: " << error << '\n';
    });
}
