#pragma once

#include "settings/qpage.h"

// The product's name, version and maker.
class AboutPageWidget : public QPage
{
    Q_OBJECT

public:
    explicit AboutPageWidget(QWidget *parent = nullptr);
};
