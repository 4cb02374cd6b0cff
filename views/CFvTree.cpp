#include "views/CFvTree.h"

#include "dictionary/CTrelvarDoc.h"
#include "views/CResTreeCtrl.h"

#include <QVBoxLayout>

CFvTree::CFvTree(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("137"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tree = new CResTreeCtrl(this);
    layout->addWidget(m_tree);
}

void CFvTree::OnUpdate(CTrelvarDoc* document, QWidget* host)
{
    m_tree->SetDocument(document);
    if (!document || !document->Files()) {
        m_tree->ClearTree();
        return;
    }
    if (host)
        m_tree->SetHost(host);
    m_tree->SetPreviewOnSelect(true);
    m_tree->DestroyPreviews();
    m_tree->RebuildTree();
}
