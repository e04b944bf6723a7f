#pragma once

#include <QDialog>

class QMovie;
class QLabel;

// A small modal overlay with a turning wheel, shown while long work runs on
// the GUI thread. It starts the work 200 ms after it appears, so the overlay
// is painted first, and closes itself when the work returns.
class ProcessingBox : public QDialog
{
    Q_OBJECT

public:
    explicit ProcessingBox(QWidget *parent = nullptr);

    bool workDone() const { return m_workDone; }

public slots:
    void initiateAnimation();
    void reject() override;

signals:
    void sendASignal();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QMovie *m_movie;
    QLabel *m_label;
    bool m_workStarted = false;
    bool m_workDone = false;
};
