#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"

#include <QtTest>

class TestGeometryProvider : public QObject
{
    Q_OBJECT

private slots:
    void factors_data();
    void factors();
    void scaled_data();
    void scaled();
    void scaledSize_data();
    void scaledSize();
    void fontPixelSizes_data();
    void fontPixelSizes();

private:
    static void setMetrics(double ratio, double physicalDpi)
    {
        GeometryProvider::setDevicePixelRatio(ratio);
        GeometryProvider::setPhysicalDpi(physicalDpi);
        GeometryProvider::setLogicalDpi(96);
    }
};

void TestGeometryProvider::factors_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("dialog");

    QTest::newRow("ordinary screen") << 1.0 << 96.0 << 1 << 1 << 1;
    QTest::newRow("dense but below image threshold") << 1.0 << 160.0 << 2 << 1 << 1;
    QTest::newRow("ratio 2, ordinary dpi") << 2.0 << 96.0 << 2 << 2 << 1;
    QTest::newRow("ratio 2, very dense") << 2.0 << 220.0 << 2 << 2 << 2;
    QTest::newRow("ratio exactly 1.5") << 1.5 << 96.0 << 1 << 1 << 1;
    QTest::newRow("dpi exactly 150") << 1.0 << 150.0 << 1 << 1 << 1;
    QTest::newRow("dpi exactly 200") << 1.0 << 200.0 << 2 << 1 << 1;
    QTest::newRow("dpi just above 200") << 1.0 << 200.5 << 2 << 2 << 2;
}

void TestGeometryProvider::factors()
{
    QFETCH(double, ratio);
    QFETCH(double, dpi);
    setMetrics(ratio, dpi);
    QTEST(GeometryProvider::scaleFactor(), "scale");
    QTEST(GeometryProvider::imageFactor(), "image");
    QTEST(GeometryProvider::dialogFactor(), "dialog");
}

void TestGeometryProvider::scaled_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("expected");

    const QList<QPair<int, int>> doubled = {{16, 21}, {30, 40}, {35, 46}, {40, 53}, {50, 66},
                                            {80, 106}, {100, 133}, {130, 173}, {150, 200}, {400, 533}};
    for (const auto &pair : doubled) {
        QTest::addRow("x2 %d", pair.first) << 2 << pair.first << pair.second;
        QTest::addRow("x1 %d", pair.first) << 1 << pair.first << pair.first;
    }
    QTest::newRow("x2 zero") << 2 << 0 << 0;
}

void TestGeometryProvider::scaled()
{
    QFETCH(int, factor);
    QFETCH(int, n);
    setMetrics(1.0, factor == 2 ? 160.0 : 96.0);
    QCOMPARE(GeometryProvider::scaleFactor(), factor);
    QTEST(GeometryProvider::scaled(n), "expected");
}

void TestGeometryProvider::scaledSize_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<QSize>("input");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("settings dialog doubled") << 2 << QSize(500, 350) << QSize(667, 467);
    QTest::newRow("unchanged on ordinary screen") << 1 << QSize(500, 350) << QSize(500, 350);
    QTest::newRow("zero width with growing height") << 2 << QSize(0, 350) << QSize(-1, -1);
    QTest::newRow("rounds half up") << 2 << QSize(1, 2) << QSize(1, 3);
}

void TestGeometryProvider::scaledSize()
{
    QFETCH(int, factor);
    QFETCH(QSize, input);
    setMetrics(1.0, factor == 2 ? 160.0 : 96.0);
    QTEST(GeometryProvider::scaledSize(input.width(), input.height()), "expected");
}

void TestGeometryProvider::fontPixelSizes_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("weight");

    setMetrics(1.0, 160.0);
    QTest::newRow("13 doubled") << 2 << VrFontProvider::font13(QFont::Normal) << 17 << int(QFont::Normal);
    QTest::newRow("14 doubled") << 2 << VrFontProvider::regularFont14() << 18 << int(QFont::Normal);
    QTest::newRow("16 doubled") << 2 << VrFontProvider::regularFont16() << 21 << int(QFont::Normal);
    QTest::newRow("20 bold doubled") << 2 << VrFontProvider::boldFont20() << 26 << int(QFont::Bold);
    setMetrics(1.0, 96.0);
    QTest::newRow("13 nominal") << 1 << VrFontProvider::font13(QFont::Normal) << 13 << int(QFont::Normal);
    QTest::newRow("20 nominal") << 1 << VrFontProvider::font20(QFont::Normal) << 20 << int(QFont::Normal);
}

void TestGeometryProvider::fontPixelSizes()
{
    QFETCH(QFont, font);
    QCOMPARE(font.family(), QStringLiteral("Droid Sans"));
    QTEST(font.pixelSize(), "pixelSize");
    QTEST(font.weight(), "weight");
}

QTEST_MAIN(TestGeometryProvider)
#include "tst_geometryprovider.moc"
