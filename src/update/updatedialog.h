#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// Shows the progress of an update download. Closing it only hides it; the
// download goes on.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateDialog(QWidget *parent = nullptr);

    void setProgress(int minimum, int maximum, int value);

    QProgressBar *progressBar() const { return m_progressBar; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_titleLabel;
    QPushButton *m_closeButton;
    QProgressBar *m_progressBar;
};
