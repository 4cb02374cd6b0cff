#include "tessary/CRkCoolDlg.h"

#include "tessary/CColorStatic.h"
#include "tessary/CoolDisplay.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>

CRkCoolDlg::CRkCoolDlg(QWidget* parent) : QDialog(parent), m_bitmap(QStringLiteral("Background")) {}

void CRkCoolDlg::SetBackgroundBitmap(const QString& name)
{
    m_bitmap = name;
    update();
}

void CRkCoolDlg::Restyle()
{
    RkModifyDialog(this);
    update();
}

CColorStatic* CRkCoolDlg::AddHelpBanner(QWidget* owner, QBoxLayout* layout, const QStringList& texts)
{
    auto* banner = new CColorStatic(owner);
    banner->setObjectName(QStringLiteral("42000"));
    // Light yellow; a paler one where the display has few colours.
    banner->SetBackColor(owner && owner->depth() <= 8 ? 0x80FFFF : 0xC8FFFF);
    auto* inner = new QVBoxLayout(banner);
    inner->setContentsMargins(10, 6, 10, 6);
    inner->setSpacing(4);
    int id = 42001;
    for (const QString& text : texts) {
        auto* label = new QLabel(text, banner);
        label->setObjectName(QString::number(id++));
        label->setWordWrap(true);
        inner->addWidget(label);
    }
    layout->addWidget(banner);
    return banner;
}

void CRkCoolDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    DlgPaint(painter, this, 1, m_bitmap);
}

void CRkCoolDlg::showEvent(QShowEvent* event)
{
    if (!m_styled) {
        m_styled = true;
        RkModifyDialog(this);
    }
    QDialog::showEvent(event);
}
