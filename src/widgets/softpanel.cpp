#include "widgets/softpanel.h"

#include "theme/apptheme.h"

#include <QPainter>
#include <QPainterPath>

void SoftPanel::paint(QPainter &painter, int width, int height)
{
    painter.fillRect(0, 0, width, height, Qt::transparent);
    for (int i = 0; i < 6; ++i) {
        QColor edge = AppTheme::softEdge();
        edge.setAlpha(42 * i);
        painter.setPen(edge);
        painter.drawRoundedRect(i, i, width - 2 * i, height - 2 * i, 6, 6);
    }
    QPainterPath panel;
    panel.addRoundedRect(5, 5, width - 10, height - 10, 6, 6);
    painter.fillPath(panel, Qt::white);
}
