#include "update/updatedialog.h"

#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/softpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariant>

UpdateDialog::UpdateDialog(QWidget *parent)
    : QDialog(parent)
    , m_titleLabel(new QLabel)
    , m_closeButton(new QPushButton(QStringLiteral("Close")))
    , m_progressBar(new QProgressBar(this))
{
    m_titleLabel->setText(QStringLiteral("Application Update"));
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_titleLabel->setFont(VrFontProvider::font20(QFont::Bold));
    m_titleLabel->setProperty("dialogTitle", true);

    m_progressBar->setTextVisible(false);
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);

    m_closeButton->setFont(VrFontProvider::font16(QFont::Normal));
    m_closeButton->setMinimumHeight(GeometryProvider::scaled(40));
    makeDialogButton(m_closeButton);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_closeButton);
    buttonRow->addStretch();

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(20, 10, 20, 10);
    mainLayout->addWidget(m_titleLabel);
    mainLayout->addSpacing(10);
    mainLayout->addWidget(m_progressBar);
    mainLayout->addSpacing(10);
    mainLayout->addLayout(buttonRow);
    mainLayout->addSpacing(10);

    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));
    setFixedHeight(GeometryProvider::scaled(150));
    setFixedWidth(GeometryProvider::scaled(400));
}

void UpdateDialog::setProgress(int minimum, int maximum, int value)
{
    m_progressBar->setMaximum(maximum);
    m_progressBar->setMinimum(minimum);
    m_progressBar->setValue(value);
}

void UpdateDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.save();
    SoftPanel::paint(painter, width(), height());
    painter.restore();
}
