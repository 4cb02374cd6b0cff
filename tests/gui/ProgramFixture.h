#pragma once

// A program started in a test, the way a user starts it.
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CTrelvarApp.h"
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "dictionary/GeneralDictionary.h"
#include "preview/CDlgPreviewTabs.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/ModalAnswers.h"
#include "views/CResTreeCtrl.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QTabBar>
#include <QTest>

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 5000)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition())
            return true;
        QTest::qWait(20);
    }
    return condition();
}

// A program started with its own settings file; the sample lies beside
// the test program, as it lies beside the real one.
class Program
{
public:
    explicit Program(const std::string& settings, const QStringList& extra = {})
    {
        m_saved = qgetenv("LINGOREL_SETTINGS");
        qputenv("LINGOREL_SETTINGS", QByteArray::fromStdString(settings));
        app.InitInstance(QStringList{QStringLiteral("lorvo")} + extra);
        frame()->resize(1100, 760);
        frame()->show();
        WaitUntil([this] { return frame()->PreviewTabs() != nullptr; });
        QTest::qWait(150); // timer 4 and the first preview
    }
    ~Program()
    {
        if (app.MainFrame())
            app.MainFrame()->close();
        qputenv("LINGOREL_SETTINGS", m_saved);
    }
    CMainFrame* frame() const { return app.MainFrame(); }
    CResTreeCtrl* tree() const { return frame()->Tree(); }
    QTreeWidgetItem* Item(const QStringList& path) const
    {
        QTreeWidgetItem* item = nullptr;
        for (const QString& text : path) {
            QTreeWidgetItem* found = nullptr;
            const int n = item ? item->childCount() : tree()->topLevelItemCount();
            for (int i = 0; i < n; ++i) {
                QTreeWidgetItem* child = item ? item->child(i) : tree()->topLevelItem(i);
                if (child->text(0) == text)
                    found = child;
            }
            if (!found)
                return nullptr;
            item = found;
        }
        return item;
    }
    void Select(const QStringList& path) const
    {
        QTreeWidgetItem* item = Item(path);
        ASSERT_NE(item, nullptr) << path.join('/').toStdString();
        tree()->setCurrentItem(item);
        QApplication::processEvents();
    }
    void Tab(int tab) const
    {
        frame()->PreviewTabs()->TabBar()->setCurrentIndex(tab);
        QApplication::processEvents();
    }

    CTrelvarApp app;

private:
    QByteArray m_saved;
};

inline QStringList Texts(QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

// A copy of the sample dictionary that the test may change and save.
inline std::string CopySample(const TempDir& dir)
{
    const std::filesystem::path bin =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    for (const char* name : {"sample.dic", "sample.ent", "sample.fil", "sample.nir"})
        std::filesystem::copy_file(bin / name, dir.Path() / name);
    return dir.File("sample.dic");
}

// The first row of a list whose first column shows the text; -1 if none.
inline int RowOf(CListCtrlEx* list, const QString& original)
{
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemText(row, 0) == original)
            return row;
    }
    return -1;
}

// Selects a row as a click does.
inline void SelectRow(CListCtrlEx* list, int row)
{
    list->clearSelection();
    list->SetItemState(row, CListCtrlEx::StateSelected | CListCtrlEx::StateFocused,
                       CListCtrlEx::StateSelected | CListCtrlEx::StateFocused);
    QApplication::processEvents();
}

// A test on a program started with a copy of the sample dictionary.
class SampleProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModalAnswers::Clear();
        // A translation memory of the test's own.
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.File("data")));
        dic = CopySample(dir);
        program = std::make_unique<Program>(dir.File("lorvo.ini"), QStringList{QString::fromStdString(dic)});
    }
    CMainFrame* Frame() const { return program->frame(); }
    CTrelvarDoc& Doc() const { return program->frame()->Documents()->Doc(); }
    std::string Translation(const std::string& original) const
    {
        std::string t;
        Doc().General()->GetTranslation(original, t);
        return t;
    }
    // The "Dictionary" window, shown by its command and active.
    CDlgGeneralDictionary* ShowDictionary() const
    {
        program->frame()->Action(Cmd::Dictionary)->trigger();
        QApplication::processEvents();
        CDlgGeneralDictionary* window = program->frame()->DictionaryWindow();
        window->activateWindow();
        QApplication::processEvents();
        return window;
    }

    // The "Texts of this resource" window of a resource, as the Texts tab
    // shows it (null when it does not come).
    CDlgEntityDictionary* ShowTexts(const QStringList& resource) const
    {
        program->Select(resource);
        program->Tab(CDlgPreviewTabs::TabTexts);
        return program->frame()->TextsWindow();
    }

    TempDir dir;
    std::string dic;
    std::unique_ptr<Program> program;
};
