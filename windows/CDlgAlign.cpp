#include "windows/CDlgAlign.h"

#include "windows/AlignPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CDlgAlign::CDlgAlign(CTrelvarDoc* document, MessageReporter* reporter, QWidget* parent) : CRkCoolDlg(parent)
{
    setObjectName(QStringLiteral("AlignDialog"));
    setWindowTitle(tr("Align with a translated script"));
    auto* layout = new QVBoxLayout(this);
    AddHelpBanner(this, layout,
                  {tr("Choose a script of the dictionary and the copy a translator made of it. "),
                   tr("Its texts become the translations of the dictionary's texts, paired by their "
                      "resources and identifiers.")});
    m_panel = new AlignPanel(document, reporter, this);
    layout->addWidget(m_panel, 1);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(tr("Close"), this);
    close->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    m_panel->AlignButton()->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, sizeHint().height());
}
