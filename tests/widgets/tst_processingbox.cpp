#include "common/testmain.h"
#include "widgets/processingbox.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QPointer>

class TestProcessingBox : public QObject
{
    Q_OBJECT

private slots:
    void runsWorkOnceAfterDelayAndCloses_data();
    void runsWorkOnceAfterDelayAndCloses();
    void longWorkShowsProgressAndStops_data();
    void longWorkShowsProgressAndStops();
};

void TestProcessingBox::runsWorkOnceAfterDelayAndCloses_data()
{
    QTest::addColumn<QString>("interference");
    QTest::newRow("undisturbed") << QString();
    QTest::newRow("escape during delay") << QStringLiteral("escape");
    QTest::newRow("close during delay") << QStringLiteral("close");
    QTest::newRow("reject during delay") << QStringLiteral("reject");
}

// Escape or a close before the work ran must not end the box: the caller
// would go on as if its work (a save, an undo) had happened.
void TestProcessingBox::runsWorkOnceAfterDelayAndCloses()
{
    QFETCH(QString, interference);
    QWidget owner;
    owner.resize(400, 300);
    owner.show();

    QElapsedTimer clock;
    clock.start();
    QPointer<ProcessingBox> box = new ProcessingBox(&owner);
    int runs = 0;
    qint64 startedAt = -1;
    bool visibleDuringWork = false;
    connect(box.data(), &ProcessingBox::sendASignal, this, [&] {
        ++runs;
        startedAt = clock.elapsed();
        visibleDuringWork = box->isVisible();
    });
    if (!interference.isEmpty()) {
        QTimer::singleShot(50, box.data(), [&] {
            if (interference == QLatin1String("escape"))
                QTest::keyClick(box.data(), Qt::Key_Escape);
            else if (interference == QLatin1String("close"))
                box->close();
            else
                box->reject();
        });
    }
    box->exec();

    QCOMPARE(runs, 1);
    QVERIFY2(startedAt >= 200, qPrintable(QStringLiteral("work began after %1 ms").arg(startedAt)));
    QVERIFY(visibleDuringWork);
    QVERIFY(box->workDone());
    QVERIFY(!box->isVisible());

    // The single-shot timer is spent: nothing runs the work a second time.
    QTest::qWait(300);
    QCOMPARE(runs, 1);
    delete box;
}

void TestProcessingBox::longWorkShowsProgressAndStops_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Stop button") << QStringLiteral("button");
    QTest::newRow("Escape") << QStringLiteral("escape");
}

// Work that may stop polls the box between its steps, pumping events.
void TestProcessingBox::longWorkShowsProgressAndStops()
{
    QFETCH(QString, how);
    QWidget owner;
    owner.show();
    ProcessingBox box(&owner);
    box.setProgress(0, 10000);
    box.setStoppable(true);
    auto *label = box.findChild<QLabel *>(QStringLiteral("progressLabel"));
    auto *stop = box.findChild<QPushButton *>(QStringLiteral("stopButton"));
    QVERIFY(label && stop);
    int steps = 0;
    QString shown;
    connect(&box, &ProcessingBox::sendASignal, this, [&] {
        for (; steps < 10000 && !box.stopRequested(); ++steps) {
            box.setProgress(steps, 10000);
            if (steps == 1234) {
                shown = label->text();
                if (how == QLatin1String("button"))
                    QTimer::singleShot(0, stop, &QPushButton::click);
                else
                    QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); });
            }
            QCoreApplication::processEvents();
        }
    });
    box.exec();
    QCOMPARE(shown, QStringLiteral("1,234 of 10,000"));
    QVERIFY(steps > 1234 && steps < 1300);
    QVERIFY(box.workDone());
}

SONVEL_TEST_MAIN(TestProcessingBox)
#include "tst_processingbox.moc"
