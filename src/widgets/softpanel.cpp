#include "widgets/softpanel.h"

#include <QPainter>
#include <QPainterPath>

void SoftPanel::paint(QPainter &painter, int width, int height)
{
    painter.fillRect(0, 0, width, height, Qt::transparent);
    for (int i = 0; i < 6; ++i) {
        painter.setPen(QColor(200, 200, 200, 42 * i));
        painter.drawRoundedRect(i, i, width - 2 * i, height - 2 * i, 6, 6);
    }
    QPainterPath panel;
    panel.addRoundedRect(5, 5, width - 10, height - 10, 6, 6);
    painter.fillPath(panel, Qt::white);
}
