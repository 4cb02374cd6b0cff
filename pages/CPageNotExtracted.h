#pragma once

#include "pages/WizardPage.h"

#include <memory>
#include <string>
#include <vector>

class CListCtrlEx;
class QPushButton;

/// The dialogs and menus kept out of extraction. Those selected when the
/// user moves on are extracted again.
class CPageNotExtracted : public WizardPage
{
    Q_OBJECT
public:
    explicit CPageNotExtracted(QWidget* parent = nullptr);
    ~CPageNotExtracted() override;

    void OnSetActive() override;
    /// Next: takes the selected resources off the list and hands their
    /// scripts to the Extract page.
    bool validatePage() override;

    void OnSelectAll();
    /// Adds the resources of another ".nir" file.
    void Import(const QString& path);

    CListCtrlEx* List() const { return m_list; }
    QPushButton* SelectAllButton() const { return m_selectAll; }

private:
    struct Record
    {
        std::string key;
        std::string file;
        std::string resource;
        QString type;
    };
    static int CompareRows(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue);
    void Fill();

    CListCtrlEx* m_list;
    QPushButton* m_selectAll;
    std::vector<std::unique_ptr<Record>> m_records;
};
