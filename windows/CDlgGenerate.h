#pragma once

#include "tessary/CRkCoolDlg.h"

#include <memory>

class CListCtrlEx;
class CTrelvarDoc;
class MessageReporter;
class QProgressBar;
class QPushButton;
class ScriptPairRows;

/// "Generate resource files": writes the translated copy of the chosen
/// scripts of the dictionary's list of files to their destinations.
class CDlgGenerate : public CRkCoolDlg
{
    Q_OBJECT
public:
    CDlgGenerate(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent = nullptr);
    ~CDlgGenerate() override;

    /// Generates the selected files in list order; each file written is
    /// deselected, a file that fails keeps its selection.
    void OnGenerate();
    void OnGenerateAll();

    CListCtrlEx* List() const { return m_list; }
    QPushButton* GenerateButton() const { return m_generate; }
    QPushButton* GenerateAllButton() const { return m_generateAll; }
    QProgressBar* AllFilesBar() const { return m_allFiles; }
    /// How many scripts were written while the dialog was open.
    int GeneratedCount() const { return static_cast<int>(m_generated); }
    QProgressBar* CurrentFileBar() const { return m_currentFile; }

private:
    CTrelvarDoc* m_document;
    MessageReporter* m_reporter;
    CListCtrlEx* m_list;
    std::unique_ptr<ScriptPairRows> m_rows;
    QPushButton* m_generate;
    QPushButton* m_generateAll;
    QProgressBar* m_allFiles;
    QProgressBar* m_currentFile;
    std::size_t m_generated = 0;
};
