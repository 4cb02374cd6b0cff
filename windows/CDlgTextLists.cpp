#include "windows/CDlgTextLists.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CWaitWindow.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"
#include "windows/DictionaryTexts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CDlgTextList::CDlgTextList(CTrelvarDoc* document, const QString& title, const QString& help, const char* id,
                           QWidget* parent)
    : CRkCoolDlg(parent), m_document(document), m_baseTitle(title)
{
    setObjectName(QString::fromLatin1(id));
    setWindowTitle(title);
    if (AppSettings().Get(Settings::Flag::ShowTexture))
        SetBackgroundBitmap(QStringLiteral("BACKGROUND_YELLOW"));
    auto* layout = new QVBoxLayout(this);
    AddHelpBanner(this, layout, {help});
    auto* body = new QHBoxLayout;
    m_list = new CListCtrlEx(this);
    m_list->setObjectName(QStringLiteral("1061"));
    m_list->SetFullRowSel(true);
    m_list->SetSingleSelection(false);
    m_list->InsertColumn(0, tr("Original"), CListCtrlEx::FormatLeft, 560);
    body->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    m_remove = new QPushButton(tr("&Remove"), this);
    m_remove->setObjectName(QStringLiteral("1062"));
    m_remove->setAutoDefault(false);
    m_remove->setEnabled(false);
    m_removeAll = new QPushButton(tr("Remove &All"), this);
    m_removeAll->setObjectName(QStringLiteral("1085"));
    m_removeAll->setAutoDefault(false);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("1"));
    close->setDefault(true);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_removeAll);
    buttons->addStretch();
    buttons->addWidget(close);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    connect(m_remove, &QPushButton::clicked, this, &CDlgTextList::OnRemove);
    connect(m_removeAll, &QPushButton::clicked, this, &CDlgTextList::OnRemoveAll);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &CListCtrlEx::itemSelectionChanged, this,
            [this] { m_remove->setEnabled(!m_list->GetSelectedItems().isEmpty()); });
    resize(700, 400);
}

void CDlgTextList::SetTexts(const std::vector<std::string>& texts)
{
    m_list->DeleteAllItems();
    m_texts.clear();
    m_list->setUpdatesEnabled(false);
    for (const std::string& text : texts) {
        const std::string& kept = m_texts.emplace_back(text);
        m_list->InsertItem(m_list->GetItemCount(), ToDisplay(kept), -1,
                           reinterpret_cast<std::intptr_t>(&kept));
    }
    m_list->setUpdatesEnabled(true);
    m_removeAll->setEnabled(m_list->GetItemCount() > 0);
    m_remove->setEnabled(false);
    UpdateTitle();
}

void CDlgTextList::UpdateTitle()
{
    setWindowTitle(
        m_baseTitle +
        QStringLiteral(" ( %1 %2 ) ").arg(m_list->GetItemCount()).arg(MessageString(MsgTexts).toLower()));
}

void CDlgTextList::OnRemove()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_list->setUpdatesEnabled(false);
    for (int row = m_list->GetItemCount() - 1; row >= 0; --row) {
        if (!(m_list->GetItemState(row, CListCtrlEx::StateSelected) & CListCtrlEx::StateSelected))
            continue;
        const auto* text = reinterpret_cast<const std::string*>(m_list->GetItemData(row));
        if (text && RemoveText(*text)) {
            m_list->DeleteItem(row);
            m_changed = true;
        }
    }
    m_list->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    m_removeAll->setEnabled(m_list->GetItemCount() > 0);
    m_remove->setEnabled(!m_list->GetSelectedItems().isEmpty());
    UpdateTitle();
}

void CDlgTextList::OnRemoveAll()
{
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        m_list->SetItemState(row, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    OnRemove();
}

CDlgTextsNotToTranslate::CDlgTextsNotToTranslate(CTrelvarDoc* document, QWidget* parent)
    : CDlgTextList(
          document, tr("Texts not to translate"),
          tr("These texts are not translated. You can remove them from the list by clicking on Remove."),
          "156", parent)
{
    std::vector<std::string> texts;
    if (m_document && m_document->General()) {
        for (const auto& entry : m_document->General()->DoNotTranslate())
            texts.emplace_back(entry.key);
    }
    SetTexts(texts);
}

bool CDlgTextsNotToTranslate::RemoveText(const std::string& text)
{
    if (!m_document->General()->ClearDoNotTranslate(text))
        return false;
    m_document->MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    return true;
}

CDlgUnusedTexts::CDlgUnusedTexts(CTrelvarDoc* document, QWidget* parent)
    : CDlgTextList(
          document, tr("Unused texts"),
          tr("These texts are in the dictionary, but are not used in the resource files.\nYou can remove "
             "them from the dictionary by clicking on Remove."),
          "25111", parent)
{
    if (!m_document || !m_document->General() || !m_document->Context()) {
        RkMessageBox(MessageString(MsgCannotDisplayUnused), 0x0030, -1, this, nullptr, -1);
        SetTexts({});
        return;
    }
    CWaitWindow wait(MessageString(MsgSearchingUnusedTexts), CWaitWindow::WithProgressBar, parent);
    SetTexts(UnusedTexts(*m_document->General(), *m_document->Context(), &wait));
}

bool CDlgUnusedTexts::RemoveText(const std::string& text)
{
    if (!m_document->General()->RemoveText(text))
        return false;
    m_document->MarkChanged(CTrelvarDoc::GeneralChanged);
    return true;
}
