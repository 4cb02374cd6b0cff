#pragma once

#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkCoolPage.h"

class CRkCoolTabCtrl;
class QPushButton;

/// A page of a property sheet: it reads its values when it is made and
/// writes them back when the sheet closes with OK.
class SheetPage : public CRkCoolPage
{
    Q_OBJECT
public:
    SheetPage(const QString& caption, const char* id, QWidget* parent = nullptr);

    /// OK: the page writes what it shows.
    virtual void OnApply() {}
    bool IsModified() const { return m_modified; }

protected:
    void SetModified() { m_modified = true; }
    static QPushButton* NewButton(QWidget* parent, const QString& text, const char* id);

private:
    bool m_modified = false;
};

/// A modal sheet of pages in the program's look: the styled tab control
/// with one icon per tab, OK and Cancel. OK lets every page write its
/// values; Cancel writes nothing.
class PropertySheet : public CRkCoolDlg
{
    Q_OBJECT
public:
    PropertySheet(const QString& caption, const char* id, QWidget* parent);

    void AddPage(SheetPage* page, const QString& icon);
    CRkCoolTabCtrl* Tabs() const { return m_tabs; }
    int PageCount() const;
    SheetPage* Page(int index) const;
    /// The page of that type, if the sheet holds one.
    template <class P>
    P* FindPage() const
    {
        for (int i = 0; i < PageCount(); ++i) {
            if (auto* page = qobject_cast<P*>(Page(i)))
                return page;
        }
        return nullptr;
    }

    void accept() override;

private:
    CRkCoolTabCtrl* m_tabs;
};
