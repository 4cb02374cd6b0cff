#include "app/MaintenanceCommands.h"

#include "app/DocumentCommands.h"
#include "app/FrameServices.h"
#include "app/SearchCommands.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/Messages.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"
#include "memory/MemorySources.h"
#include "memory/TranslationMemory.h"
#include "preview/PreviewFit.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CWaitWindow.h"
#include "tessary/CoreFeedback.h"
#include "views/CListCtrlBookmark.h"
#include "views/CResTreeCtrl.h"
#include "windows/AlignPanel.h"
#include "windows/CDlgAlign.h"
#include "windows/CDlgCheckResults.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/CDlgImport.h"
#include "windows/CDlgTextLists.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

namespace {

// Brings the texts window back, if it was on, however the command ends.
struct TextsWindowBack
{
    FrameServices* frame;
    ~TextsWindowBack() { frame->RestoreTextsWindow(); }
};

} // namespace

MaintenanceCommands::MaintenanceCommands(FrameServices* frame) : QObject(frame->Window()), m_frame(frame) {}

void MaintenanceCommands::OnImport()
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return;
    m_frame->HideTextsWindow();
    const TextsWindowBack back{m_frame};
    if (m_frame->DictionaryWindowVisible()) {
        RkMessageBox(MessageString(MsgCloseDictionaryWindow), 0x0030, -1, m_frame->Window(), nullptr, -1);
        return;
    }
    CDlgImport dialog(&doc, &m_frame->Documents()->Reporter(), m_frame->Window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_frame->Tree()->UpdateIconsNow();
    m_frame->Window()->setWindowModified(doc.IsModified());
    ShowProblems(dialog.Problems());
    QString summary = MessageString(MsgImportedTranslations, {std::to_string(dialog.Imported())});
    if (dialog.Kept() > 0)
        summary += tr("; %1 translation(s) of the dictionary kept").arg(dialog.Kept());
    if (dialog.Unsure() > 0)
        summary += tr("; %1 unsure (fuzzy) translation(s) left for review").arg(dialog.Unsure());
    m_frame->ShowRunSummary(summary);
    m_frame->UpdateActions();
}

void MaintenanceCommands::OnExport()
{
    if (!m_frame->Documents()->Doc().IsOpen())
        return;
    m_frame->HideTextsWindow();
    const TextsWindowBack back{m_frame};
    QFileDialog dialog(m_frame->Window(), tr("Export"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({tr("Text Files (*.txt)"), tr("HTM Files (*.htm)"), tr("HTML Files (*.html)"),
                           tr("PO Files (*.po)"), tr("PO Template Files (*.pot)"),
                           tr("XLIFF Files (*.xlf *.xliff)"), tr("TMX Files (*.tmx)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // The suffix follows the chosen kind of file.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const int star = filter.indexOf(QLatin1String("*."));
        dialog.setDefaultSuffix(
            filter.mid(star + 2).section(QLatin1Char(' '), 0, 0).remove(QLatin1Char(')')));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    ExportTo(dialog.selectedFiles().first());
}

bool MaintenanceCommands::ExportTo(const QString& path)
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return false;
    if (doc.IsOwnFile(path.toStdString())) {
        RkMessageBox(MessageString(MsgExportOverDictionary, {path.toStdString(), doc.PathName()}), 0x0030, -1,
                     m_frame->Window(), nullptr, -1);
        return false;
    }
    const QString extension = QFileInfo(path).suffix();
    if (extension == QLatin1String("htm") || extension == QLatin1String("html")) {
        if (!m_frame->DictionaryWindowVisible()) {
            RkMessageBox(MessageString(MsgCannotExportWithoutList), 0x0030, -1, m_frame->Window(), nullptr,
                         -1);
            return false;
        }
        // The HTML form, whichever of the two extensions the file has.
        if (!m_frame->DictionaryWindow()->List()->Save(path, QStringLiteral("htm"), true)) {
            RkMessageBox(MessageString(MsgCannotSaveFile, {path.toStdString()}), 0x0030, -1,
                         m_frame->Window(), nullptr, -1);
            return false;
        }
        return true;
    }
    if (const auto format = ExchangeFormatOf(path.toStdString())) {
        std::vector<std::string> problems;
        std::string error;
        bool saved = false;
        {
            CWaitWindow wait(MessageString(MsgExportingDictionary), CWaitWindow::WithProgressBar,
                             m_frame->Window());
            // A template (.pot) holds every entry, untranslated.
            const bool asTemplate = extension.compare(QLatin1String("pot"), Qt::CaseInsensitive) == 0;
            const ExchangeDocument exchange = BuildExchange(doc, problems, &wait, asTemplate);
            saved = WriteExchangeFile(exchange, *format, path.toStdString(), error);
        }
        if (!saved) {
            RkMessageBox(MessageString(MsgCannotSaveFile, {path.toStdString(), error}), 0x0030, -1,
                         m_frame->Window(), nullptr, -1);
            return false;
        }
        ShowProblems(problems);
        return true;
    }
    bool written = false;
    {
        CWaitWindow wait(MessageString(MsgExportingDictionary), CWaitWindow::WithProgressBar,
                         m_frame->Window());
        written = ExportTexts(*doc.General(), path.toStdString(), &m_frame->Documents()->Reporter(), &wait);
    }
    if (!written) {
        RkMessageBox(MessageString(MsgCannotExport), 0x0030, -1, m_frame->Window(), nullptr, -1);
        return false;
    }
    return true;
}

void MaintenanceCommands::OnTextsNotToTranslate()
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return;
    CDlgTextsNotToTranslate dialog(&doc, m_frame->Window());
    dialog.exec();
    if (dialog.Changed())
        Refresh();
}

void MaintenanceCommands::OnUnusedTexts()
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return;
    CDlgUnusedTexts dialog(&doc, m_frame->Window());
    dialog.exec();
    if (dialog.Changed())
        Refresh();
}

void MaintenanceCommands::OnAlign()
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return;
    MessageBoxReporter reporter(m_frame->Window());
    CDlgAlign dialog(&doc, &reporter, m_frame->Window());
    dialog.exec();
    if (dialog.Panel()->Changed()) {
        m_frame->RebuildTree();
        Refresh();
    }
}

void MaintenanceCommands::OnPretranslate(int minScore)
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return;
    if (minScore == 0) {
        bool ok = false;
        minScore =
            QInputDialog::getInt(m_frame->Window(), tr("Pre-translate"),
                                 tr("Fill the texts without a translation with the memory's matches of at "
                                    "least this score (100: exact matches only):"),
                                 100, 50, 100, 1, &ok);
        if (!ok)
            return;
    }
    std::string error;
    const auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
    if (!memory) {
        RkMessageBox(QString::fromStdString(error), 0x0030, -1, m_frame->Window(), nullptr, -1);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const PretranslationSummary summary = Pretranslate(doc, *memory, minScore);
    QApplication::restoreOverrideCursor();
    if (summary.filled > 0) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        Refresh();
    }
    QString text = tr("%1 text(s) filled, %2 from exact matches.").arg(summary.filled).arg(summary.exact);
    for (const auto& [source, count] : summary.sources)
        text += QStringLiteral("\n%1: %2").arg(QString::fromStdString(source)).arg(count);
    if (summary.filled > 0)
        text += tr("\nTools > Check translations shows what they need.");
    m_lastPretranslation = text;
    RkMessageBox(text, 0x0040, -1, m_frame->Window(), nullptr, -1);
    ShowProblems(summary.problems);
}

void MaintenanceCommands::OnCheckTranslations()
{
    CTrelvarDoc& doc = m_frame->Documents()->Doc();
    if (!doc.IsOpen())
        return;
    if (!m_checkWindow) {
        m_checkWindow = new CDlgCheckResults(m_frame->Window());
        connect(m_checkWindow, &CDlgCheckResults::checkAgainRequested, this,
                &MaintenanceCommands::OnCheckTranslations);
        connect(m_checkWindow, &CDlgCheckResults::gotoRequested, this, [this](const CheckFinding& finding) {
            CDlgFindResults::Record record;
            record.file = finding.script;
            record.resourceName = finding.resource;
            record.matched = finding.original;
            record.kind = finding.resourceKind;
            m_frame->Searches()->GotoText(record);
        });
    }
    std::vector<CheckFinding> findings;
    {
        CWaitWindow wait(tr("Checking translations"), CWaitWindow::WithProgressBar, m_frame->Window());
        PreviewFitMeasure fit;
        findings = CheckTranslations(doc, {}, &fit, &wait);
    }
    m_checkWindow->SetFindings(std::move(findings));
    m_checkWindow->show();
    m_checkWindow->raise();
    m_checkWindow->activateWindow();
}

void MaintenanceCommands::ShowProblems(const std::vector<std::string>& problems)
{
    if (problems.empty())
        return;
    std::string text = std::to_string(problems.size()) + " text(s) could not be carried over:";
    for (std::size_t i = 0; i < problems.size() && i < 12; ++i)
        text += "\n" + problems[i];
    if (problems.size() > 12)
        text += "\n...";
    RkMessageBox(QString::fromStdString(text), 0x0030, -1, m_frame->Window(), nullptr, -1);
}

void MaintenanceCommands::Refresh()
{
    // The lists on screen show the dictionary as it is now; the texts
    // window, the icons and the preview follow with the frame's refresh.
    if (m_frame->DictionaryWindowVisible())
        m_frame->DictionaryWindow()->Refill();
    m_frame->StartTimer(1, 0);
    m_frame->UpdateActions();
}
