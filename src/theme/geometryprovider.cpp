#include "theme/geometryprovider.h"

#include <cmath>

namespace {

double s_devicePixelRatio = 1.0;
double s_physicalDpi = 160.0;
double s_logicalDpi = 160.0;

int roundHalfUp(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

} // namespace

void GeometryProvider::setDevicePixelRatio(double ratio) { s_devicePixelRatio = ratio; }
void GeometryProvider::setPhysicalDpi(double dpi) { s_physicalDpi = dpi; }
void GeometryProvider::setLogicalDpi(double dpi) { s_logicalDpi = dpi; }

double GeometryProvider::devicePixelRatio() { return s_devicePixelRatio; }
double GeometryProvider::physicalDpi() { return s_physicalDpi; }
double GeometryProvider::logicalDpi() { return s_logicalDpi; }

int GeometryProvider::scaleFactor()
{
    if (s_devicePixelRatio > 1.5)
        return 2;
    return s_physicalDpi > 150 ? 2 : 1;
}

int GeometryProvider::imageFactor()
{
    if (s_devicePixelRatio > 1.5)
        return 2;
    return s_physicalDpi > 200 ? 2 : 1;
}

int GeometryProvider::dialogFactor()
{
    return s_physicalDpi > 200 ? 2 : 1;
}

// A high-density screen grows sizes by a third of the factor's growth, not by
// the whole factor: doubled widgets looked oversized next to native ones.
int GeometryProvider::scaled(int n)
{
    const int m = n * scaleFactor();
    if (m == n)
        return n;
    if (m > n)
        return n + (m - n) / 3;
    return n - (n - m) / 3;
}

double GeometryProvider::scaledReal(double n)
{
    return n + (n * scaleFactor() - n) / 3.0;
}

QSize GeometryProvider::scaledSize(int width, int height)
{
    const int s = scaleFactor();
    const int w2 = roundHalfUp(double(width) * s);
    const int h2 = roundHalfUp(double(height) * s);
    if (w2 > width && h2 > height)
        return QSize(width + roundHalfUp((w2 - width) / 3.0), height + roundHalfUp((h2 - height) / 3.0));
    if (w2 < width && h2 < height)
        return QSize(width - roundHalfUp((width - w2) / 3.0), height - roundHalfUp((height - h2) / 3.0));
    if (w2 == width && h2 == height)
        return QSize(width, height);
    return QSize(-1, -1);
}
