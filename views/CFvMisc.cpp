#include "views/CFvMisc.h"

#include "preview/CDlgPreviewTabs.h"

CFvMisc::CFvMisc(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("138"));
}

void CFvMisc::SetPreviewTabs(CDlgPreviewTabs* tabs)
{
    m_tabs = tabs;
    if (m_tabs) {
        m_tabs->setParent(this);
        m_tabs->setGeometry(rect());
        m_tabs->show();
    }
}

void CFvMisc::resizeEvent(QResizeEvent*)
{
    if (m_tabs)
        m_tabs->setGeometry(rect());
}
