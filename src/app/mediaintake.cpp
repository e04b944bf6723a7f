#include "app/mediaintake.h"

#include "table/addmediafilewidget.h"
#include "table/mediascan.h"
#include "widgets/vrnotification.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

QStringList localPaths(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

MediaIntake::MediaIntake(QWidget *window, AddMediaFileWidget *table)
    : QObject(window)
    , m_table(table)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QStringList MediaIntake::addPaths(const QStringList &paths)
{
    const MediaScan::Result found = MediaScan::collect(paths);
    if (!found.missing.isEmpty()) {
        QStringList shown;
        for (const QString &path : found.missing)
            shown << QDir::toNativeSeparators(path);
        VrNotification::showNotification(QStringLiteral("Not found: ") + shown.join(QStringLiteral("; ")), Warning);
    }
    if (!found.files.isEmpty() || found.skipped > 0)
        m_table->addMedia(found.files, found.skipped);
    return found.missing;
}

bool MediaIntake::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (MediaScan::holdsMedia(localPaths(drag->mimeData())))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = localPaths(drop->mimeData());
        if (!MediaScan::holdsMedia(paths))
            return false;
        drop->acceptProposedAction();
        // Not inside the drop: the file manager waits for it to end, and
        // adding runs the overlay's own event loop.
        QTimer::singleShot(0, this, [this, paths] { addPaths(paths); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
