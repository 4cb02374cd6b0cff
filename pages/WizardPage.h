#pragma once

#include "tessary/CRkCoolPage.h"

#include <string>

class CListCtrlEx;
class CSheetWizard;
class QBoxLayout;
class QLineEdit;
class QPushButton;

/// What the wizard's pages share: their place in the sheet, the help
/// banner, lists in the wizard's look and the refusal messages.
class WizardPage : public CRkCoolPage
{
    Q_OBJECT
public:
    /// bit: the page's bit in the page sets, also its id in the wizard.
    WizardPage(int bit, const QString& caption, const QString& id, QWidget* parent = nullptr);
    int Bit() const { return m_bit; }

    /// The page became the current one.
    virtual void OnSetActive() {}
    /// The wizard's page id following this one, by the sheet's page set.
    int nextId() const override;
    void initializePage() override {}
    void cleanupPage() override {}

protected:
    CSheetWizard* Sheet() const;
    /// A list with full-row selection and, while textures are on, the
    /// yellow texture behind its rows.
    CListCtrlEx* NewList(const char* id, bool singleSelection);
    static QPushButton* NewButton(QWidget* parent, const QString& text, const char* id);
    static QLineEdit* NewEdit(QWidget* parent, const char* id, int maxLength);
    /// Shows a message of the core's table (with the path it names, if
    /// any), then puts the focus on the field at fault.
    void Refuse(int messageId, QWidget* focus = nullptr, const std::vector<std::string>& arguments = {});
    /// The page moved on (Next or Finish).
    void Passed();

private:
    int m_bit;
};
