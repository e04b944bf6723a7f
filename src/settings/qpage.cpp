#include "settings/qpage.h"

QPage::QPage(QWidget *parent)
    : QWidget(parent)
{
}
