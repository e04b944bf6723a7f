#include "app/productinfo.h"
#include "common/testmain.h"
#include "settings/aboutpagewidget.h"
#include "settings/qpage.h"
#include "settings/qpagedwidget.h"
#include "settings/settingsdialog.h"
#include "theme/geometryprovider.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>

namespace {

void setScreen(double ratio, double physicalDpi)
{
    GeometryProvider::setDevicePixelRatio(ratio);
    GeometryProvider::setPhysicalDpi(physicalDpi);
}

// A paged widget with the given titles, one distinct page per title.
struct PagedFixture
{
    explicit PagedFixture(const QStringList &titles)
    {
        for (const QString &title : titles) {
            auto *page = new QPage(&widget);
            pages.append(page);
            widget.addPage(title, page);
        }
        list = widget.findChild<QListWidget *>(QStringLiteral("pageList"));
        stack = widget.findChild<QStackedWidget *>(QStringLiteral("pageStack"));
    }

    QPagedWidget widget;
    QList<QPage *> pages;
    QListWidget *list = nullptr;
    QStackedWidget *stack = nullptr;
};

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void selectPageNeedsOneExactMatch_data();
    void selectPageNeedsOneExactMatch();
    void clickingRowShowsItsPage_data();
    void clickingRowShowsItsPage();
    void closeAcceptsEscapeRejects_data();
    void closeAcceptsEscapeRejects();
    void scaledGeometry_data();
    void scaledGeometry();
    void aboutPageShownAfterConstruction();
    void aboutTexts();
    void paintsSidebarAndPanel_data();
    void paintsSidebarAndPanel();
    void resetLayoutButtonAsksForIt();
};

void TestSettingsDialog::init()
{
    setScreen(1, 96);
}

void TestSettingsDialog::selectPageNeedsOneExactMatch_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("expectedRow");
    // Starts on "Cover" (row 3); only a title exactly one item has moves it.
    QTest::newRow("unique title") << QStringLiteral("About") << 0;
    QTest::newRow("unknown title") << QStringLiteral("Network") << 3;
    QTest::newRow("title two pages share") << QStringLiteral("Tags") << 3;
    QTest::newRow("other case") << QStringLiteral("about") << 3;
    QTest::newRow("prefix") << QStringLiteral("Abo") << 3;
    QTest::newRow("trailing blank") << QStringLiteral("About ") << 3;
    QTest::newRow("empty") << QString() << 3;
}

void TestSettingsDialog::selectPageNeedsOneExactMatch()
{
    QFETCH(QString, title);
    QFETCH(int, expectedRow);
    PagedFixture f({QStringLiteral("About"), QStringLiteral("Tags"), QStringLiteral("Tags"), QStringLiteral("Cover")});
    QVERIFY(f.list && f.stack);
    f.widget.selectPage(QStringLiteral("Cover"));
    QCOMPARE(f.list->currentRow(), 3);

    f.widget.selectPage(title);
    QCOMPARE(f.list->currentRow(), expectedRow);
    QCOMPARE(f.stack->currentIndex(), expectedRow);
    QCOMPARE(f.stack->currentWidget(), f.pages.at(expectedRow));
}

void TestSettingsDialog::clickingRowShowsItsPage_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("clickedRow");
    QTest::newRow("first to last") << 0 << 2;
    QTest::newRow("last to first") << 2 << 0;
    QTest::newRow("first to middle") << 0 << 1;
    QTest::newRow("same row") << 1 << 1;
}

void TestSettingsDialog::clickingRowShowsItsPage()
{
    QFETCH(int, startRow);
    QFETCH(int, clickedRow);
    PagedFixture f({QStringLiteral("About"), QStringLiteral("Tags"), QStringLiteral("Cover")});
    f.widget.setListWidth(130);
    f.widget.resize(500, 350);
    f.widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.widget));
    f.list->setCurrentRow(startRow);

    const QRect rowRect = f.list->visualItemRect(f.list->item(clickedRow));
    QVERIFY(!rowRect.isEmpty());
    QTest::mouseClick(f.list->viewport(), Qt::LeftButton, Qt::NoModifier, rowRect.center());

    QCOMPARE(f.list->currentRow(), clickedRow);
    QCOMPARE(f.stack->currentIndex(), clickedRow);
    QCOMPARE(f.stack->currentWidget(), f.pages.at(clickedRow));
}

void TestSettingsDialog::closeAcceptsEscapeRejects_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expected");
    QTest::newRow("close button") << QStringLiteral("close") << int(QDialog::Accepted);
    QTest::newRow("escape") << QStringLiteral("escape") << int(QDialog::Rejected);
}

void TestSettingsDialog::closeAcceptsEscapeRejects()
{
    QFETCH(QString, how);
    SettingsDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog, how] {
        if (how == QLatin1String("close"))
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    // A failed interaction must end the test, not hang it.
    QTimer::singleShot(3000, &dialog, [&dialog] { dialog.done(-1); });
    QTEST(dialog.exec(), "expected");
    QVERIFY(!dialog.isVisible());
}

void TestSettingsDialog::scaledGeometry_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("physicalDpi");
    QTest::addColumn<QSize>("minimumSize");
    QTest::addColumn<int>("listWidth");
    QTest::newRow("factor 1") << 1.0 << 96.0 << QSize(500, 350) << 130;
    QTest::newRow("factor 2 from dpi") << 1.0 << 160.0 << QSize(667, 467) << 173;
    QTest::newRow("factor 2 from pixel ratio") << 2.0 << 96.0 << QSize(667, 467) << 173;
}

void TestSettingsDialog::scaledGeometry()
{
    QFETCH(double, ratio);
    QFETCH(double, physicalDpi);
    setScreen(ratio, physicalDpi);
    SettingsDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTEST(dialog.minimumSize(), "minimumSize");
    QVERIFY(dialog.width() >= dialog.minimumWidth() && dialog.height() >= dialog.minimumHeight());
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("pageList"));
    QVERIFY(list);
    QTEST(list->width(), "listWidth");
}

void TestSettingsDialog::aboutPageShownAfterConstruction()
{
    SettingsDialog dialog;
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("pageList"));
    auto *stack = dialog.findChild<QStackedWidget *>(QStringLiteral("pageStack"));
    QVERIFY(list && stack);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("About"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Saving"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("Layout"));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(qobject_cast<AboutPageWidget *>(stack->currentWidget()));
}

void TestSettingsDialog::aboutTexts()
{
    AboutPageWidget page;
    auto *product = page.findChild<QLabel *>(QStringLiteral("productLabel"));
    auto *version = page.findChild<QLabel *>(QStringLiteral("versionLabel"));
    auto *maker = page.findChild<QLabel *>(QStringLiteral("makerLabel"));
    QVERIFY(product && version && maker);
    QCOMPARE(product->text(), QStringLiteral("Sonvel"));
    QCOMPARE(version->text(), QStringLiteral("Version : 1.1"));
    const QString makerAddress = QString::fromLatin1(ProductInfo::makerWebAddress);
    QVERIFY(!makerAddress.isEmpty());
    QCOMPARE(maker->text(), QStringLiteral("A product from Holmvar. To know more please visit ") + makerAddress);
}

void TestSettingsDialog::paintsSidebarAndPanel_data()
{
    QTest::addColumn<int>("listWidth");
    QTest::newRow("factor 1 list") << 130;
    QTest::newRow("factor 2 list") << 173;
}

void TestSettingsDialog::paintsSidebarAndPanel()
{
    QFETCH(int, listWidth);
    PagedFixture f({QStringLiteral("About")});
    f.widget.setListWidth(listWidth);
    f.widget.resize(500, 350);
    f.widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.widget));
    QCOMPARE(f.list->width(), listWidth);

    // The widget's own painting only: the children's backgrounds depend on
    // the application stylesheet, which this test does not load.
    QImage image(f.widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    f.widget.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);

    const int h = f.widget.height();
    const QColor sidebar(0x2c, 0x3e, 0x50);
    QCOMPARE(image.pixelColor(listWidth / 2, h / 2), sidebar);
    // The sidebar's right-hand corners are square where it meets the page.
    QCOMPARE(image.pixelColor(listWidth - 6, 5), sidebar);
    QCOMPARE(image.pixelColor(listWidth - 6, h - 6), sidebar);
    // Its left-hand corners stay rounded.
    QVERIFY(image.pixelColor(5, 5) != sidebar);
    QCOMPARE(image.pixelColor(listWidth + 20, h / 2), QColor(Qt::white));
    QCOMPARE(image.pixelColor(f.widget.width() - 20, 20), QColor(Qt::white));
}

void TestSettingsDialog::resetLayoutButtonAsksForIt()
{
    SettingsDialog dialog;
    QSignalSpy reset(&dialog, &SettingsDialog::resetLayoutRequested);
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("resetLayoutButton"));
    QVERIFY(button);
    QCOMPARE(reset.size(), 0);
    button->click();
    QCOMPARE(reset.size(), 1);
}

SONVEL_TEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
