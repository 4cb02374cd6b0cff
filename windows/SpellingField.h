#pragma once

#include <QList>
#include <QObject>
#include <QPair>

#include <memory>
#include <string>

class QLineEdit;
class QMenu;
class QPoint;
class WordSpeller;

/// The speller of a language ("fr_FR"), made once and shared by every
/// field; null when the language is empty or has no dictionary here.
std::shared_ptr<WordSpeller> SharedSpeller(const std::string& language);

/// Spelling in a line edit as a translator types: misspelt words are
/// underlined with a wavy red line, and the context menu offers the
/// speller's suggestions for the word under the mouse and adds it to the
/// user's own word list. Access-key marks, escapes and placeholders are no
/// words. Without a speller the field is as it was.
class SpellingField : public QObject
{
    Q_OBJECT
public:
    SpellingField(QLineEdit* field, std::shared_ptr<WordSpeller> speller);
    void SetSpeller(std::shared_ptr<WordSpeller> speller);

    /// The misspelt words of the field's text, as (position, length).
    const QList<QPair<int, int>>& Misspelt() const { return m_misspelt; }
    /// The field's context menu for a place of its text: the suggestions
    /// for the misspelt word there and "Add to word list" first.
    QMenu* ContextMenuAt(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Check();

    QLineEdit* m_field;
    std::shared_ptr<WordSpeller> m_speller;
    QList<QPair<int, int>> m_misspelt;
    // An input method is composing (a preedit text shows): the underline
    // waits, for drawing it would end the composition.
    bool m_composing = false;
    bool m_drawing = false;
};
