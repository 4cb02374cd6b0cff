#pragma once

#include "tessary/TessaryExport.h"

#include <QWizardPage>

/// A property or wizard page in the program's look (see CRkCoolDlg).
class TESSARY_EXPORT CRkCoolPage : public QWizardPage
{
    Q_OBJECT
public:
    explicit CRkCoolPage(QWidget* parent = nullptr);

    void SetBackgroundBitmap(const QString& name);
    QString BackgroundBitmap() const { return m_bitmap; }
    void Restyle();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString m_bitmap;
};
