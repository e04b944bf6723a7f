#pragma once

#include <QWidget>

// The base of every page a QPagedWidget shows.
class QPage : public QWidget
{
    Q_OBJECT

public:
    explicit QPage(QWidget *parent = nullptr);
};
