#include "app/lowerlevelwidget.h"
#include "common/testmain.h"
#include "widgets/sonvelmessagebox.h"

#include <QLabel>
#include <QPushButton>

namespace {

QList<SonvelMessageBox *> openBoxes()
{
    QList<SonvelMessageBox *> boxes;
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (auto *box = qobject_cast<SonvelMessageBox *>(widget))
            boxes.append(box);
    }
    return boxes;
}

} // namespace

class TestLowerLevelWidget : public QObject
{
    Q_OBJECT

private slots:
    void asksBeforeClearAndUndo_data();
    void asksBeforeClearAndUndo();
    void visibilityFollowsChangesAndClearSetting_data();
    void visibilityFollowsChangesAndClearSetting();
};

void TestLowerLevelWidget::asksBeforeClearAndUndo_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("emitted");

    const QString clearQuestion = QStringLiteral("Are you sure you want to clear the list?");
    const QString undoQuestion = QStringLiteral("Are you sure you want to undo all changes made?");
    QTest::newRow("clear, ok") << QStringLiteral("clearButton") << QStringLiteral("ok") << clearQuestion
                               << QStringLiteral("clearList");
    QTest::newRow("clear, cancel") << QStringLiteral("clearButton") << QStringLiteral("cancel") << clearQuestion
                                   << QString();
    QTest::newRow("clear, close") << QStringLiteral("clearButton") << QStringLiteral("close") << clearQuestion
                                  << QString();
    QTest::newRow("undo, ok") << QStringLiteral("undoButton") << QStringLiteral("ok") << undoQuestion
                              << QStringLiteral("undoAllChanges");
    QTest::newRow("undo, cancel") << QStringLiteral("undoButton") << QStringLiteral("cancel") << undoQuestion
                                  << QString();
    QTest::newRow("undo, close") << QStringLiteral("undoButton") << QStringLiteral("close") << undoQuestion
                                 << QString();
    QTest::newRow("save asks nothing") << QStringLiteral("saveButton") << QString() << QString()
                                       << QStringLiteral("saveAllChanges");
}

void TestLowerLevelWidget::asksBeforeClearAndUndo()
{
    QFETCH(QString, button);
    QFETCH(QString, answer);
    QFETCH(QString, question);
    QFETCH(QString, emitted);
    LowerLevelWidget bar;
    bar.setClearButtonVisible(true);
    bar.changesOccoured(true);
    bar.show();
    QSignalSpy clearSpy(&bar, &LowerLevelWidget::clearList);
    QSignalSpy undoSpy(&bar, &LowerLevelWidget::undoAllChanges);
    QSignalSpy saveSpy(&bar, &LowerLevelWidget::saveAllChanges);

    QString asked;
    int boxesSeen = 0;
    QTimer::singleShot(0, &bar, [&] {
        const QList<SonvelMessageBox *> boxes = openBoxes();
        for (SonvelMessageBox *box : boxes) {
            if (!box->isVisible())
                continue;
            ++boxesSeen;
            asked = box->findChild<QLabel *>(QStringLiteral("messageLabel"))->text();
            if (answer == QLatin1String("ok"))
                QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
            else if (answer == QLatin1String("cancel"))
                QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
            else
                box->close();
        }
    });
    // Stops a box that the first timer missed from blocking the run.
    QTimer::singleShot(5000, &bar, [] {
        const QList<SonvelMessageBox *> boxes = openBoxes();
        for (SonvelMessageBox *box : boxes)
            box->done(-1);
    });

    QTest::mouseClick(bar.findChild<QPushButton *>(button), Qt::LeftButton);

    // The answer is in when the click returns; nothing waits on the loop.
    QCOMPARE(clearSpy.count(), emitted == QLatin1String("clearList") ? 1 : 0);
    QCOMPARE(undoSpy.count(), emitted == QLatin1String("undoAllChanges") ? 1 : 0);
    QCOMPARE(saveSpy.count(), emitted == QLatin1String("saveAllChanges") ? 1 : 0);
    QCOMPARE(openBoxes().size(), 0);

    // Let the first timer run in case no box held the click up.
    QTest::qWait(10);
    QCOMPARE(boxesSeen, question.isEmpty() ? 0 : 1);
    QCOMPARE(asked, question);
}

void TestLowerLevelWidget::visibilityFollowsChangesAndClearSetting_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("clearVisible");
    QTest::addColumn<bool>("undoAndSaveVisible");
    QTest::newRow("at start") << QStringList() << false << false;
    QTest::newRow("changes") << QStringList({QStringLiteral("changes:1")}) << false << true;
    QTest::newRow("changes, then none")
        << QStringList({QStringLiteral("changes:1"), QStringLiteral("changes:0")}) << false << false;
    QTest::newRow("no changes at start") << QStringList({QStringLiteral("changes:0")}) << false << false;
    QTest::newRow("clear shown") << QStringList({QStringLiteral("clear:1")}) << true << false;
    QTest::newRow("clear shown, then hidden")
        << QStringList({QStringLiteral("clear:1"), QStringLiteral("clear:0")}) << false << false;
    QTest::newRow("clear shown, changes come and go")
        << QStringList({QStringLiteral("clear:1"), QStringLiteral("changes:1"), QStringLiteral("changes:0")})
        << true << false;
    QTest::newRow("changes, clear hidden")
        << QStringList({QStringLiteral("changes:1"), QStringLiteral("clear:1"), QStringLiteral("clear:0")})
        << false << true;
    QTest::newRow("everything shown")
        << QStringList({QStringLiteral("clear:1"), QStringLiteral("changes:1")}) << true << true;
}

void TestLowerLevelWidget::visibilityFollowsChangesAndClearSetting()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, clearVisible);
    QFETCH(bool, undoAndSaveVisible);
    LowerLevelWidget bar;
    bar.resize(800, 100);
    for (const QString &step : qAsConst(steps)) {
        const bool on = step.endsWith(QLatin1String(":1"));
        if (step.startsWith(QLatin1String("changes")))
            bar.changesOccoured(on);
        else
            bar.setClearButtonVisible(on);
    }
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    auto *clear = bar.findChild<QPushButton *>(QStringLiteral("clearButton"));
    auto *undo = bar.findChild<QPushButton *>(QStringLiteral("undoButton"));
    auto *save = bar.findChild<QPushButton *>(QStringLiteral("saveButton"));
    QVERIFY(clear && undo && save);
    QCOMPARE(clear->isVisible(), clearVisible);
    QCOMPARE(undo->isVisible(), undoAndSaveVisible);
    QCOMPARE(save->isVisible(), undoAndSaveVisible);
    if (clearVisible && undoAndSaveVisible) {
        QVERIFY(clear->geometry().right() < undo->x());
        QVERIFY(undo->geometry().right() < save->x());
    }
}

SONVEL_TEST_MAIN(TestLowerLevelWidget)
#include "tst_lowerlevelwidget.moc"
