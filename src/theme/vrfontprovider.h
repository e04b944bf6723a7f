#pragma once

#include <QFont>
#include <QString>

// The program's fonts: one family at a fixed set of pixel sizes, scaled like
// every other size on a high-density screen.
class VrFontProvider
{
public:
    static QString familyName();

    static QFont font13(int weight);
    static QFont font14(int weight);
    static QFont font16(int weight);
    static QFont font20(int weight);
    static QFont boldFont20();
    static QFont regularFont14();
    static QFont regularFont16();

private:
    static QFont make(int pixelSize, int weight);
};
