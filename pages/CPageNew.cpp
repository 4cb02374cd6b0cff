#include "pages/CPageNew.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/FileSystem.h"
#include "dictionary/Messages.h"
#include "pages/CSheetWizard.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CoreFeedback.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPageNew::CPageNew(QWidget* parent)
    : WizardPage(CSheetWizard::PageNew, tr("New dictionary"), QStringLiteral("25113"), parent)
{
    auto* layout = new QVBoxLayout(this);
    CRkCoolDlg::AddHelpBanner(
        this, layout,
        {tr("Give the new dictionary a name and choose the folder where its files are created."),
         tr("The source folder is where the resource files to translate usually are; the destination folder "
            "receives the translated resource files. Both are the defaults when you insert files.")});
    auto* grid = new QGridLayout;
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    m_name = NewEdit(this, "1001", 48);
    m_location = NewEdit(this, "1066", 200);
    m_source = NewEdit(this, "1067", 200);
    m_destination = NewEdit(this, "1068", 200);
    for (QLineEdit* folder : {m_location, m_source, m_destination})
        folder->setText(home);
    m_browseLocation = NewButton(this, tr("Bro&wse..."), "1003");
    QPushButton* browseSource = NewButton(this, tr("B&rowse..."), "1016");
    QPushButton* browseDestination = NewButton(this, tr("Br&owse..."), "1017");
    const struct
    {
        QString label;
        QLineEdit* edit;
        QPushButton* browse;
    } rows[] = {{tr("N&ame:"), m_name, nullptr},
                {tr("&Location:"), m_location, m_browseLocation},
                {tr("&Source folder:"), m_source, browseSource},
                {tr("&Destination folder:"), m_destination, browseDestination}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(r.label, this);
        label->setBuddy(r.edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(r.edit, row, 1);
        if (r.browse)
            grid->addWidget(r.browse, row, 2);
        ++row;
    }
    // An 8-bit dictionary keeps its texts in the code pages of its fonts'
    // character sets (Options); a Unicode one holds every language at once.
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("1090"));
    m_encoding->addItem(tr("8-bit, in the code page of the dictionary's fonts"));
    m_encoding->addItem(MessageString(MsgUnicodeDictionary));
    auto* encodingLabel = new QLabel(tr("&Encoding of the texts:"), this);
    encodingLabel->setBuddy(m_encoding);
    grid->addWidget(encodingLabel, row, 0);
    grid->addWidget(m_encoding, row, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();

    const QString location = MessageString(MsgLocation);
    const QString directory = MessageString(MsgDirectory);
    connect(m_browseLocation, &QPushButton::clicked, this,
            [this, location] { Browse(m_location, location); });
    connect(browseSource, &QPushButton::clicked, this, [this, directory] { Browse(m_source, directory); });
    connect(browseDestination, &QPushButton::clicked, this,
            [this, directory] { Browse(m_destination, directory); });
}

void CPageNew::OnSetActive()
{
    if (m_created) {
        // Back from a later page: the dictionary exists, only its default
        // folders may still change.
        m_name->setEnabled(false);
        m_location->setEnabled(false);
        m_browseLocation->setEnabled(false);
        m_encoding->setEnabled(false);
        m_createMode = false;
    }
    m_name->setFocus();
}

void CPageNew::Browse(QLineEdit* field, const QString& title)
{
    const QString folder = QFileDialog::getExistingDirectory(this, title, field->text());
    if (!folder.isEmpty())
        field->setText(QDir::toNativeSeparators(folder));
    update();
}

bool CPageNew::validatePage()
{
    CTrelvarDoc* doc = Sheet()->Document();
    const std::string source = m_source->text().toStdString();
    const std::string destination = m_destination->text().toStdString();
    // The list of files writes the folders between double quotes.
    for (QLineEdit* field : {m_source, m_destination, m_location, m_name}) {
        const std::string path = field->text().toStdString();
        if (!IsStorablePath(path)) {
            Refuse(MsgPathNotStorable, field, {path});
            return false;
        }
    }
    if (!m_createMode) {
        if (source != doc->DefaultSourceFolder() || destination != doc->DefaultDestinationFolder()) {
            doc->SetDefaultFolders(source, destination);
            doc->SetModifiedFlag();
        }
        Passed();
        return true;
    }
    const QString name = m_name->text().trimmed();
    const QString location = m_location->text().trimmed();
    if (name.isEmpty() || location.isEmpty()) {
        Refuse(MsgNameAndLocationRequired, name.isEmpty() ? m_name : m_location);
        return false;
    }
    // A location that does not exist yet is offered for creation.
    if (!QFileInfo(location).isDir()) {
        if (RkMessageBox(MessageString(MsgCreateFolder, {location.toStdString()}), 0x0004 | 0x0020, -1, this,
                         nullptr, -1) != CRkMessageBox::IdYes) {
            m_location->setFocus();
            return false;
        }
        if (!QDir().mkpath(location)) {
            Refuse(MsgErrorCreatingFile, m_location, {location.toStdString()});
            return false;
        }
    }
    if (!doc->CreateDictionary(name.toStdString(), location.toStdString(), source, destination,
                               m_encoding->currentIndex() == 1))
        return false;
    m_created = true;
    m_createMode = false;
    emit Sheet()->dictionaryCreated();
    Passed();
    return true;
}
