#pragma once

#include "pages/WizardPage.h"

#include <string>
#include <vector>

class CListCtrlEx;
class QCheckBox;
class QProgressBar;
class QPushButton;

/// Extracts the texts of the chosen scripts into the dictionary.
class CPageExtract : public WizardPage
{
    Q_OBJECT
public:
    explicit CPageExtract(QWidget* parent = nullptr);

    void OnSetActive() override;
    /// Finish: extracts the selected scripts.
    bool validatePage() override;
    /// The last page, unless the user says the script already has a
    /// translation (a new dictionary): the Align page then follows.
    int nextId() const override;
    QCheckBox* HasTranslationBox() const { return m_hasTranslation; }

    void OnSelectAll();
    bool Extracted() const { return m_extracted; }

    CListCtrlEx* List() const { return m_list; }
    QPushButton* SelectAllButton() const { return m_selectAll; }
    QProgressBar* AllFilesBar() const { return m_allFiles; }
    QProgressBar* CurrentFileBar() const { return m_currentFile; }

private:
    std::vector<std::string> m_sources; // by row
    CListCtrlEx* m_list;
    QPushButton* m_selectAll;
    QProgressBar* m_allFiles;
    QProgressBar* m_currentFile;
    QCheckBox* m_hasTranslation;
    bool m_extracted = false;
};
