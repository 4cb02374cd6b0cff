#include "pages/CPageInsert.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/Messages.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptText.h"
#include "pages/CSheetWizard.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CoreFeedback.h"
#include "windows/ScriptPairRows.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPageInsert::CPageInsert(QWidget* parent)
    : WizardPage(CSheetWizard::PageInsert, tr("Insert resource files"), QStringLiteral("25114"), parent)
{
    auto* layout = new QVBoxLayout(this);
    CRkCoolDlg::AddHelpBanner(
        this, layout,
        {tr("Choose a resource file to translate and the file or the folder that receives its translation, "
            "then click on Add. A folder gets a file of the same name.")});
    m_list = NewList("1018", true);
    m_rows = std::make_unique<ScriptPairRows>(m_list, 280);
    layout->addWidget(m_list, 1);

    auto* grid = new QGridLayout;
    m_file = NewEdit(this, "1014", 255);
    m_destination = NewEdit(this, "1015", 255);
    QPushButton* browseFile = NewButton(this, tr("Bro&wse..."), "1016");
    QPushButton* browseDestination = NewButton(this, tr("B&rowse..."), "1017");
    auto* fileLabel = new QLabel(tr("F&ile:"), this);
    fileLabel->setBuddy(m_file);
    auto* destinationLabel = new QLabel(tr("&Destination:"), this);
    destinationLabel->setBuddy(m_destination);
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(browseFile, 0, 2);
    grid->addWidget(destinationLabel, 1, 0);
    grid->addWidget(m_destination, 1, 1);
    grid->addWidget(browseDestination, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    m_add = NewButton(this, tr("&Add"), "1022");
    m_delete = NewButton(this, tr("De&lete"), "1019");
    m_delete->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &CPageInsert::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CPageInsert::OnDelete);
    connect(m_list, &CListCtrlEx::itemSelectionChanged, this, &CPageInsert::OnSelectionChanged);
    // Enter in the File field adds the script; with the field empty it
    // goes on to the wizard's Next.
    m_file->installEventFilter(this);
    connect(browseFile, &QPushButton::clicked, this, [this] {
        const CTrelvarDoc* doc = Sheet()->Document();
        const QStringList paths = QFileDialog::getOpenFileNames(
            this, tr("Open"), DisplayText(doc->DefaultSourceFolder()),
            QStringLiteral("Resource Files (*.rc *.rc2);;All Files (*)"), nullptr, QFileDialog::ReadOnly);
        AddScripts(paths);
    });
    connect(browseDestination, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, MessageString(MsgDirectory), m_destination->text());
        if (!folder.isEmpty())
            m_destination->setText(QDir::toNativeSeparators(folder));
    });
}

CPageInsert::~CPageInsert() = default;

void CPageInsert::OnSetActive()
{
    if (!m_filled) {
        m_filled = true;
        m_rows->Fill(Sheet()->Document()->Files());
    }
    m_destination->setText(DisplayText(Sheet()->Document()->DefaultDestinationFolder()));
    m_file->setFocus();
}

void CPageInsert::OnSelectionChanged()
{
    const QList<int> selected = m_list->GetSelectedItems();
    m_selected = selected.isEmpty() ? -1 : selected.first();
    m_delete->setEnabled(m_selected >= 0);
}

bool CPageInsert::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_file && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_file->text().trimmed().isEmpty()) {
            OnAdd();
            return true;
        }
    }
    return WizardPage::eventFilter(watched, event);
}

void CPageInsert::AddScripts(const QStringList& paths)
{
    // One script goes into the field to be added; several are added at
    // once, each by the same rules, with the destination of the field.
    if (paths.size() == 1) {
        m_file->setText(QDir::toNativeSeparators(paths.first()));
        return;
    }
    for (const QString& path : paths) {
        m_file->setText(QDir::toNativeSeparators(path));
        OnAdd();
    }
    m_file->clear();
}

void CPageInsert::OnAdd()
{
    CTrelvarDoc* doc = Sheet()->Document();
    if (!doc->Files())
        return;
    const std::string source = m_file->text().trimmed().toStdString();
    const ScriptInsertion result =
        InsertScript(*doc->Files(), source, m_destination->text().trimmed().toStdString(),
                     doc->DefaultDestinationFolder());
    if (result.message != 0) {
        Refuse(result.message, result.focus == ScriptInsertion::Field::Destination ? m_destination : m_file,
               result.Arguments());
        return;
    }
    m_rows->Append(source, result.destination);
    m_added[source] = result.destination;
    // A script in another code page than the dictionary's is said at once.
    if (!doc->IsUnicode()) {
        for (const int page : OtherDeclaredCodePages(source, doc->OriginalsCodePage()))
            RkMessageBox(MessageString(MsgScriptCodePageDiffers, {source, std::to_string(page),
                                                                  std::to_string(doc->OriginalsCodePage())}),
                         0x0040, -1, this, nullptr, -1);
    }
    m_rows->Sort();
    // Ready for the next script; Enter in the empty field goes on.
    m_file->clear();
    Changed();
}

void CPageInsert::OnDelete()
{
    if (m_selected < 0)
        return;
    CTrelvarDoc* doc = Sheet()->Document();
    const ScriptPairRows::Pair* pair = m_rows->At(m_selected);
    if (!pair || !doc->Files() || !doc->Files()->RemoveFile(pair->source))
        return;
    const std::string source = pair->source;
    m_rows->Remove(m_selected);
    m_added.erase(source);
    doc->Context()->RemoveFile(source);
    m_selected = -1;
    m_delete->setEnabled(false);
    Changed();
}

void CPageInsert::Changed()
{
    m_changed = true;
    Sheet()->SetCloseText();
}

bool CPageInsert::validatePage()
{
    if (m_changed) {
        CSheetWizard* sheet = Sheet();
        sheet->Document()->SetModifiedFlag();
        emit sheet->filesChanged();
        sheet->SetFilesToPreselect(m_added);
    }
    Passed();
    return true;
}
