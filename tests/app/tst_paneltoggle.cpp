#include "app/mainwindow.h"
#include "app/topsectionwidget.h"
#include "common/testmain.h"
#include "operations/globalreplacebox.h"
#include "operations/keysandbpmbox.h"

#include <QPushButton>

// The toolbar's five operation buttons open, switch and close the one
// operation panel.
class TestPanelToggle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clicks_data();
    void clicks();

private:
    QPushButton *button(const QString &name) const
    {
        return m_window->toolbar()->findChild<QPushButton *>(name);
    }
    MainWindow *m_window = nullptr;
};

void TestPanelToggle::init()
{
    m_window = new MainWindow;
    m_window->resize(1728, 832);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestPanelToggle::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestPanelToggle::clicks_data()
{
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("headingWord");
    QTest::addColumn<QStringList>("checked");

    QTest::newRow("replace opens find and replace") << QStringList{"replaceButton"} << true << "replace"
                                                     << QStringList{"replaceButton"};
    QTest::newRow("replace twice closes") << QStringList{"replaceButton", "replaceButton"} << false << ""
                                          << QStringList{};
    QTest::newRow("replace then format switches") << QStringList{"replaceButton", "formatButton"} << true << "Format"
                                                  << QStringList{"formatButton"};
    QTest::newRow("extra spaces opens mode 0") << QStringList{"extraSpacesButton"} << true << "extra"
                                               << QStringList{"extraSpacesButton"};
    QTest::newRow("tags to filename") << QStringList{"toFilenameButton"} << true << "Rename"
                                      << QStringList{"toFilenameButton"};
    QTest::newRow("tags from filename") << QStringList{"fromFilenameButton"} << true << "Get tags from"
                                        << QStringList{"fromFilenameButton"};
    QTest::newRow("format then keys and tempos switches") << QStringList{"formatButton", "keysButton"} << true << "Keys"
                                                          << QStringList{"keysButton"};
    QTest::newRow("keys and tempos twice closes") << QStringList{"keysButton", "keysButton"} << false << ""
                                                  << QStringList{};
    QTest::newRow("rename then from filename then close")
        << QStringList{"toFilenameButton", "fromFilenameButton", "fromFilenameButton"} << false << ""
        << QStringList{};
}

void TestPanelToggle::clicks()
{
    QFETCH(QStringList, buttons);
    QFETCH(bool, visible);
    QFETCH(QString, headingWord);
    QFETCH(QStringList, checked);

    for (const QString &name : buttons) {
        QVERIFY2(button(name), qPrintable(name));
        QTest::mouseClick(button(name), Qt::LeftButton);
    }
    GlobalReplaceBox *panel = m_window->operationPanel();
    QCOMPARE(panel->isVisible(), visible);
    if (visible)
        QVERIFY2(panel->headingText().contains(headingWord), qPrintable(panel->headingText()));
    for (const QString &name : QStringList{"replaceButton", "extraSpacesButton", "formatButton",
                                           "toFilenameButton", "fromFilenameButton", "keysButton"})
        QCOMPARE(button(name)->isChecked(), checked.contains(name));
    if (visible && headingWord == QLatin1String("Keys"))
        QVERIFY(panel->keysAndBpmBox()->isVisible());
}

SONVEL_TEST_MAIN(TestPanelToggle)
#include "tst_paneltoggle.moc"
