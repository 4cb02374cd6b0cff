#include "views/CFvMisc.h"

#include "preview/CDlgPreviewTabs.h"

#include <QSplitter>

CFvMisc::CFvMisc(QWidget* parent) : QWidget(parent), m_splitter(new QSplitter(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("138"));
    m_splitter->setObjectName(QStringLiteral("previewSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setGeometry(rect());
}

void CFvMisc::SetPreviewTabs(CDlgPreviewTabs* tabs)
{
    m_tabs = tabs;
    if (m_tabs) {
        m_splitter->insertWidget(0, m_tabs);
        m_splitter->setStretchFactor(0, 1);
        m_tabs->show();
    }
}

void CFvMisc::SetBottomWindow(QWidget* window)
{
    m_splitter->addWidget(window);
    m_splitter->setStretchFactor(m_splitter->indexOf(window), 0);
    // A fifth of the pane at first, at least a few rows.
    const int total = std::max(height(), 400);
    const int bottom = std::max(160, total / 5);
    if (m_splitter->count() == 2)
        m_splitter->setSizes({total - bottom, bottom});
}

void CFvMisc::resizeEvent(QResizeEvent*)
{
    m_splitter->setGeometry(rect());
}
