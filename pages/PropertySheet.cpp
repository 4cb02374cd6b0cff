#include "pages/PropertySheet.h"

#include "tessary/CRkCoolTabCtrl.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

SheetPage::SheetPage(const QString& caption, const char* id, QWidget* parent) : CRkCoolPage(parent)
{
    setObjectName(QString::fromLatin1(id));
    setTitle(caption);
}

QPushButton* SheetPage::NewButton(QWidget* parent, const QString& text, const char* id)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}

PropertySheet::PropertySheet(const QString& caption, const char* id, QWidget* parent)
    : CRkCoolDlg(parent), m_tabs(new CRkCoolTabCtrl(this))
{
    setObjectName(QString::fromLatin1(id));
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setIconSize(QSize(16, 16));
    layout->addWidget(m_tabs, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void PropertySheet::AddPage(SheetPage* page, const QString& icon)
{
    m_tabs->addTab(page, QIcon(QStringLiteral(":/lorvo/icons/%1.png").arg(icon)), page->title());
}

int PropertySheet::PageCount() const
{
    return m_tabs->count();
}

SheetPage* PropertySheet::Page(int index) const
{
    return qobject_cast<SheetPage*>(m_tabs->widget(index));
}

void PropertySheet::accept()
{
    for (int i = 0; i < PageCount(); ++i)
        Page(i)->OnApply();
    CRkCoolDlg::accept();
}
