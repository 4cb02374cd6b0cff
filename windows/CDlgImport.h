#pragma once

#include "tessary/CRkCoolDlg.h"

class CTrelvarDoc;
class MessageReporter;
class QLineEdit;

/// Takes translations from another dictionary or a text file for the texts
/// of the open dictionary that have none yet; existing translations are
/// never replaced.
class CDlgImport : public CRkCoolDlg
{
    Q_OBJECT
public:
    CDlgImport(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent);

    QLineEdit* FileEdit() const { return m_file; }
    /// How many translations the last OK brought in.
    int Imported() const { return m_imported; }
    void OnBrowse();
    /// Imports the file named in the edit and closes; a file that cannot be
    /// imported leaves the dialog open after its message, the dictionary
    /// untouched.
    void OnOK();

private:
    CTrelvarDoc* m_document;
    MessageReporter* m_reporter;
    QLineEdit* m_file;
    int m_imported = 0;
};
