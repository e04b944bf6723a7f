#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// Picks the image variants that suit the screen's density, and makes sure
// the embedded resources are registered.
class AppTheme
{
public:
    static QPixmap logoPixmap();
    static QIcon searchIcon();

    // The resources live in a static library; without a reference from the
    // executable the linker drops them. Safe to call more than once.
    static void registerResources();

    // Colours the code paints itself (item roles, painters, translucent
    // windows); everything a stylesheet rule can say is in Sonvel.qss.
    static QColor plainBackground();
    static QColor searchHit();
    // A cell whose text is not what its column holds.
    static QColor errorText();
    static QColor softEdge();
    static QColor notificationPanel();
    static QColor notificationEdge();
};
