#include "windows/SpellingField.h"

#include "exchange/Spelling.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTextCharFormat>

#include <map>
#include <mutex>

std::shared_ptr<WordSpeller> SharedSpeller(const std::string& language)
{
    if (language.empty())
        return nullptr;
    static std::mutex lock;
    static std::map<std::string, std::shared_ptr<WordSpeller>> spellers;
    const std::lock_guard<std::mutex> guard(lock);
    auto found = spellers.find(language);
    if (found == spellers.end()) {
        std::string error;
        found = spellers.emplace(language, std::shared_ptr<WordSpeller>(OpenHunspell(language, error))).first;
    }
    return found->second;
}

SpellingField::SpellingField(QLineEdit* field, std::shared_ptr<WordSpeller> speller)
    : QObject(field), m_field(field), m_speller(std::move(speller))
{
    field->installEventFilter(this);
    connect(field, &QLineEdit::textChanged, this, [this] { Check(); });
    Check();
}

void SpellingField::SetSpeller(std::shared_ptr<WordSpeller> speller)
{
    m_speller = std::move(speller);
    Check();
}

void SpellingField::Check()
{
    m_misspelt.clear();
    if (m_speller) {
        const QString text = m_field->text();
        const QByteArray utf8 = text.toUtf8();
        for (const auto& [at, word] : SpellingWords(std::string_view(utf8.constData(), utf8.size()))) {
            if (m_speller->Correct(word))
                continue;
            // The word's letters in the text, an access-key mark among them.
            std::size_t end = at;
            for (std::size_t matched = 0;
                 end < static_cast<std::size_t>(utf8.size()) && matched < word.size(); ++end) {
                if (utf8[static_cast<qsizetype>(end)] != '&')
                    ++matched;
            }
            const int start = QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(at)).size();
            const int length =
                QString::fromUtf8(utf8.constData() + at, static_cast<qsizetype>(end - at)).size();
            m_misspelt.append({start, length});
        }
    }
    if (m_composing)
        return;
    // A line edit draws formats given as those of an input method's text;
    // their places count from the cursor.
    QList<QInputMethodEvent::Attribute> formats;
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    wavy.setUnderlineColor(Qt::red);
    for (const auto& [start, length] : m_misspelt)
        formats.append({QInputMethodEvent::TextFormat, start - m_field->cursorPosition(), length, wavy});
    QInputMethodEvent event(QString(), formats);
    m_drawing = true;
    QCoreApplication::sendEvent(m_field, &event);
    m_drawing = false;
}

QMenu* SpellingField::ContextMenuAt(int position)
{
    QMenu* menu = m_field->createStandardContextMenu();
    for (const auto& [start, length] : m_misspelt) {
        if (position < start || position > start + length)
            continue;
        const QString word = m_field->text().mid(start, length).remove(QLatin1Char('&'));
        QAction* first = menu->actions().value(0);
        const std::vector<std::string> suggestions = m_speller->Suggestions(word.toStdString());
        for (const std::string& suggestion : suggestions) {
            auto* use = new QAction(QString::fromStdString(suggestion), menu);
            connect(use, &QAction::triggered, m_field, [this, start = start, length = length, suggestion] {
                QString text = m_field->text();
                text.replace(start, length, QString::fromStdString(suggestion));
                m_field->setText(text);
                m_field->setCursorPosition(start +
                                           static_cast<int>(QString::fromStdString(suggestion).size()));
            });
            menu->insertAction(first, use);
        }
        if (suggestions.empty()) {
            auto* none = new QAction(tr("(no suggestion)"), menu);
            none->setEnabled(false);
            menu->insertAction(first, none);
        }
        auto* add = new QAction(tr("Add \"%1\" to the word list").arg(word), menu);
        add->setObjectName(QStringLiteral("addWord"));
        connect(add, &QAction::triggered, this, [this, word] {
            AddUserWord(word.toStdString());
            // The speller of this run learns it too.
            if (m_speller)
                m_speller->Add(word.toStdString());
            Check();
        });
        menu->insertAction(first, add);
        menu->insertSeparator(first);
        break;
    }
    return menu;
}

bool SpellingField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::InputMethod && !m_drawing) {
        // Seen before the field takes it: a commit that changes the text
        // while a new composition starts leaves the underline for later.
        m_composing = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
    }
    if (watched == m_field && event->type() == QEvent::ContextMenu && m_speller) {
        const auto* context = static_cast<QContextMenuEvent*>(event);
        QMenu* menu = ContextMenuAt(m_field->cursorPositionAt(context->pos()));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(context->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
