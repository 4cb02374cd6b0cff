#pragma once

#include "windows/CDlgDictionaryBase.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

class QLineEdit;
class QPushButton;

/// The "Dictionary" window: every text of the general dictionary with its
/// translation. Translations are edited in the list (Modify, Clear) and
/// written into the dictionary only by OK; Cancel drops them.
class CDlgGeneralDictionary : public CDlgDictionaryBase
{
    Q_OBJECT
public:
    /// refreshTimer: the main frame's timer 1, started after OK wrote the list.
    CDlgGeneralDictionary(QWidget* parent, CTrelvarDoc* document, std::function<void()> refreshTimer);
    ~CDlgGeneralDictionary() override;

    /// Shows the window (filled, at its remembered place), or hides it.
    void ShowOrHide();
    void ShowWindow();
    /// Rebuilds the list when the general texts changed since it was built;
    /// the title always gets the current count.
    void Refill();
    void OnModify();
    void OnClear();
    /// Writes every row into the dictionary (a translation typed and not
    /// applied yet included) and hides the window. The refresh timer is not
    /// started when it is suppressed.
    void OnOK(bool startTimer = true);
    /// Cancel, Escape and the close box: when rows were changed, asks
    /// whether to keep them (Yes writes them as OK does, No drops them,
    /// Cancel goes back to the window).
    void OnCancel();
    /// Whether rows were changed (or a translation typed) since the list
    /// was built or written.
    bool HasChanges() const;
    /// Drops the list's changes and hides the window.
    void Discard();
    std::string SelectedOriginal() const override;
    bool StoreReplacedCell(int row, int column, const QString& text) override;
    QLineEdit* OriginalEdit() const { return m_originalEdit; }
    QLineEdit* TranslationEdit() const { return m_translationEdit; }
    QPushButton* ModifyButton() const { return m_modify; }
    QPushButton* ClearButton() const { return m_clear; }
    bool Edited() const { return m_edited; }

signals:
    /// The window was hidden (by OK, Cancel or the Dictionary command).
    void hidden();

protected:
    void ApplyFonts() override;
    bool RowTranslated(int row) const override;
    std::string RowOriginal(int row) const override;
    void ApplyPendingEdit() override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    std::vector<QLineEdit*> TranslationFields() const override { return {m_translationEdit}; }
    void ShowRow(int row) override;
    bool HasPendingEdit() const override;
    void RevertEdits(int row) override;
    void AcceptEdits() override { OnOK(); }
    void FilterApplied() override;

private:
    struct Row
    {
        std::string original;
        std::string translation;
        QString originalKey; // as shown
        QString translationKey;
        // For sorting: the keys in lower case when they are ASCII (most are,
        // and short ones need no allocation), made once; the translation's
        // when it is first sorted on.
        std::string_view originalFolded; // in m_foldedOriginals
        bool originalAscii = false;
        mutable std::string translationFolded;
        mutable bool translationAscii = false;
        mutable bool translationFoldedMade = false;
        void SetTranslationKey(QString key)
        {
            translationKey = std::move(key);
            translationFoldedMade = false;
        }
    };
    static int CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue);
    /// Makes the sort keys of the originals.
    void FoldOriginals();
    /// Puts the translation edit into the row; false when it cannot be
    /// written in the dictionary's code page (reported).
    bool WriteRow(int row);
    /// The translations of rows changed in the list and not written yet.
    std::unordered_map<std::string, std::string> TypedTranslations();
    void SavePosition() const;
    void UpdateTitle();

    std::function<void()> m_refreshTimer;
    std::deque<Row> m_rows;
    // The lower-case forms of the ASCII originals, one after the other.
    std::string m_foldedOriginals;
    QString m_baseTitle;
    QLineEdit* m_translationEdit;
    bool m_rebuildRequested = false;
    bool m_edited = false;
    bool m_rowsChanged = false; // Modify or Clear since the list was built or written
};
