#include "pages/CPageAlign.h"

#include "pages/CSheetWizard.h"
#include "tessary/CRkCoolDlg.h"
#include "windows/AlignPanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>

CPageAlign::CPageAlign(QWidget* parent)
    : WizardPage(CSheetWizard::PageAlign, tr("Existing translation"), QStringLiteral("align"), parent)
{
    auto* layout = new QVBoxLayout(this);
    CRkCoolDlg::AddHelpBanner(
        this, layout,
        {tr("If a translator already made a copy of the script in your language, name "
            "it: its texts become the dictionary's translations. Then click on Finish.")});
    auto* sheet = qobject_cast<CSheetWizard*>(parent);
    if (sheet) {
        m_panel = new AlignPanel(sheet->Document(), sheet->Reporter(), this);
        layout->addWidget(m_panel, 1);
        connect(m_panel, &AlignPanel::aligned, this, [this, sheet] {
            m_alignedSinceEdit = true;
            emit sheet->treeRebuildNeeded();
        });
        const auto edited = [this] { m_alignedSinceEdit = false; };
        connect(m_panel->TranslatedEdit(), &QLineEdit::textChanged, this, edited);
        connect(m_panel->OriginalBox(), &QComboBox::currentTextChanged, this, edited);
    }
    layout->addStretch();
}

void CPageAlign::OnSetActive()
{
    if (m_panel)
        m_panel->FillOriginals();
}

bool CPageAlign::validatePage()
{
    if (!m_panel || m_alignedSinceEdit) {
        Passed();
        return true;
    }
    // Finish aligns what was named; what could not be paired stays listed
    // for the user to read before the wizard closes.
    if (!m_panel->Align())
        return false;
    Passed();
    return true;
}
