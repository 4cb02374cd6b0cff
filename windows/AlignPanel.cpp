#include "windows/AlignPanel.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/FileList.h"
#include "exchange/ScriptAlignment.h"
#include "tessary/CWaitWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

AlignPanel::AlignPanel(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent)
    : QWidget(parent), m_document(document), m_reporter(reporter)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    m_original = new QComboBox(this);
    m_original->setObjectName(QStringLiteral("original"));
    m_original->setEditable(true);
    m_original->setInsertPolicy(QComboBox::NoInsert);
    auto* originalLabel = new QLabel(tr("&Original script :"), this);
    originalLabel->setBuddy(m_original);
    auto* browseOriginal = new QPushButton(tr("..."), this);
    browseOriginal->setAutoDefault(false);
    browseOriginal->setFixedWidth(32);
    m_translated = new QLineEdit(this);
    m_translated->setObjectName(QStringLiteral("translated"));
    auto* translatedLabel = new QLabel(tr("&Translated script :"), this);
    translatedLabel->setBuddy(m_translated);
    auto* browseTranslated = new QPushButton(tr("..."), this);
    browseTranslated->setAutoDefault(false);
    browseTranslated->setFixedWidth(32);
    grid->addWidget(originalLabel, 0, 0);
    grid->addWidget(m_original, 0, 1);
    grid->addWidget(browseOriginal, 0, 2);
    grid->addWidget(translatedLabel, 1, 0);
    grid->addWidget(m_translated, 1, 1);
    grid->addWidget(browseTranslated, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    auto* row = new QHBoxLayout;
    m_replace = new QCheckBox(tr("&Replace the translations the dictionary already has"), this);
    m_align = new QPushButton(tr("&Align"), this);
    m_align->setObjectName(QStringLiteral("align"));
    row->addWidget(m_replace, 1);
    row->addWidget(m_align);
    layout->addLayout(row);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_summary);
    m_problems = new QListWidget(this);
    m_problems->setObjectName(QStringLiteral("unmatched"));
    m_problems->setVisible(false);
    layout->addWidget(m_problems, 1);
    FillOriginals();
    connect(browseOriginal, &QPushButton::clicked, this, [this] { Browse(true); });
    connect(browseTranslated, &QPushButton::clicked, this, [this] { Browse(false); });
    connect(m_align, &QPushButton::clicked, this, &AlignPanel::Align);
}

void AlignPanel::FillOriginals()
{
    const QString typed = m_original->currentText();
    m_original->clear();
    if (!m_document->Files())
        return;
    for (const auto& entry : m_document->Files()->Files())
        m_original->insertItem(0, QString::fromStdString(entry.value.source));
    m_original->setCurrentIndex(0);
    if (!typed.isEmpty() && m_original->findText(typed) < 0)
        m_original->setCurrentText(typed);
}

void AlignPanel::Browse(bool original)
{
    const QString start = original ? m_original->currentText() : m_translated->text();
    const QString path =
        QFileDialog::getOpenFileName(this, original ? tr("Original script") : tr("Translated script"),
                                     start.isEmpty() ? QFileInfo(m_original->currentText()).path() : start,
                                     tr("Resource Scripts (*.rc *.rc2);;All Files (*)"));
    if (path.isEmpty())
        return;
    if (original)
        m_original->setCurrentText(path);
    else
        m_translated->setText(path);
}

bool AlignPanel::Align()
{
    const QString typed = m_translated->text().trimmed();
    const std::string original =
        QFileInfo(m_original->currentText().trimmed()).absoluteFilePath().toStdString();
    const std::string translated = QFileInfo(typed).absoluteFilePath().toStdString();
    m_problems->clear();
    m_problems->setVisible(false);
    if (typed.isEmpty() || !QFileInfo(typed).isFile()) {
        m_summary->setText(tr("Choose the translated script."));
        m_translated->setFocus();
        return false;
    }
    AlignmentSummary summary;
    {
        CWaitWindow wait(tr("Aligning"), CWaitWindow::WithProgressBar, this);
        const std::string source = AlignableScript(*m_document, original, {}, *m_reporter);
        if (source.empty()) {
            m_summary->setText(tr("The original script cannot be inserted or extracted."));
            m_original->setFocus();
            return false;
        }
        summary = AlignTranslatedScript(*m_document, source, translated, m_replace->isChecked(), &wait);
    }
    if (summary.aligned > 0)
        m_document->MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    m_changed = m_changed || summary.aligned > 0 || m_document->IsModified();
    QString text = QString::fromStdString(AlignmentSummaryLine(summary));
    if (summary.kept > 0)
        text += tr("; %1 translation(s) of the dictionary kept").arg(summary.kept);
    m_summary->setText(text + '.');
    for (const std::string& problem : summary.problems)
        m_problems->addItem(QString::fromStdString(problem));
    m_problems->setVisible(!summary.problems.empty());
    FillOriginals();
    emit aligned();
    return true;
}
