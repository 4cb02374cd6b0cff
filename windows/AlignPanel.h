#pragma once

#include <QWidget>

class CTrelvarDoc;
class MessageReporter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

/// The fields of an alignment, shared by the Align dialog and the wizard's
/// page: the original script (one of the dictionary's, or another that is
/// inserted and extracted first), the copy a translator made of it, whether
/// existing translations are replaced; after Align, the summary and, one
/// row each, what could not be paired.
class AlignPanel : public QWidget
{
    Q_OBJECT
public:
    AlignPanel(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent);

    QComboBox* OriginalBox() const { return m_original; }
    QLineEdit* TranslatedEdit() const { return m_translated; }
    QCheckBox* ReplaceBox() const { return m_replace; }
    QListWidget* ProblemList() const { return m_problems; }
    QLabel* SummaryLabel() const { return m_summary; }
    QPushButton* AlignButton() const { return m_align; }
    /// Offers the dictionary's scripts as originals (the last one first).
    void FillOriginals();
    /// Whether an alignment changed the dictionary.
    bool Changed() const { return m_changed; }
    /// Aligns the two named scripts; false when nothing could be done.
    bool Align();

signals:
    void aligned();

private:
    void Browse(bool original);

    CTrelvarDoc* m_document;
    MessageReporter* m_reporter;
    QComboBox* m_original;
    QLineEdit* m_translated;
    QCheckBox* m_replace;
    QLabel* m_summary;
    QListWidget* m_problems;
    QPushButton* m_align;
    bool m_changed = false;
};
