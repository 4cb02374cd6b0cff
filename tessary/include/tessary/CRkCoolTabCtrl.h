#pragma once

#include "tessary/TessaryExport.h"

#include <QTabWidget>

/// The tab control of property sheets: with textures on, its tabs are
/// painted on the texture like buttons, and the strip beside the last tab
/// shows its background texture.
class TESSARY_EXPORT CRkCoolTabCtrl : public QTabWidget
{
    Q_OBJECT
public:
    explicit CRkCoolTabCtrl(QWidget* parent = nullptr);

    void SetBackGround(const QString& name);
    QString BackGround() const;
};
