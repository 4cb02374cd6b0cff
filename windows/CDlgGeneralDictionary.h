#pragma once

#include "windows/CDlgDictionaryBase.h"

#include <deque>
#include <functional>
#include <string>

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
    /// Writes every row into the dictionary and hides the window. The
    /// refresh timer is not started when it is suppressed.
    void OnOK(bool startTimer = true);
    void OnCancel();
    /// Sorts the rows by a column without regard to case.
    void SortByColumn(int column);

    std::string SelectedOriginal() const override;
    QLineEdit* OriginalEdit() const { return m_originalEdit; }
    QLineEdit* TranslationEdit() const { return m_translationEdit; }
    QPushButton* ModifyButton() const { return m_modify; }
    QPushButton* ClearButton() const { return m_clear; }
    bool Edited() const { return m_edited; }

protected:
    void ApplyFonts() override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Row
    {
        std::string original;
        std::string translation;
        QString originalKey; // as shown, for sorting
        QString translationKey;
    };
    static int CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue);
    void OnSelectionChanged();
    void SavePosition() const;
    void UpdateTitle();

    std::function<void()> m_refreshTimer;
    std::deque<Row> m_rows;
    QString m_baseTitle;
    QLineEdit* m_originalEdit;
    QLineEdit* m_translationEdit;
    QPushButton* m_modify;
    QPushButton* m_clear;
    int m_selected = -1;
    bool m_rebuildRequested = false;
    bool m_edited = false;
};
