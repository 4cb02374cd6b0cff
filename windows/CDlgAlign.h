#pragma once

#include "tessary/CRkCoolDlg.h"

class AlignPanel;
class CTrelvarDoc;
class MessageReporter;

/// Resource > Align with a translated script: the alignment's fields, its
/// summary and what could not be paired stay on screen until Close.
class CDlgAlign : public CRkCoolDlg
{
    Q_OBJECT
public:
    CDlgAlign(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent);

    AlignPanel* Panel() const { return m_panel; }

private:
    AlignPanel* m_panel;
};
