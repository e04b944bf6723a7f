#pragma once

#include <QDialog>

class QMovie;
class QLabel;
class QPushButton;

// A small modal overlay with a turning wheel, shown while long work runs on
// the GUI thread. It starts the work 200 ms after it appears, so the overlay
// is painted first, and closes itself when the work returns.
class ProcessingBox : public QDialog
{
    Q_OBJECT

public:
    explicit ProcessingBox(QWidget *parent = nullptr);

    bool workDone() const { return m_workDone; }

    // Long work says how far it is ("1,234 of 10,000" under the wheel);
    // shorter work keeps the plain wheel.
    static constexpr int kProgressFrom = 200;
    void setProgress(int done, int total);
    // Offers a "Stop" button (and Escape) that asks the work to stop; the
    // work polls stopRequested() between steps and ends early.
    void setStoppable(bool stoppable);
    bool stopRequested() const { return m_stopRequested; }

public slots:
    void initiateAnimation();
    void reject() override;

signals:
    void sendASignal();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void growForText();

    QMovie *m_movie;
    QLabel *m_label;
    QLabel *m_progressLabel = nullptr;
    QPushButton *m_stopButton = nullptr;
    bool m_stopRequested = false;
    bool m_workStarted = false;
    bool m_workDone = false;
};
