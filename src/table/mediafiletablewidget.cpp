#include "table/mediafiletablewidget.h"

MediaFileTableWidget::MediaFileTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
}
