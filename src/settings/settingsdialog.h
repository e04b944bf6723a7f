#pragma once

#include <QDialog>

class QPagedWidget;

// The frameless settings window; "Close" accepts it, Escape rejects it.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget *parent = nullptr);

signals:
    // The "Reset Layout" button: the window, columns and sort go back to
    // their first layout.
    void resetLayoutRequested();

private:
    QPagedWidget *m_pagedWidget;
};
