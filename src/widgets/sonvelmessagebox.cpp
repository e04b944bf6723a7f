#include "widgets/sonvelmessagebox.h"

#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/softpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

SonvelMessageBox::SonvelMessageBox(QWidget *parent)
    : QDialog(parent)
    , m_titleLabel(new QLabel)
    , m_iconLabel(new QLabel)
    , m_messageLabel(new QLabel)
    , m_okButton(new QPushButton(tr("Ok")))
    , m_cancelButton(new QPushButton(tr("Cancel")))
    , m_discardButton(new QPushButton(tr("Discard")))
{
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_discardButton->setObjectName(QStringLiteral("discardButton"));

    m_titleLabel->setFont(VrFontProvider::font20(QFont::Bold));
    m_titleLabel->setProperty("dialogTitle", true);

    m_messageLabel->setFont(VrFontProvider::font14(QFont::Normal));
    m_messageLabel->setProperty("dialogMessage", true);

    for (QPushButton *button : {m_okButton, m_discardButton, m_cancelButton}) {
        button->setFont(VrFontProvider::font14(QFont::Normal));
        button->setMinimumHeight(GeometryProvider::scaled(30));
        button->setMinimumWidth(GeometryProvider::scaled(100));
        makeDialogButton(button);
    }
    connect(m_okButton, &QPushButton::clicked, this, &SonvelMessageBox::ok_Clicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &SonvelMessageBox::cancel_Clicked);
    connect(m_discardButton, &QPushButton::clicked, this, [this] { done(Discarded); });
    m_discardButton->hide();

    auto *titleBar = new QWidget(this);
    auto *titleLayout = new QHBoxLayout(titleBar);
    titleLayout->addWidget(m_titleLabel, 0, Qt::AlignCenter);

    auto *iconColumn = new QVBoxLayout;
    iconColumn->addWidget(m_iconLabel, 0, Qt::AlignCenter);

    auto *messageRow = new QHBoxLayout;
    messageRow->addSpacing(5);
    messageRow->addWidget(m_messageLabel, 1);

    auto *bodyRow = new QHBoxLayout;
    bodyRow->addSpacing(10);
    bodyRow->addLayout(iconColumn);
    bodyRow->addSpacing(10);
    bodyRow->addLayout(messageRow);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(10, 10, 10, 10);
    buttonRow->addStretch();
    buttonRow->addWidget(m_okButton);
    buttonRow->addWidget(m_discardButton);
    buttonRow->addWidget(m_cancelButton);
    buttonRow->addSpacing(10);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(10, 0, 10, 10);
    mainLayout->addWidget(titleBar);
    mainLayout->addSpacing(10);
    mainLayout->addLayout(bodyRow);
    mainLayout->addSpacing(10);
    mainLayout->addLayout(buttonRow);

    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));

    const int factor = GeometryProvider::dialogFactor();
    setMinimumSize(480 * factor, 260 * factor);
    adjustSize();
}

void SonvelMessageBox::setMessage(const QString &kind, const QString &text)
{
    if (kind == QLatin1String("warning")) {
        m_iconLabel->setPixmap(QPixmap(QStringLiteral(":/images/warning2.png")));
        m_titleLabel->setText(QStringLiteral("Warning"));
    }
    m_messageLabel->setText(text);
    m_messageLabel->setWordWrap(true);
}

void SonvelMessageBox::offerSaving()
{
    m_okButton->setText(tr("Save"));
    m_discardButton->show();
}

void SonvelMessageBox::ok_Clicked()
{
    accept();
}

void SonvelMessageBox::cancel_Clicked()
{
    close();
}

void SonvelMessageBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.save();
    SoftPanel::paint(painter, width(), height());
    painter.restore();
}

// The box has no window-system title bar, so it moves by dragging its body.
void SonvelMessageBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressPosition = event->localPos().toPoint();
    }
    QDialog::mousePressEvent(event);
}

void SonvelMessageBox::mouseMoveEvent(QMouseEvent *event)
{
    if ((event->buttons() & Qt::LeftButton) && m_dragging)
        move(pos() + (event->localPos().toPoint() - m_pressPosition));
    QDialog::mouseMoveEvent(event);
}

void SonvelMessageBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
