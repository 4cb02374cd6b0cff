#pragma once

#include <QWizard>

#include <map>
#include <string>

class CPageAlign;
class CPageExtract;
class CPageInsert;
class CPageNew;
class CPageNotExtracted;
class CTrelvarDoc;
class MessageReporter;

/// The wizard that brings resource scripts into a dictionary: creating it,
/// inserting scripts, reviewing the resources not to extract and extracting
/// the texts. Each command shows its own set of these pages.
class CSheetWizard : public QWizard
{
    Q_OBJECT
public:
    /// Pages of a set, as bits.
    enum PageBits
    {
        PageNew = 1,
        PageInsert = 2,
        PageNotExtracted = 4,
        PageExtract = 8,
        PageAlign = 16
    };
    /// Page sets of the commands.
    static constexpr int FileNewSet = PageNew | PageInsert | PageExtract | PageAlign;
    static constexpr int InsertSet = PageInsert | PageExtract;
    static constexpr int ExtractSet = PageExtract;
    static constexpr int NotExtractedSet = PageNotExtracted | PageExtract;

    CSheetWizard(int pageSet, CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent = nullptr);
    ~CSheetWizard() override;

    int PageSet() const { return m_pageSet; }
    bool HasPage(int bit) const { return (m_pageSet & bit) != 0; }
    CTrelvarDoc* Document() const { return m_document; }
    MessageReporter* Reporter() const { return m_reporter; }

    /// Source scripts (key) the Extract page selects when it opens.
    using FileMap = std::map<std::string, std::string>;
    void SetFilesToPreselect(const FileMap& files) { m_preselect = files; }
    const FileMap& FilesToPreselect() const { return m_preselect; }

    /// A page moved on: the cancel button now reads "Close", and pages
    /// shown from now on are restyled once the wizard rebuilt its buttons.
    void MarkPassed();
    /// The cancel button reads "Close": what was done stays done.
    void SetCloseText();
    bool Passed() const { return m_passed; }

    CPageNew* NewPage() const { return m_new; }
    CPageInsert* InsertPage() const { return m_insert; }
    CPageNotExtracted* NotExtractedPage() const { return m_notExtracted; }
    CPageExtract* ExtractPage() const { return m_extract; }
    CPageAlign* AlignPage() const { return m_align; }

signals:
    /// A new dictionary was created and is the open one.
    void dictionaryCreated();
    /// Scripts were added or removed: the views follow the list of files.
    void filesChanged();
    /// The resources not to extract changed: the tree's marks follow.
    void treeRefreshNeeded();
    /// Extraction changed what the tree shows of a script.
    void treeRebuildNeeded();
    /// Texts were extracted into the dictionary.
    /// Texts were extracted from that many scripts.
    void textsExtracted(int files);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnPageChanged(int id);

    int m_pageSet;
    CTrelvarDoc* m_document;
    MessageReporter* m_reporter;
    FileMap m_preselect;
    bool m_passed = false;
    CPageNew* m_new = nullptr;
    CPageInsert* m_insert = nullptr;
    CPageNotExtracted* m_notExtracted = nullptr;
    CPageExtract* m_extract = nullptr;
    CPageAlign* m_align = nullptr;
};
