#pragma once

#include <QRect>
#include <QSize>

// The main window's first placement: 90 % x 80 % of the available area,
// centred in a W x H area whose corner is at (0, 0).
QRect initialMainWindowGeometry(const QSize &available);
