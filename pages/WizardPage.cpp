#include "pages/WizardPage.h"

#include "pages/CSheetWizard.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"

#include <QLineEdit>
#include <QPushButton>

WizardPage::WizardPage(int bit, const QString& caption, const QString& id, QWidget* parent)
    : CRkCoolPage(parent), m_bit(bit)
{
    setObjectName(id);
    setTitle(caption);
}

int WizardPage::nextId() const
{
    // Pages are numbered by their bit; the next one is the next bit of the set.
    const CSheetWizard* sheet = Sheet();
    if (!sheet)
        return -1;
    for (int bit = m_bit << 1; bit <= CSheetWizard::PageAlign; bit <<= 1) {
        if (sheet->HasPage(bit))
            return bit;
    }
    return -1;
}

CSheetWizard* WizardPage::Sheet() const
{
    return qobject_cast<CSheetWizard*>(wizard());
}

CListCtrlEx* WizardPage::NewList(const char* id, bool singleSelection)
{
    auto* list = new CListCtrlEx(this);
    list->setObjectName(QString::fromLatin1(id));
    list->SetFullRowSel(true);
    list->SetSingleSelection(singleSelection);
    if (AppSettings().Get(Settings::Flag::ShowTexture))
        list->SetBackGroundImage(QStringLiteral("BACKGROUND_YELLOW"));
    return list;
}

QPushButton* WizardPage::NewButton(QWidget* parent, const QString& text, const char* id)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* WizardPage::NewEdit(QWidget* parent, const char* id, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    edit->setMaxLength(maxLength);
    return edit;
}

void WizardPage::Refuse(int messageId, QWidget* focus, const std::vector<std::string>& arguments)
{
    MessageBoxReporter(this).Report(messageId, arguments.empty() ? std::vector<std::string>{{}} : arguments);
    if (focus)
        focus->setFocus();
}

void WizardPage::Passed()
{
    if (CSheetWizard* sheet = Sheet())
        sheet->MarkPassed();
}
