#include "theme/vrfontprovider.h"

#include "theme/geometryprovider.h"

QString VrFontProvider::familyName()
{
    return QStringLiteral("Droid Sans");
}

QFont VrFontProvider::make(int pixelSize, int weight)
{
    QFont font(familyName());
    font.setPixelSize(static_cast<int>(GeometryProvider::scaledReal(pixelSize)));
    font.setWeight(weight);
    return font;
}

QFont VrFontProvider::font13(int weight) { return make(13, weight); }
QFont VrFontProvider::font14(int weight) { return make(14, weight); }
QFont VrFontProvider::font16(int weight) { return make(16, weight); }
QFont VrFontProvider::font20(int weight) { return make(20, weight); }
QFont VrFontProvider::boldFont20() { return make(20, QFont::Bold); }
QFont VrFontProvider::regularFont14() { return make(14, QFont::Normal); }
QFont VrFontProvider::regularFont16() { return make(16, QFont::Normal); }
