#include "table/coverartdisplaybox.h"

#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/softpanel.h"
#include "widgets/vrnotification.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

CoverArtDisplayBox::OpenFileDialog CoverArtDisplayBox::openFileDialog =
    [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };

CoverArtDisplayBox::CoverArtDisplayBox(QWidget *parent)
    : QDialog(parent)
    , m_pictureLabel(new QLabel)
    , m_replaceButton(new QPushButton(QStringLiteral("Replace Artwork")))
    , m_closeButton(new QPushButton(QStringLiteral("Close")))
{
    m_pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    m_replaceButton->setObjectName(QStringLiteral("replaceArtworkButton"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    for (QPushButton *button : {m_replaceButton, m_closeButton}) {
        button->setFont(VrFontProvider::font16(QFont::Normal));
        button->setMinimumHeight(GeometryProvider::scaled(40));
        makeDialogButton(button);
    }
    connect(m_replaceButton, &QPushButton::clicked, this, &CoverArtDisplayBox::replace_Art_ButtonClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto *pictureRow = new QHBoxLayout;
    pictureRow->addStretch();
    pictureRow->addWidget(m_pictureLabel);
    pictureRow->addStretch();

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_replaceButton);
    buttonRow->addStretch();
    buttonRow->addWidget(m_closeButton);
    buttonRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 10, 5, 10);
    layout->addLayout(pictureRow);
    layout->addSpacing(5);
    layout->addLayout(buttonRow);
    layout->addSpacing(2);

    setWindowFlags(Qt::CustomizeWindowHint | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));
    setFixedSize(GeometryProvider::scaled(300), GeometryProvider::scaled(300));
}

void CoverArtDisplayBox::setImage(const QImage &image)
{
    m_pictureLabel->setPixmap(QPixmap::fromImage(image));
}

void CoverArtDisplayBox::setCover(const QPixmap &cover)
{
    const QPixmap shown = cover.isNull() ? QPixmap(QStringLiteral(":/images/cover image not found.jpg")) : cover;
    setImage(shown.scaled(kPreviewSize, kPreviewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).toImage());
}

QImage CoverArtDisplayBox::shownImage() const
{
    return m_pictureLabel->pixmap(Qt::ReturnByValue).toImage();
}

void CoverArtDisplayBox::replace_Art_ButtonClicked()
{
    QString path = openFileDialog(this, tr("Choose Cover Art"), QDir::currentPath(), tr("Image Files (*.png *.jpg)"));
    if (path.isEmpty())
        return;
    const QPixmap picture(path);
    // An unreadable file would install an empty picture, and the next save
    // would then remove every picture of the song.
    if (picture.isNull()) {
        VrNotification::showNotification(
            QStringLiteral("\"%1\" could not be read as a picture.").arg(QFileInfo(path).fileName()), Error);
        return;
    }
    m_pictureLabel->setPixmap(
        picture.scaled(kPreviewSize, kPreviewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    emit passCoverPicFileLoc(path);
}

void CoverArtDisplayBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    SoftPanel::paint(painter, width(), height());
}
