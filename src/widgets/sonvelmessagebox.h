#pragma once

#include <QDialog>
#include <QPoint>

class QLabel;
class QPushButton;

// The program's own frameless confirmation box. exec() returns
// QDialog::Accepted only when "Ok" (or "Save") was pressed.
class SonvelMessageBox : public QDialog
{
    Q_OBJECT

public:
    explicit SonvelMessageBox(QWidget *parent = nullptr);

    // exec()'s answers; Discarded only comes from a box that offers saving.
    enum Answer { Cancelled = QDialog::Rejected, Confirmed = QDialog::Accepted, Discarded = 2 };

    void setMessage(const QString &kind, const QString &text);
    // "Save", "Discard" and "Cancel" instead of "Ok" and "Cancel".
    void offerSaving();

public slots:
    void ok_Clicked();
    void cancel_Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_titleLabel;
    QLabel *m_iconLabel;
    QLabel *m_messageLabel;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    QPushButton *m_discardButton;
    bool m_dragging = false;
    QPoint m_pressPosition;
};
