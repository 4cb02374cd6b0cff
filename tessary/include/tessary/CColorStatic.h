#pragma once

#include "tessary/TessaryExport.h"

#include <QWidget>

#include <cstdint>

/// A plain area in one colour, framed: the help banner of dialogs and the
/// colour swatches of pages.
class TESSARY_EXPORT CColorStatic : public QWidget
{
    Q_OBJECT
public:
    explicit CColorStatic(QWidget* parent = nullptr);

    /// The colour as a COLORREF (red in the low byte).
    void SetBackColor(std::uint32_t colorRef);
    std::uint32_t GetBackColor() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t m_colour = 0;
};
