#pragma once

#include "pages/WizardPage.h"

class AlignPanel;

/// After the extraction of a new dictionary, when the user said its script
/// already has a copy translated by hand: the user names it and aligns, and
/// the dictionary starts with those translations.
class CPageAlign : public WizardPage
{
    Q_OBJECT
public:
    explicit CPageAlign(QWidget* parent = nullptr);

    void OnSetActive() override;
    /// Finish: aligns what the user named and did not align yet.
    bool validatePage() override;

    AlignPanel* Panel() const { return m_panel; }

private:
    AlignPanel* m_panel = nullptr;
    bool m_alignedSinceEdit = false;
};
