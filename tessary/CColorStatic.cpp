#include "tessary/CColorStatic.h"

#include "tessary/CoolDisplay.h"

#include <QPainter>

CColorStatic::CColorStatic(QWidget* parent) : QWidget(parent) {}

void CColorStatic::SetBackColor(std::uint32_t colorRef)
{
    m_colour = colorRef;
    update();
}

void CColorStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(Qt::black));
    painter.setBrush(FromColorRef(m_colour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
