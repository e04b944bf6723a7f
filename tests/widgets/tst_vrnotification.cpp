#include "common/notifications.h"
#include "common/testmain.h"
#include "widgets/vrnotification.h"

#include <QLabel>
#include <QPointer>

class TestVrNotification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void wrapsAfterSixtyCharacters_data();
    void wrapsAfterSixtyCharacters();
    void kindSelectsIcon_data();
    void kindSelectsIcon();
    void centredBelowTopOfHost();
    void stacksWhileOthersAreShown();
    void fadesAndDeletesItself();

private:
    static VrNotification *newest(const QList<VrNotification *> &before);

    QWidget *m_window = nullptr;
};

VrNotification *TestVrNotification::newest(const QList<VrNotification *> &before)
{
    for (VrNotification *notification : liveNotifications()) {
        if (!before.contains(notification))
            return notification;
    }
    return nullptr;
}

void TestVrNotification::initTestCase()
{
    m_window = new QWidget;
    m_window->setGeometry(50, 60, 1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    VrNotification::setHost(m_window);
}

void TestVrNotification::cleanup()
{
    closeNotifications();
}

void TestVrNotification::wrapsAfterSixtyCharacters_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("wraps");
    QTest::newRow("short") << 10 << false;
    QTest::newRow("exactly 60") << 60 << false;
    QTest::newRow("61") << 61 << true;
}

void TestVrNotification::wrapsAfterSixtyCharacters()
{
    QFETCH(int, length);
    const auto before = liveNotifications();
    VrNotification::showNotification(QString(length, QLatin1Char('x')), Success);
    VrNotification *notification = newest(before);
    QVERIFY(notification);
    auto *text = notification->findChild<QLabel *>(QStringLiteral("textLabel"));
    QVERIFY(text);
    QTEST(text->wordWrap(), "wraps");
    QCOMPARE(notification->parent(), m_window);
    QVERIFY(notification->isVisible());
}

void TestVrNotification::kindSelectsIcon_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("hasIcon");
    QTest::newRow("success") << 0 << true;
    QTest::newRow("error") << 1 << true;
    QTest::newRow("warning") << 2 << true;
    QTest::newRow("info") << 3 << true;
    QTest::newRow("unknown 4") << 4 << false;
    QTest::newRow("negative") << -1 << false;
}

void TestVrNotification::kindSelectsIcon()
{
    QFETCH(int, kind);
    const auto before = liveNotifications();
    VrNotification::showNotification(QStringLiteral("Operation has been successfully performed!"), kind);
    VrNotification *notification = newest(before);
    QVERIFY(notification);
    auto *icon = notification->findChild<QLabel *>(QStringLiteral("iconLabel"));
    QVERIFY(icon);
    QTEST(!icon->pixmap(Qt::ReturnByValue).isNull(), "hasIcon");
}

void TestVrNotification::centredBelowTopOfHost()
{
    const auto before = liveNotifications();
    VrNotification::showNotification(QStringLiteral("All changes have been successfully saved!"), Success);
    VrNotification *notification = newest(before);
    QVERIFY(notification);
    const int x = (m_window->width() - 1) / 2 - (notification->width() - 1) / 2;
    QCOMPARE(notification->pos(), m_window->mapToGlobal(QPoint(x, 10)));
}

void TestVrNotification::stacksWhileOthersAreShown()
{
    auto before = liveNotifications();
    VrNotification::showNotification(QStringLiteral("first"), Info);
    VrNotification *first = newest(before);
    before = liveNotifications();
    VrNotification::showNotification(QStringLiteral("second, with a longer text"), Error);
    VrNotification *second = newest(before);
    QVERIFY(first && second);
    QCOMPARE(second->y(), first->geometry().bottom() + 1 + 10);

    // Once the earlier ones are gone, a new one starts at the top again.
    delete first;
    delete second;
    before = liveNotifications();
    VrNotification::showNotification(QStringLiteral("third"), Warning);
    VrNotification *third = newest(before);
    QVERIFY(third);
    QCOMPARE(third->y(), m_window->mapToGlobal(QPoint(0, 10)).y());
}

void TestVrNotification::fadesAndDeletesItself()
{
    const auto before = liveNotifications();
    VrNotification::showNotification(QStringLiteral("Serato tags have been successfully removed!"), Success);
    QPointer<VrNotification> notification = newest(before);
    QVERIFY(notification);
    // Opacity is stored in 8 bits, so 0.9 reads back as 229/255.
    QVERIFY(qAbs(notification->windowOpacity() - 0.9) < 0.01);
    QTest::qWait(1800);
    QVERIFY(notification);
    QVERIFY(qAbs(notification->windowOpacity() - 0.9) < 0.01);
    QTRY_VERIFY_WITH_TIMEOUT(notification && notification->windowOpacity() < 0.8, 1500);
    QTRY_VERIFY_WITH_TIMEOUT(notification.isNull(), 4000);
}

SONVEL_TEST_MAIN(TestVrNotification)
#include "tst_vrnotification.moc"
