#include "widgets/abutton.h"

#include "theme/vrfontprovider.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

AButton::AButton(QWidget *parent)
    : QPushButton(parent)
{
    initialise();
}

AButton::AButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    initialise();
}

AButton::AButton(const QIcon &icon, const QString &text, QWidget *parent)
    : QPushButton(icon, text, parent)
{
    initialise();
}

void AButton::initialise()
{
    m_hoverEffect = true;
    m_backgroundColor = Qt::white;
    m_textColor = Qt::black;
    setFont(VrFontProvider::font20(QFont::Normal));
}

void AButton::enterEvent(QEvent *event)
{
    QPushButton::enterEvent(event);
    if (m_hoverEffect) {
        m_backgroundColor = Qt::black;
        m_textColor = Qt::white;
    }
    update();
}

void AButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    if (m_hoverEffect) {
        m_backgroundColor = Qt::white;
        m_textColor = Qt::black;
    }
    update();
}

void AButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.save();
    QStyleOptionButton option;
    initStyleOption(&option);

    const int w = width();
    const int h = height();
    QPainterPath path;
    path.addRoundedRect(1, 1, w - 2, h - 2, 0, 0);
    painter.setRenderHint(QPainter::Antialiasing);

    if (!option.text.isEmpty()) {
        painter.fillPath(path, m_backgroundColor);
        painter.setPen(m_textColor);
        painter.drawText(QRect(1, 1, w - 2, h - 2), Qt::AlignCenter, option.text);
    }
    if (!option.icon.isNull()) {
        painter.fillPath(path, Qt::transparent);
        const QIcon::Mode mode = isChecked() ? QIcon::Selected : QIcon::Normal;
        painter.drawPixmap(QRect(0, 0, w, h), option.icon.pixmap(QSize(w, h), mode, QIcon::Off));
    }
    painter.restore();
}
