#include "common/testmain.h"
#include "widgets/sonvelmessagebox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

class TestSonvelMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void kindSelectsTitleAndIcon_data();
    void kindSelectsTitleAndIcon();
    void onlyOkAccepts_data();
    void onlyOkAccepts();
    void dragsWithLeftButtonOnly_data();
    void dragsWithLeftButtonOnly();
};

void TestSonvelMessageBox::kindSelectsTitleAndIcon_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("decorated");
    QTest::newRow("warning") << QStringLiteral("warning") << true;
    QTest::newRow("capitalised") << QStringLiteral("Warning") << false;
    QTest::newRow("other kind") << QStringLiteral("info") << false;
    QTest::newRow("empty kind") << QString() << false;
}

void TestSonvelMessageBox::kindSelectsTitleAndIcon()
{
    QFETCH(QString, kind);
    QFETCH(bool, decorated);
    SonvelMessageBox box;
    const QString text = QStringLiteral("Are you sure you want to clear the list?");
    box.setMessage(kind, text);

    auto *title = box.findChild<QLabel *>(QStringLiteral("titleLabel"));
    auto *icon = box.findChild<QLabel *>(QStringLiteral("iconLabel"));
    auto *message = box.findChild<QLabel *>(QStringLiteral("messageLabel"));
    QVERIFY(title && icon && message);
    QCOMPARE(message->text(), text);
    QVERIFY(message->wordWrap());
    QCOMPARE(title->text(), decorated ? QStringLiteral("Warning") : QString());
    QCOMPARE(!icon->pixmap(Qt::ReturnByValue).isNull(), decorated);
}

void TestSonvelMessageBox::onlyOkAccepts_data()
{
    QTest::addColumn<bool>("saving"); // "Save", "Discard", "Cancel" instead of "Ok", "Cancel"
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expected");
    for (const bool saving : {false, true}) {
        const char *prefix = saving ? "saving offered, " : "";
        QTest::addRow("%sok", prefix) << saving << QStringLiteral("ok") << int(SonvelMessageBox::Confirmed);
        QTest::addRow("%scancel", prefix) << saving << QStringLiteral("cancel") << int(SonvelMessageBox::Cancelled);
        QTest::addRow("%sescape", prefix) << saving << QStringLiteral("escape") << int(SonvelMessageBox::Cancelled);
        QTest::addRow("%sclose", prefix) << saving << QStringLiteral("close") << int(SonvelMessageBox::Cancelled);
    }
    QTest::newRow("saving offered, discard") << true << QStringLiteral("discard") << int(SonvelMessageBox::Discarded);
}

void TestSonvelMessageBox::onlyOkAccepts()
{
    QFETCH(bool, saving);
    QFETCH(QString, how);
    SonvelMessageBox box;
    box.setMessage(QStringLiteral("warning"), QStringLiteral("Proceed?"));
    if (saving)
        box.offerSaving();
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("okButton"))->text(),
             saving ? QStringLiteral("Save") : QStringLiteral("Ok"));
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("discardButton"))->isVisibleTo(&box), saving);
    QTimer::singleShot(0, &box, [&box, how] {
        if (how == QLatin1String("ok"))
            QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
        else if (how == QLatin1String("cancel"))
            QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
        else if (how == QLatin1String("discard"))
            QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("discardButton")), Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(&box, Qt::Key_Escape);
        else
            box.close();
    });
    QTimer::singleShot(3000, &box, [&box] { box.done(-1); });
    QTEST(box.exec(), "expected");
}

void TestSonvelMessageBox::dragsWithLeftButtonOnly_data()
{
    QTest::addColumn<int>("buttonValue");
    QTest::addColumn<bool>("moves");
    QTest::newRow("left") << int(Qt::LeftButton) << true;
    QTest::newRow("right") << int(Qt::RightButton) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << false;
}

void TestSonvelMessageBox::dragsWithLeftButtonOnly()
{
    QFETCH(int, buttonValue);
    const auto button = Qt::MouseButton(buttonValue);
    QFETCH(bool, moves);
    SonvelMessageBox box;
    box.setMessage(QStringLiteral("warning"), QStringLiteral("Drag me"));
    box.move(100, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QPoint start = box.pos();

    const QPoint pressAt(20, 20);
    QMouseEvent press(QEvent::MouseButtonPress, pressAt, box.mapToGlobal(pressAt), button, button, Qt::NoModifier);
    QApplication::sendEvent(&box, &press);
    const QPoint moveTo(50, 40);
    QMouseEvent move(QEvent::MouseMove, moveTo, box.mapToGlobal(moveTo), Qt::NoButton, button, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, moveTo, box.mapToGlobal(moveTo), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &release);

    QCOMPARE(box.pos(), moves ? start + QPoint(30, 20) : start);

    // Once released, a move without the button held must not drag.
    const QPoint later(80, 80);
    QMouseEvent idle(QEvent::MouseMove, later, box.mapToGlobal(later), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    const QPoint before = box.pos();
    QApplication::sendEvent(&box, &idle);
    QCOMPARE(box.pos(), before);
}

SONVEL_TEST_MAIN(TestSonvelMessageBox)
#include "tst_sonvelmessagebox.moc"
