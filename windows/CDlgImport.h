#pragma once

#include "tessary/CRkCoolDlg.h"

#include <string>
#include <vector>

class CTrelvarDoc;
enum class ExchangeFormat;
class MessageReporter;
class QLabel;
class QLineEdit;
class QRadioButton;

/// Takes translations from another dictionary, a text file, a translation
/// memory (TMX) or a translator's PO or XLIFF file for the texts of the open
/// dictionary. The dialog says, before anything changes, whether existing
/// translations are kept or replaced: the file's kind proposes (PO and XLIFF
/// replace, the others keep), the user decides. A PO or XLIFF file also
/// brings access keys, resources' own translations and
/// text-not-to-translate marks.
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
    /// Translations of the dictionary the last import kept, and unsure
    /// (fuzzy) ones of the file it left out.
    int Kept() const { return m_kept; }
    int Unsure() const { return m_unsure; }
    /// Whether the import replaces existing translations (as shown).
    bool Replaces() const;
    void SetReplaces(bool replace);
    void OnBrowse();
    /// Imports the file named in the edit and closes; a file that cannot be
    /// imported leaves the dialog open after its message, the dictionary
    /// untouched.
    void OnOK();

private:
    void ImportExchange(const QString& path, ExchangeFormat format);
    /// The rule the kind of the named file proposes.
    void FollowFileKind();

    CTrelvarDoc* m_document;
    MessageReporter* m_reporter;
    QLineEdit* m_file;
    QRadioButton* m_keep;
    QRadioButton* m_replace;
    QLabel* m_rule;
    bool m_ruleChosen = false; ///< the user chose: the file's kind no longer decides
    int m_imported = 0;
    int m_kept = 0;
    int m_unsure = 0;
    std::vector<std::string> m_problems;
};
