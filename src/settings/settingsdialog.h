#pragma once

#include <QDialog>

class QPagedWidget;

// The frameless settings window; "Close" accepts it, Escape rejects it.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget *parent = nullptr);

private:
    QPagedWidget *m_pagedWidget;
};
