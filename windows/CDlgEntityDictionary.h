#pragma once

#include "windows/CDlgDictionaryBase.h"

#include <cstdint>
#include <deque>
#include <string>

class QLabel;
class QLineEdit;
struct TextOccurrence;
class QPushButton;

/// The "Texts of this resource" window: the texts of the dialog, menu or
/// string table selected in the tree, with their general translation, their
/// translation in this resource and their shortcut letter. Every change is
/// written into the dictionaries at once.
class CDlgEntityDictionary : public CDlgDictionaryBase
{
    Q_OBJECT
public:
    CDlgEntityDictionary(QWidget* parent, CTrelvarDoc* document);
    ~CDlgEntityDictionary() override;

    /// The script (its section of the in-context dictionary) and the
    /// resource whose texts are listed.
    /// Both first store what was typed for the resource shown until now.
    void SetSourceFile(const std::string& source);
    void SetResourcePrefix(const std::string& prefix);
    const std::string& ResourcePrefix() const { return m_prefix; }
    void Fill();
    /// Empties the list (no resource).
    void ClearList();
    /// Selects the first row whose original, general or in-context text is
    /// the text.
    void SelectText(const std::string& text);
    /// Lays the window over the area of its parent (the preview tabs'
    /// area), at its remembered place when it is not to be centred, and
    /// keeps it there as the area changes size.
    void Place();

    void OnModify();
    void OnClear();
    void OnDeleteShortcuts();

    std::string SelectedOriginal() const override;
    bool StoreReplacedCell(int row, int column, const QString& text) override;
    QLineEdit* OriginalEdit() const { return m_originalEdit; }
    QLineEdit* DictionaryEdit() const { return m_dictionaryEdit; }
    QLineEdit* ContextEdit() const { return m_contextEdit; }
    QLineEdit* ShortcutEdit() const { return m_shortcutEdit; }
    QPushButton* ModifyButton() const { return m_modify; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* DeleteShortcutsButton() const { return m_deleteShortcuts; }
    /// What generation puts back around the selected row's translation.
    QLabel* DecorationHint() const { return m_decorationHint; }

protected:
    void ApplyFonts() override;
    bool RowTranslated(int row) const override;
    std::string RowOriginal(int row) const override;
    void ApplyPendingEdit() override;
    void reject() override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    std::vector<QLineEdit*> TranslationFields() const override
    {
        return {m_dictionaryEdit, m_contextEdit, m_shortcutEdit};
    }
    void ShowRow(int row) override;
    bool HasPendingEdit() const override;
    /// Ctrl+Enter keeps what was typed and closes the window.
    void AcceptEdits() override { reject(); }

private:
    struct Row
    {
        std::string textKey;
        std::string original;
        std::string general;
        // A text met several times in the resource whose occurrences have
        // access keys of their own has a row for each.
        std::size_t occurrence = 0;
        std::size_t occurrences = 1;
        QString keys[4]; // the shown columns, for sorting
        // The text as the script writes it (blanks, colon, ellipsis kept).
        std::string decorated;
    };
    static int CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue);
    void OnShortcutEdited(const QString& letter);
    /// Writes the edits into the row and into the dictionaries.
    bool StoreRow(int row);
    /// Writes the general and in-context translation and the shortcut
    /// letter into the row and into the dictionaries.
    bool StoreTexts(int row, const QString& generalText, const QString& contextText,
                    const QString& letterText);
    void SetRowTexts(int row, Row& data, const std::string& context, int shortcut);
    void SavePosition() const;
    /// The texts of the script shown, as it writes them (read again only
    /// when the script changed).
    const std::vector<TextOccurrence>& ScriptTexts();
    /// Says what generation adds around the row's translation.
    void ShowDecoration(int row);

    std::string m_source;
    std::string m_prefix;
    std::deque<Row> m_rows;
    QString m_baseTitle;
    QLineEdit* m_dictionaryEdit;
    QLineEdit* m_contextEdit;
    QLineEdit* m_shortcutEdit;
    QPushButton* m_deleteShortcuts;
    QLabel* m_decorationHint;
    std::vector<TextOccurrence> m_scriptTexts;
    std::string m_scriptTextsOf;
    std::uint64_t m_scriptTextsStamp = 0;
};
