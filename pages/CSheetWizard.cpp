#include "pages/CSheetWizard.h"

#include "pages/CPageAlign.h"
#include "pages/CPageExtract.h"
#include "pages/CPageInsert.h"
#include "pages/CPageNew.h"
#include "pages/CPageNotExtracted.h"
#include "tessary/CoolDisplay.h"

#include <QAbstractButton>
#include <QPainter>
#include <QTimer>

CSheetWizard::CSheetWizard(int pageSet, CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent)
    : QWizard(parent), m_pageSet(pageSet), m_document(document), m_reporter(reporter)
{
    setObjectName(QStringLiteral("sheetWizard"));
    setWizardStyle(QWizard::ClassicStyle);
    // Enter presses Next or Finish; no mnemonic of the buttons is one of a
    // page's own.
    setOptions(QWizard::NoBackButtonOnStartPage);
    setButtonText(QWizard::BackButton, tr("< &Back"));
    setButtonText(QWizard::NextButton, tr("&Next >"));
    setButtonText(QWizard::FinishButton, tr("&Finish"));
    setButtonText(QWizard::CancelButton, tr("Cancel"));
    // Every page exists; only those of the set take part, under their bit.
    m_new = new CPageNew(this);
    m_insert = new CPageInsert(this);
    m_notExtracted = new CPageNotExtracted(this);
    m_extract = new CPageExtract(this);
    m_align = new CPageAlign(this);
    for (WizardPage* page :
         std::initializer_list<WizardPage*>{m_new, m_insert, m_notExtracted, m_extract, m_align}) {
        if (HasPage(page->Bit()))
            setPage(page->Bit(), page);
        else
            page->hide();
    }
    for (int bit = PageNew; bit <= PageAlign; bit <<= 1) {
        if (HasPage(bit)) {
            setStartId(bit);
            break;
        }
    }
    connect(this, &QWizard::currentIdChanged, this, &CSheetWizard::OnPageChanged);
    resize(640, 520);
}

CSheetWizard::~CSheetWizard() = default;

void CSheetWizard::SetCloseText()
{
    setButtonText(QWizard::CancelButton, tr("Close"));
}

void CSheetWizard::MarkPassed()
{
    SetCloseText();
    m_passed = true;
}

void CSheetWizard::OnPageChanged(int id)
{
    auto* page = qobject_cast<WizardPage*>(this->page(id));
    if (!page)
        return;
    setWindowTitle(page->title());
    page->OnSetActive();
    if (m_passed) {
        // The wizard rebuilt its buttons for the page; give them the look again.
        QTimer::singleShot(50, this, [this] {
            RkModifyDialog(this);
            update();
        });
    }
}

void CSheetWizard::paintEvent(QPaintEvent* event)
{
    QWizard::paintEvent(event);
    QPainter painter(this);
    DlgPaint(painter, this, 1, QStringLiteral("Background"));
}

void CSheetWizard::showEvent(QShowEvent* event)
{
    RkModifyDialog(this);
    QWizard::showEvent(event);
}
