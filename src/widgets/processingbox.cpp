#include "widgets/processingbox.h"

#include "theme/apptheme.h"
#include "theme/geometryprovider.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMovie>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

ProcessingBox::ProcessingBox(QWidget *parent)
    : QDialog(parent)
    , m_movie(new QMovie(QStringLiteral(":/images/processing-wheel.gif"), QByteArray(), this))
    , m_label(new QLabel(this))
{
    m_label->setMaximumHeight(GeometryProvider::scaled(80));
    m_label->setMaximumWidth(GeometryProvider::scaled(80));
    m_label->setMovie(m_movie);
    m_movie->start();

    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);

    QPalette palette = this->palette();
    palette.setBrush(QPalette::All, QPalette::Window, AppTheme::plainBackground());
    setAutoFillBackground(true);
    setPalette(palette);

    setFixedHeight(GeometryProvider::scaled(80));
    setFixedWidth(GeometryProvider::scaled(80));
    setModal(true);

    QTimer::singleShot(200, this, &ProcessingBox::initiateAnimation);
}

void ProcessingBox::initiateAnimation()
{
    if (m_workStarted)
        return;
    m_workStarted = true;
    m_movie->stop();
    m_movie->start();
    raise();
    activateWindow();
    emit sendASignal();
    m_workDone = true;
    reject();
}

// Escape or a close before the work has run would end the box with the work
// never done: a save that silently saves nothing. Hold them off until then;
// where the work may stop, Escape asks it to.
void ProcessingBox::reject()
{
    if (m_workDone)
        QDialog::reject();
    else if (m_stopButton)
        m_stopRequested = true;
}

void ProcessingBox::setProgress(int done, int total)
{
    if (total < kProgressFrom)
        return;
    // The C locale groups no digits; thousands of files read better grouped.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    growForText();
    m_progressLabel->setText(tr("%1 of %2").arg(locale.toString(done), locale.toString(total)));
}

void ProcessingBox::setStoppable(bool stoppable)
{
    growForText();
    m_stopButton->setVisible(stoppable);
}

// The plain box is the wheel alone; text and a button need a larger one.
void ProcessingBox::growForText()
{
    if (m_progressLabel)
        return;
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("progressLabel"));
    m_progressLabel->setAlignment(Qt::AlignCenter);
    m_stopButton = new QPushButton(tr("Stop"), this);
    m_stopButton->setObjectName(QStringLiteral("stopButton"));
    m_stopButton->setProperty("custom_messagebox", true);
    m_stopButton->setFocusPolicy(Qt::NoFocus);
    m_stopButton->hide();
    connect(m_stopButton, &QPushButton::clicked, this, [this] { m_stopRequested = true; });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(GeometryProvider::scaled(10), GeometryProvider::scaled(10),
                               GeometryProvider::scaled(10), GeometryProvider::scaled(10));
    layout->addWidget(m_label, 0, Qt::AlignHCenter);
    layout->addWidget(m_progressLabel);
    layout->addWidget(m_stopButton, 0, Qt::AlignHCenter);
    setFixedSize(GeometryProvider::scaledSize(200, 170));
}

void ProcessingBox::closeEvent(QCloseEvent *event)
{
    if (!m_workDone) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
