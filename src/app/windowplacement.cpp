#include "app/windowplacement.h"

QRect initialMainWindowGeometry(const QSize &available)
{
    const int width = static_cast<int>(available.width() * 0.9);
    const int height = static_cast<int>(available.height() * 0.8);
    const int x = available.width() / 2 - width / 2;
    const int y = available.height() / 2 - height / 2;
    return QRect(x, y, width, height);
}

QRect restoredMainWindowGeometry(const QRect &saved, const QList<QRect> &screens, const QSize &primaryAvailable)
{
    if (saved.isValid()) {
        for (const QRect &screen : screens) {
            if (screen.contains(saved.center()))
                return saved;
        }
    }
    return initialMainWindowGeometry(primaryAvailable);
}
