#include "windows/CDlgImport.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "engine/AccessKeys.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CWaitWindow.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CDlgImport::CDlgImport(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent)
    : CRkCoolDlg(parent), m_document(document), m_reporter(reporter)
{
    setObjectName(QStringLiteral("149"));
    setWindowTitle(tr("Import"));
    auto* layout = new QVBoxLayout(this);
    AddHelpBanner(this, layout,
                  {tr("Enter a file name and click on OK to update the active dictionary. "),
                   tr("Search translations for texts in the file and import them in the dictionary.")});
    auto* row = new QHBoxLayout;
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("1001"));
    auto* label = new QLabel(tr("&File :"), this);
    label->setBuddy(m_file);
    auto* browse = new QPushButton(tr("..."), this);
    browse->setObjectName(QStringLiteral("1003"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(32);
    row->addWidget(label);
    row->addWidget(m_file, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    // What happens to translations the dictionary already has, said before
    // anything changes: each kind of file has its rule, the user the last
    // word.
    m_keep =
        new QRadioButton(tr("&Keep the translations the dictionary has; fill only texts without one"), this);
    m_keep->setObjectName(QStringLiteral("1004"));
    m_replace = new QRadioButton(tr("&Replace them with the translations of the file"), this);
    m_replace->setObjectName(QStringLiteral("1005"));
    m_rule = new QLabel(this);
    m_rule->setObjectName(QStringLiteral("1006"));
    m_rule->setWordWrap(true);
    layout->addWidget(m_keep);
    layout->addWidget(m_replace);
    layout->addWidget(m_rule);
    FollowFileKind();
    connect(m_file, &QLineEdit::textChanged, this, [this] {
        if (!m_ruleChosen)
            FollowFileKind();
    });
    for (QRadioButton* choice : {m_keep, m_replace})
        connect(choice, &QRadioButton::clicked, this, [this] { m_ruleChosen = true; });
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(browse, &QPushButton::clicked, this, &CDlgImport::OnBrowse);
    connect(ok, &QPushButton::clicked, this, &CDlgImport::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(540, sizeHint().height());
}

void CDlgImport::FollowFileKind()
{
    const auto format = ExchangeFormatOf(m_file->text().trimmed().toStdString());
    const bool replace = ImportReplacesByDefault(format);
    (replace ? m_replace : m_keep)->setChecked(true);
    m_rule->setText(replace ? tr("A PO or XLIFF file is a translator's work on the texts it holds: its "
                                 "translations replace the dictionary's unless you keep them.")
                            : tr("A translation memory, a dictionary or a text file fills the texts "
                                 "without a translation: the dictionary's stay unless you replace them."));
}

bool CDlgImport::Replaces() const
{
    return m_replace->isChecked();
}

void CDlgImport::SetReplaces(bool replace)
{
    (replace ? m_replace : m_keep)->setChecked(true);
    m_ruleChosen = true;
}

void CDlgImport::OnBrowse()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Import"), m_file->text(),
                                     tr("Dictionary Files (*.dic);;Text Files (*.txt);;PO Files (*.po);;"
                                        "XLIFF Files (*.xlf *.xliff);;TMX Files (*.tmx)"));
    if (!path.isEmpty())
        m_file->setText(path);
}

void CDlgImport::OnOK()
{
    const QString path = m_file->text().trimmed();
    if (path.isEmpty()) {
        RkMessageBox(MessageString(MsgInvalidFileName), 0x0030, -1, this, nullptr, -1);
        m_file->setFocus();
        return;
    }
    if (!m_document || !m_document->General())
        return;
    if (const auto format = ExchangeFormatOf(path.toStdString())) {
        ImportExchange(path, *format);
        return;
    }
    // A file ending in .dic is a dictionary (its first line says so); any
    // other holds records of the same layout without that line.
    const bool dictionaryFile =
        QFileInfo(path).suffix().compare(QLatin1String("dic"), Qt::CaseInsensitive) == 0;
    const std::string file = path.toStdString();
    std::optional<GeneralDictionary> imported;
    {
        CWaitWindow wait(MessageString(MsgLoadingTexts), CWaitWindow::TextAndAnimation, this);
        imported = ReadImportFile(file, dictionaryFile, m_reporter);
        if (imported)
            ConvertTexts(
                *imported,
                {m_document->EightBitOriginalsCodePage(), m_document->EightBitTranslationsCodePage()},
                {m_document->OriginalsCodePage(), m_document->TranslationsCodePage()});
    }
    if (!imported) {
        m_file->setFocus();
        return;
    }
    {
        CWaitWindow wait(MessageString(MsgUpdatingDictionary), CWaitWindow::WithProgressBar, this);
        const auto changes = TranslationsToImport(*m_document->General(), *imported, &wait, Replaces());
        SetGeneralTranslations(*m_document->General(), *m_document->Context(), changes,
                               m_document->TranslationsCodePage());
        m_imported = static_cast<int>(changes.size());
    }
    if (m_imported > 0)
        m_document->MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    accept();
}

void CDlgImport::ImportExchange(const QString& path, ExchangeFormat format)
{
    ExchangeDocument exchange;
    std::string error;
    {
        CWaitWindow wait(MessageString(MsgLoadingTexts), CWaitWindow::TextAndAnimation, this);
        if (!ReadExchangeFile(path.toStdString(), format, exchange, error)) {
            m_reporter->Report(MsgErrorOpeningFile, {path.toStdString(), error});
            m_file->setFocus();
            return;
        }
    }
    ImportSummary summary;
    {
        CWaitWindow wait(MessageString(MsgUpdatingDictionary), CWaitWindow::WithProgressBar, this);
        summary = ApplyExchange(exchange, *m_document, &wait, Replaces());
    }
    m_imported = summary.translations + summary.resourceEntries;
    m_kept = summary.kept;
    m_unsure = summary.unsure;
    m_problems = std::move(summary.problems);
    if (m_imported + summary.doNotTranslate > 0)
        m_document->MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    accept();
}
