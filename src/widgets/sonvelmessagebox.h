#pragma once

#include <QDialog>
#include <QPoint>

class QLabel;
class QPushButton;

// The program's own frameless confirmation box. exec() returns
// QDialog::Accepted only when "Ok" was pressed.
class SonvelMessageBox : public QDialog
{
    Q_OBJECT

public:
    explicit SonvelMessageBox(QWidget *parent = nullptr);

    void setMessage(const QString &kind, const QString &text);

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
    bool m_dragging = false;
    QPoint m_pressPosition;
};
