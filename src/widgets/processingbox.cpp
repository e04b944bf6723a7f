#include "widgets/processingbox.h"

#include "theme/apptheme.h"
#include "theme/geometryprovider.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMovie>
#include <QTimer>

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
// never done: a save that silently saves nothing. Hold them off until then.
void ProcessingBox::reject()
{
    if (m_workDone)
        QDialog::reject();
}

void ProcessingBox::closeEvent(QCloseEvent *event)
{
    if (!m_workDone) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
