#include "common/testmain.h"
#include "widgets/abutton.h"

#include <QPainter>

class TestAButton : public QObject
{
    Q_OBJECT

private slots:
    void textPanelSwapsColoursOnHover();
    void iconFollowsCheckedState();
    void iconPaintedOverTextPanel();

private:
    static QIcon twoStateIcon();
    static QColor centre(QWidget &widget);
};

QIcon TestAButton::twoStateIcon()
{
    QPixmap normal(16, 16);
    normal.fill(Qt::red);
    QPixmap selected(16, 16);
    selected.fill(Qt::blue);
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal, QIcon::Off);
    icon.addPixmap(selected, QIcon::Selected, QIcon::Off);
    return icon;
}

QColor TestAButton::centre(QWidget &widget)
{
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2 + 1);
}

void TestAButton::textPanelSwapsColoursOnHover()
{
    AButton button(QStringLiteral("    "));
    button.resize(60, 30);
    // Blank text keeps glyphs out of the sampled pixel.
    QCOMPARE(centre(button), QColor(Qt::white));

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    QCOMPARE(button.backgroundColor(), QColor(Qt::black));
    QCOMPARE(button.textColor(), QColor(Qt::white));
    QCOMPARE(centre(button), QColor(Qt::black));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(centre(button), QColor(Qt::white));
}

void TestAButton::iconFollowsCheckedState()
{
    AButton button;
    button.setIcon(twoStateIcon());
    button.setCheckable(true);
    button.resize(35, 35);
    QCOMPARE(centre(button), QColor(Qt::red));
    button.setChecked(true);
    QCOMPARE(centre(button), QColor(Qt::blue));
}

void TestAButton::iconPaintedOverTextPanel()
{
    AButton button(twoStateIcon(), QStringLiteral("  "));
    button.resize(35, 35);
    QCOMPARE(centre(button), QColor(Qt::red));
}

SONVEL_TEST_MAIN(TestAButton)
#include "tst_abutton.moc"
