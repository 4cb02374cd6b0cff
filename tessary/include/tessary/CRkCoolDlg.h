#pragma once

#include "tessary/TessaryExport.h"

#include <QDialog>
#include <QStringList>

class CColorStatic;
class QBoxLayout;

/// A dialog in the program's look: a textured background, textured buttons
/// and hand-drawn group boxes while textures are on, and an optional
/// light-yellow help banner at the top.
class TESSARY_EXPORT CRkCoolDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CRkCoolDlg(QWidget* parent = nullptr);

    /// The texture of the background ("Background" unless set).
    void SetBackgroundBitmap(const QString& name);
    QString BackgroundBitmap() const { return m_bitmap; }

    /// Applies the current texture setting to the children again.
    void Restyle();

    /// Adds the help banner (control 42000) with its help texts (42001 and
    /// up) to a layout; dialogs and pages call it while building.
    static CColorStatic* AddHelpBanner(QWidget* owner, QBoxLayout* layout, const QStringList& texts);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString m_bitmap;
    bool m_styled = false;
};
