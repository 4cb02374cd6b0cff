#pragma once

#include "pages/WizardPage.h"

#include <QStringList>

#include <map>
#include <memory>
#include <string>

class CListCtrlEx;
class ScriptPairRows;
class QLineEdit;
class QPushButton;

/// Adds resource scripts to the dictionary's list of files, each with the
/// file its translation is written to, and removes them.
class CPageInsert : public WizardPage
{
    Q_OBJECT
public:
    explicit CPageInsert(QWidget* parent = nullptr);
    ~CPageInsert() override;

    void OnSetActive() override;
    /// Next: hands the scripts added here to the Extract page.
    bool validatePage() override;

    void OnAdd();
    void OnDelete();
    /// The scripts chosen in the file dialog: one goes into the File field,
    /// several are added at once.
    void AddScripts(const QStringList& paths);

    CListCtrlEx* List() const { return m_list; }
    QLineEdit* FileEdit() const { return m_file; }
    QLineEdit* DestinationEdit() const { return m_destination; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* DeleteButton() const { return m_delete; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Changed();
    void OnSelectionChanged();

    CListCtrlEx* m_list;
    QLineEdit* m_file;
    QLineEdit* m_destination;
    QPushButton* m_add;
    QPushButton* m_delete;
    std::unique_ptr<ScriptPairRows> m_rows;
    std::map<std::string, std::string> m_added;
    int m_selected = -1;
    bool m_changed = false;
    bool m_filled = false;
};
