#include "widgets/vrnotification.h"

#include "theme/apptheme.h"
#include "theme/vrfontprovider.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>

namespace {

constexpr int kTopMargin = 10;
constexpr int kStackGap = 10;

// Notifications still on screen, oldest first, so a new one can be placed
// below them instead of hiding them.
QList<QPointer<VrNotification>> &liveNotifications()
{
    static QList<QPointer<VrNotification>> list;
    return list;
}

QPointer<QWidget> &host()
{
    static QPointer<QWidget> window;
    return window;
}

} // namespace

void VrNotification::setHost(QWidget *window)
{
    host() = window;
}

VrNotification::VrNotification(const QString &message, int kind, QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
    , m_iconLabel(new QLabel)
    , m_textLabel(new QLabel(message))
{
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);

    QPalette palette;
    palette.setColor(QPalette::All, QPalette::Window, AppTheme::notificationPanel());
    palette.setColor(QPalette::All, QPalette::Base, AppTheme::notificationEdge());
    palette.setColor(QPalette::All, QPalette::WindowText, Qt::white);
    setPalette(palette);

    setWindowOpacity(0.9);

    if (message.size() > 60)
        m_textLabel->setWordWrap(true);
    m_textLabel->setPalette(palette);
    m_textLabel->setFont(VrFontProvider::font16(QFont::Normal));

    const QString icon = iconPath(kind);
    m_iconLabel->setPixmap(icon.isEmpty() ? QPixmap() : QPixmap(icon));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_iconLabel);
    layout->addWidget(m_textLabel);
}

QString VrNotification::iconPath(int kind)
{
    switch (kind) {
    case Success:
        return QStringLiteral(":/images/success-icon.png");
    case Error:
        return QStringLiteral(":/images/error.png");
    case Warning:
        return QStringLiteral(":/images/warning.png");
    case Info:
        return QStringLiteral(":/images/info.png");
    default:
        return QString();
    }
}

void VrNotification::showNotification(const QString &message, int kind)
{
    QWidget *mainWindow = host();
    auto *notification = new VrNotification(message, kind, mainWindow);
    notification->updateGeometry();
    notification->show();
    notification->hide();

    QList<QPointer<VrNotification>> &live = liveNotifications();
    live.removeAll(nullptr);

    int y = kTopMargin;
    QPoint origin;
    int hostWidth = 0;
    if (mainWindow) {
        origin = mainWindow->mapToGlobal(QPoint(0, 0));
        hostWidth = mainWindow->width();
    }
    for (const QPointer<VrNotification> &other : qAsConst(live)) {
        if (other->isVisible())
            y = qMax(y, other->geometry().bottom() + 1 - origin.y() + kStackGap);
    }

    const int x = (hostWidth - 1) / 2 - (notification->width() - 1) / 2;
    notification->move(origin + QPoint(x, y));
    notification->show();
    live.append(notification);

    QTimer::singleShot(2000, notification, &VrNotification::timeToHide);
}

void VrNotification::timeToHide()
{
    auto *animation = new QPropertyAnimation(this, "windowOpacity", this);
    animation->setDuration(2000);
    animation->setStartValue(windowOpacity());
    animation->setEndValue(0.0);
    connect(animation, &QPropertyAnimation::finished, this, &QWidget::close);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void VrNotification::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addRoundedRect(2, 2, width() - 4, height() - 4, 6, 6, Qt::AbsoluteSize);
    painter.setClipPath(path, Qt::ReplaceClip);
    painter.fillPath(path, QBrush(palette().color(QPalette::Window)));
    painter.setPen(palette().color(QPalette::Base));
    painter.drawPath(path);
    painter.restore();
}
