#include "tessary/CRkCoolPage.h"

#include "tessary/CoolDisplay.h"

#include <QPainter>

CRkCoolPage::CRkCoolPage(QWidget* parent) : QWizardPage(parent), m_bitmap(QStringLiteral("Background")) {}

void CRkCoolPage::SetBackgroundBitmap(const QString& name)
{
    m_bitmap = name;
    update();
}

void CRkCoolPage::Restyle()
{
    RkModifyDialog(this);
    update();
}

void CRkCoolPage::paintEvent(QPaintEvent* event)
{
    QWizardPage::paintEvent(event);
    QPainter painter(this);
    DlgPaint(painter, this, 1, m_bitmap);
    SpecialPaintForPropertyPage(painter, this);
}

void CRkCoolPage::showEvent(QShowEvent* event)
{
    RkModifyDialog(this);
    QWizardPage::showEvent(event);
}
