#pragma once

#include "exchange/TranslationCheck.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTreeWidget;

/// The findings of the checks of translations, one row each (file, line,
/// resource, kind, message); a double click or Enter on a row asks the frame
/// to show its resource and text. Modeless; "Check again" runs the checks
/// anew.
class CDlgCheckResults : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgCheckResults(QWidget* parent);

    void SetFindings(std::vector<CheckFinding> findings);
    const std::vector<CheckFinding>& Findings() const { return m_findings; }
    QTreeWidget* List() const { return m_list; }

protected:
    /// Remembers the window's size for the next session.
    void hideEvent(QHideEvent* event) override;

signals:
    void gotoRequested(const CheckFinding& finding);
    void checkAgainRequested();

private:
    void Activate();

    QTreeWidget* m_list;
    QLabel* m_summary;
    std::vector<CheckFinding> m_findings;
};
