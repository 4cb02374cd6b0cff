#pragma once

#include "tessary/CRkCoolDlg.h"

#include <QFont>

#include <cstdint>
#include <string>
#include <vector>

class CListCtrlBookmark;
class MemoryMatches;
class CTrelvarDoc;
class QCheckBox;
class QLayout;
class QLineEdit;
class QMenu;
class QPushButton;

/// What the two dictionary windows share: their text list with alternating
/// row colours, bookmarks and the "Do not translate" mark, its context menu,
/// and the fonts of original texts and translations.
class CDlgDictionaryBase : public CRkCoolDlg
{
    Q_OBJECT
public:
    enum Command
    {
        CmdDoNotTranslate = 1044,
        CmdNextBookmark = 1085,
        CmdPreviousBookmark = 1086,
        CmdAddBookmark = 1087,
        CmdRemoveBookmark = 1088,
        CmdRemoveAllBookmarks = 1089,
        CmdFindInResources = 1064,
        CmdFind = 1091
    };

    CDlgDictionaryBase(QWidget* parent, CTrelvarDoc* document);

    CListCtrlBookmark* List() const { return m_list; }
    void SetDocument(CTrelvarDoc* document) { m_document = document; }
    CTrelvarDoc* Document() const { return m_document; }

    /// The fonts of original texts and translations; forLists: the list's
    /// columns use them too (the edits always do).
    void SetFonts(const QFont& original, const QFont& translation, bool forLists);
    /// Takes the textures and line colours of the settings again.
    void RefreshLook();
    /// Takes the dictionary's spelling language from the settings again:
    /// the translation fields underline the words its speller does not know.
    void RefreshSpelling();

    /// The selected row, or -1.
    int SelectedRow() const;
    /// The original text (bytes) of the selected row; empty without one.
    virtual std::string SelectedOriginal() const = 0;
    /// Toggles the selected text in the do-not-translate set.
    void OnDoNotTranslate();
    bool CanDoNotTranslate() const { return SelectedRow() >= 0 && !SelectedOriginal().empty(); }
    bool IsDoNotTranslate() const;

    /// The filter above the list: rows whose original or translations hold
    /// the text (in any case), and only the untranslated ones when asked.
    /// Filtering hides rows, never drops them: what OK or Modify writes
    /// covers every row, shown or not.
    QLineEdit* FilterEdit() const { return m_filterEdit; }
    QCheckBox* UntranslatedOnlyBox() const { return m_untranslatedOnly; }
    void ApplyFilter();
    bool RowShown(int row) const;
    int ShownRowCount() const;

    /// Keeps a cell text a Replace made as if it had been typed for the row:
    /// the "Dictionary" window in its row (written by OK), the texts window
    /// in the dictionaries at once. False when it cannot be kept.
    /// The edits of a selected row show the new text.
    virtual bool StoreReplacedCell(int row, int column, const QString& text) = 0;

    /// The translation memory's matches for the selected text.
    MemoryMatches* Matches() const { return m_matches; }
    /// The colour of an untranslated original the memory knows exactly.
    static constexpr std::uint32_t kExactMatchColour = 0x008000; // green
    /// How many untranslated rows the memory knows exactly (at the last look).
    int ExactRows() const { return m_exactRows; }
    /// Sorts the rows by a column without regard to case.
    void SortByColumn(int column);

signals:
    /// The window changed the dictionary.
    void documentChanged();
    /// The context menu's "Find..." and "Find in resources" (with the
    /// selected original text).
    void findRequested();
    void findInResourcesRequested(const std::string& original);

protected:
    /// A push button named by its command id that never becomes the default
    /// button, so Enter in an edit does not press it.
    QPushButton* NewButton(const QString& text, const char* id);
    /// The filter's line: its edit and check box, made once.
    QLayout* NewFilterBar();
    /// The memory's matches under the list, made once; a match the user
    /// takes goes to TakeMatch.
    QWidget* NewMatches();
    /// Looks up the selected text in the memory.
    void LookUpSelected();
    /// Puts the translation of a match into the first translation field.
    void TakeMatch(const QString& translation);
    /// The fields the selected row's translations are typed in, the one a
    /// match goes to first.
    virtual std::vector<QLineEdit*> TranslationFields() const = 0;
    /// Shows the texts of a row in the original and translation fields.
    virtual void ShowRow(int row) = 0;
    /// Whether the fields hold something the selected row does not.
    virtual bool HasPendingEdit() const = 0;
    /// Escape in a field with something typed: the row's texts again.
    virtual void RevertEdits(int row) { ShowRow(row); }
    /// Ctrl+Enter in a field: what OK or Close does.
    virtual void AcceptEdits() = 0;
    /// A new selected row: what was typed for the one left stays in it, and
    /// the fields and the memory's matches show the new one.
    void OnSelectionChanged();
    /// Selects the row (none when -1) and shows it, the keyboard on it.
    void SelectShownRow(int row);
    /// The list was sorted: the bookmarks, the filter and the selection
    /// follow.
    void ListSorted();
    /// The translation fields behave as a translator's editor: Escape first
    /// undoes what was typed, Up and Down go to the previous and next row
    /// shown (what was typed stays in its row), Ctrl+Enter is OK. Called
    /// once the fields exist.
    void WatchTranslationFields();
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Whether a row has a translation (general or in context).
    virtual bool RowTranslated(int row) const = 0;
    /// The original text (bytes) of a row.
    virtual std::string RowOriginal(int row) const = 0;
    /// Looks up the rows without a translation in the memory: those it
    /// knows exactly show their original in green, when the answer comes.
    void MarkExactMatches();
    /// The filter changed what is shown.
    virtual void FilterApplied() {}
    /// Puts a typed translation that was not applied yet into its row, before
    /// the row may be hidden or the window changes what it shows.
    virtual void ApplyPendingEdit() {}
    /// The shown row after the given one, the first shown one after the
    /// last; -1 when no row is shown.
    int NextShownRow(int row) const;
    /// Row colours from the settings, as the list's alternating lines.
    void ReadRowColours();
    /// Overlay 1 for a text not to translate, 2 otherwise.
    int OverlayFor(const std::string& original) const;
    virtual void ApplyFonts() = 0;
    void contextMenuEvent(QContextMenuEvent* event) override;

    CTrelvarDoc* m_document;
    CListCtrlBookmark* m_list;
    QLineEdit* m_filterEdit = nullptr;
    QCheckBox* m_untranslatedOnly = nullptr;
    MemoryMatches* m_matches = nullptr;
    QLineEdit* m_originalEdit = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_clear = nullptr;
    int m_selected = -1; // the row the fields show
    QFont m_originalFont;
    QFont m_translationFont;
    bool m_fontsForLists = false;
    /// Rows the memory knows exactly, at the last look.
    int m_exactRows = 0;
};
