#pragma once

#include "widgets/vrnotification.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

// The notifications on screen, read the way a user sees them: their text and
// the kind their icon tells.
inline QList<VrNotification *> liveNotifications()
{
    QList<VrNotification *> list;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *notification = qobject_cast<VrNotification *>(widget))
            list.append(notification);
    }
    return list;
}

inline QString notificationText(const VrNotification *notification)
{
    const auto *label = notification->findChild<QLabel *>(QStringLiteral("textLabel"));
    return label ? label->text() : QString();
}

// Success, Error, Warning or Info by the icon shown; -1 for none of them.
inline int notificationKind(const VrNotification *notification)
{
    const auto *icon = notification->findChild<QLabel *>(QStringLiteral("iconLabel"));
    const QImage shown = icon ? icon->pixmap(Qt::ReturnByValue).toImage() : QImage();
    for (int kind : {Success, Error, Warning, Info}) {
        if (!shown.isNull() && shown == QPixmap(VrNotification::iconPath(kind)).toImage())
            return kind;
    }
    return -1;
}

// The notifications that appeared since it was made, by their text.
class NotificationWatch
{
public:
    NotificationWatch()
    {
        for (VrNotification *notification : liveNotifications())
            m_before.append(notification);
    }

    QStringList texts() const
    {
        QStringList list;
        for (VrNotification *notification : liveNotifications()) {
            if (!m_before.contains(notification))
                list << notificationText(notification);
        }
        return list;
    }

private:
    QList<QPointer<VrNotification>> m_before;
};

inline void closeNotifications()
{
    qDeleteAll(liveNotifications());
}
