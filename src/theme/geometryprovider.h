#pragma once

#include <QSize>

// Screen values recorded once at start-up, and the one rule that turns a
// nominal pixel size into the size to use on this screen.
class GeometryProvider
{
public:
    static void setDevicePixelRatio(double ratio);
    static void setPhysicalDpi(double dpi);
    static void setLogicalDpi(double dpi);

    static double devicePixelRatio();
    static double physicalDpi();
    static double logicalDpi();

    static int scaleFactor();
    static int imageFactor();
    static int dialogFactor();

    static int scaled(int n);
    static double scaledReal(double n);
    static QSize scaledSize(int width, int height);
};
