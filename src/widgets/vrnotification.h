#pragma once

#include <QWidget>

class QLabel;

enum NotificationKind {
    Success = 0,
    Error = 1,
    Warning = 2,
    Info = 3,
};

// A short-lived frameless message near the top of the main window: shown for
// two seconds, faded out over two more, then deleted. Fire and forget.
class VrNotification : public QWidget
{
    Q_OBJECT

public:
    VrNotification(const QString &message, int kind, QWidget *parent = nullptr);

    static void showNotification(const QString &message, int kind);

    // The window notifications are placed over, set by whoever owns it; with
    // none they appear at the screen's top-left.
    static void setHost(QWidget *host);

    static QString iconPath(int kind);

public slots:
    void timeToHide();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_iconLabel;
    QLabel *m_textLabel;
};
