#pragma once

#include "windows/CDlgFindInResources.h"
#include "windows/ListSearch.h"

#include <QObject>
#include <QPointer>

class CDlgDictionaryBase;
class FrameServices;
class QComboBox;

/// The main frame's searches: Find and Replace over the list on screen,
/// the toolbar's find box with Find next and Find previous, and Find in
/// resources with its results window below the preview tabs.
class SearchCommands : public QObject
{
    Q_OBJECT
public:
    SearchCommands(FrameServices* frame, QComboBox* findBox);

    /// The list Find and Replace work on: the visible "Dictionary" window's,
    /// else the visible texts window's; none when neither is on screen.
    CDlgDictionaryBase* ListWindow() const;
    /// Find next and Find previous: a text in the box and a list on screen.
    bool CanFindNext() const;
    const ListSearch& LastSearch() const { return m_last; }

    void OnFind();
    void OnReplace();
    /// Find next (forward) or Find previous from the toolbar's box.
    void OnToolbarFind(bool forward);
    /// The Find in resources dialog, then the search.
    void OnFindInResources();
    /// Looks for the text in every resource and shows the results window.
    void FindInResources(const QString& text);

    /// The results window, made on first use.
    CDlgFindResults* Results();
    bool ResultsVisible() const;
    void ToggleResults();
    void ShowResults();
    /// The rows take the type colours of the settings again.
    void RefreshResultColours();
    /// Another dictionary: the results of the last one go.
    void ClearResults();
    /// Takes the user to the text of a result: its resource on the Texts
    /// tab, with the text selected.
    void GotoText(const CDlgFindResults::Record& record);

    /// The find box's history from the settings, and back.
    void FillFindBox();
    void SaveFindHistory();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Remember(const ListSearch& search);

    FrameServices* m_frame;
    QComboBox* m_findBox;
    QPointer<CDlgFindResults> m_results;
    ListSearch m_last;
    bool m_findForward = true;
};
