#pragma once

#include "pages/WizardPage.h"

class QComboBox;
class QLineEdit;
class QPushButton;

/// First step of File > New: the dictionary's name and folder, and the
/// default folders of the scripts and of their translations.
class CPageNew : public WizardPage
{
    Q_OBJECT
public:
    explicit CPageNew(QWidget* parent = nullptr);

    void OnSetActive() override;
    /// Next: creates the dictionary the first time, later only stores the
    /// default folders. False keeps the page.
    bool validatePage() override;

    bool Created() const { return m_created; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* LocationEdit() const { return m_location; }
    QLineEdit* SourceEdit() const { return m_source; }
    QLineEdit* DestinationEdit() const { return m_destination; }
    QPushButton* LocationButton() const { return m_browseLocation; }
    /// 0: 8-bit (the default), 1: Unicode.
    QComboBox* EncodingBox() const { return m_encoding; }

private:
    void Browse(QLineEdit* field, const QString& title);

    QLineEdit* m_name;
    QLineEdit* m_location;
    QLineEdit* m_source;
    QLineEdit* m_destination;
    QPushButton* m_browseLocation;
    QComboBox* m_encoding;
    bool m_createMode = true;
    bool m_created = false;
};
