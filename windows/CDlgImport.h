#pragma once

#include "tessary/CRkCoolDlg.h"

#include <string>
#include <vector>

class CTrelvarDoc;
enum class ExchangeFormat;
class MessageReporter;
class QLineEdit;

/// Takes translations from another dictionary or a text file for the texts
/// of the open dictionary that have none yet; existing translations are
/// never replaced. A PO or XLIFF file brings every translation, access key
/// and text-not-to-translate mark it has for the dictionary's texts.
class CDlgImport : public CRkCoolDlg
{
    Q_OBJECT
public:
    CDlgImport(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent);

    QLineEdit* FileEdit() const { return m_file; }
    /// How many translations the last OK brought in.
    int Imported() const { return m_imported; }
    /// What the last import from a translation tool's file left out.
    const std::vector<std::string>& Problems() const { return m_problems; }
    void OnBrowse();
    /// Imports the file named in the edit and closes; a file that cannot be
    /// imported leaves the dialog open after its message, the dictionary
    /// untouched.
    void OnOK();

private:
    void ImportExchange(const QString& path, ExchangeFormat format);

    CTrelvarDoc* m_document;
    MessageReporter* m_reporter;
    QLineEdit* m_file;
    int m_imported = 0;
    std::vector<std::string> m_problems;
};
