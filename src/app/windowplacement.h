#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// The main window's first placement: 90 % x 80 % of the available area,
// centred in a W x H area whose corner is at (0, 0).
QRect initialMainWindowGeometry(const QSize &available);

// Where a remembered window goes: where it was while its middle is still on
// one of the screens' available areas, else its first placement on the
// primary screen (so a window left on an unplugged monitor comes back).
QRect restoredMainWindowGeometry(const QRect &saved, const QList<QRect> &screens, const QSize &primaryAvailable);
