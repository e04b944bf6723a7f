#pragma once

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
};
