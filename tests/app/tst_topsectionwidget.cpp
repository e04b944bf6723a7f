#include "app/command.h"
#include "app/commandhandler.h"
#include "app/commandobserver.h"
#include "app/topsectionwidget.h"
#include "tags/audioformat.h"
#include "common/testmain.h"
#include "settings/usersettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

struct DialogCall
{
    QWidget *parent = nullptr;
    QString caption;
    QString dir;
    QString filter;
};

struct RecordingObserver : CommandObserver
{
    void handleCommand(Command &command) override { commands.append(command); }
    QList<Command> commands;
};

// The operation buttons in index order, as uncheckOtherOperations counts them.
const QStringList operationNames = {
    QStringLiteral("replaceButton"), QStringLiteral("extraSpacesButton"), QStringLiteral("formatButton"),
    QStringLiteral("toFilenameButton"), QStringLiteral("fromFilenameButton"), QStringLiteral("keysButton")};

QString checkedStates(const TopSectionWidget &bar)
{
    QString states;
    for (const QString &name : operationNames)
        states += bar.findChild<QPushButton *>(name)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

} // namespace

class TestTopSectionWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void searchFieldPassesEveryEdit_data();
    void searchFieldPassesEveryEdit();
    void viewToggleAlternatesViews_data();
    void viewToggleAlternatesViews();
    void uncheckOtherOperations_data();
    void uncheckOtherOperations();
    void operationButtonEmitsOnlyItsSignal_data();
    void operationButtonEmitsOnlyItsSignal();
    void settingsButtonDispatchesOpenSettings();
    void addFilesPassesTheChosenList_data();
    void addFilesPassesTheChosenList();
    void addFilesStartsInTheCurrentFolderThenWhereTheUserLastAdded();
    void buttonsRowShowsFormatBeforeSerato();

private:
    TopSectionWidget::OpenFilesDialog m_realDialog;
    QString m_startFolder;
};

void TestTopSectionWidget::init()
{
    // Every test starts without a remembered folder.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QFile::remove(UserSettings::open()->fileName());
    m_realDialog = TopSectionWidget::openFilesDialog;
    m_startFolder = QDir::currentPath();
    // A test that reaches the real dialog by mistake would block.
    TopSectionWidget::openFilesDialog = [](QWidget *, const QString &, const QString &, const QString &) {
        qWarning("Unexpected file dialog");
        return QStringList();
    };
}

void TestTopSectionWidget::cleanup()
{
    TopSectionWidget::openFilesDialog = m_realDialog;
    QDir::setCurrent(m_startFolder);
}

void TestTopSectionWidget::searchFieldPassesEveryEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("clearAfterwards");
    QTest::addColumn<QStringList>("patterns");
    QTest::newRow("a then b") << QStringLiteral("ab") << false
                              << QStringList({QStringLiteral("a"), QStringLiteral("ab")});
    QTest::newRow("typed then cleared") << QStringLiteral("ab") << true
                                        << QStringList({QStringLiteral("a"), QStringLiteral("ab"), QString()});
    QTest::newRow("spaces kept") << QStringLiteral(" x ") << false
                                 << QStringList({QStringLiteral(" "), QStringLiteral(" x"), QStringLiteral(" x ")});
}

void TestTopSectionWidget::searchFieldPassesEveryEdit()
{
    QFETCH(QString, typed);
    QFETCH(bool, clearAfterwards);
    QFETCH(QStringList, patterns);
    TopSectionWidget bar;
    auto *field = bar.findChild<QLineEdit *>(QStringLiteral("searchField"));
    QVERIFY(field);
    QSignalSpy spy(&bar, &TopSectionWidget::SearchPattern);

    QTest::keyClicks(field, typed);
    if (clearAfterwards)
        field->clear();

    QStringList seen;
    for (const QList<QVariant> &arguments : qAsConst(spy))
        seen.append(arguments.at(0).toString());
    QCOMPARE(seen, patterns);
}

void TestTopSectionWidget::viewToggleAlternatesViews_data()
{
    QTest::addColumn<int>("preset"); // -1: untouched, else setViewToggleChecked(preset)
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QList<int>>("views");
    QTest::newRow("first click") << -1 << 1 << QList<int>({1});
    QTest::newRow("second click") << -1 << 2 << QList<int>({1, 2});
    QTest::newRow("third click") << -1 << 3 << QList<int>({1, 2, 1});
    QTest::newRow("set checked, no click") << 1 << 0 << QList<int>();
    QTest::newRow("set unchecked, no click") << 0 << 0 << QList<int>();
    QTest::newRow("set checked, then click") << 1 << 1 << QList<int>({2});
    QTest::newRow("set unchecked, then click") << 0 << 1 << QList<int>({1});
}

void TestTopSectionWidget::viewToggleAlternatesViews()
{
    QFETCH(int, preset);
    QFETCH(int, clicks);
    QFETCH(QList<int>, views);
    TopSectionWidget bar;
    auto *toggle = bar.findChild<QPushButton *>(QStringLiteral("viewToggle"));
    QVERIFY(toggle);
    QVERIFY(!toggle->isVisibleTo(&bar));
    bar.setViewToggleVisible(true);
    bar.show();
    QVERIFY(toggle->isVisible());
    QSignalSpy spy(&bar, &TopSectionWidget::changeView);

    if (preset >= 0) {
        bar.setViewToggleChecked(preset == 1);
        QCOMPARE(toggle->isChecked(), preset == 1);
    }
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(toggle, Qt::LeftButton);

    QList<int> seen;
    for (const QList<QVariant> &arguments : qAsConst(spy))
        seen.append(arguments.at(0).toInt());
    QCOMPARE(seen, views);
}

void TestTopSectionWidget::uncheckOtherOperations_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    for (int k = 0; k < 6; ++k) {
        QString onlyK(6, QLatin1Char('0'));
        onlyK[k] = QLatin1Char('1');
        QString allButK(6, QLatin1Char('1'));
        allButK[k] = QLatin1Char('0');
        QTest::addRow("k=%d, all checked", k) << k << QStringLiteral("111111") << onlyK;
        QTest::addRow("k=%d, all but k checked", k) << k << allButK << QStringLiteral("000000");
        QTest::addRow("k=%d, none checked", k) << k << QStringLiteral("000000") << QStringLiteral("000000");
        QTest::addRow("k=%d, only k checked", k) << k << onlyK << onlyK;
    }
    QTest::newRow("k=2, mixed") << 2 << QStringLiteral("011011") << QStringLiteral("001000");
    QTest::newRow("k=6 changes nothing") << 6 << QStringLiteral("111111") << QStringLiteral("111111");
    QTest::newRow("k=6, mixed") << 6 << QStringLiteral("100101") << QStringLiteral("100101");
    QTest::newRow("k=-1 changes nothing") << -1 << QStringLiteral("111111") << QStringLiteral("111111");
    QTest::newRow("k=-1, mixed") << -1 << QStringLiteral("011010") << QStringLiteral("011010");
}

void TestTopSectionWidget::uncheckOtherOperations()
{
    QFETCH(int, k);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TopSectionWidget bar;
    for (int i = 0; i < operationNames.size(); ++i)
        bar.findChild<QPushButton *>(operationNames.at(i))->setChecked(before.at(i) == QLatin1Char('1'));
    QCOMPARE(checkedStates(bar), before);

    bar.uncheckOtherOperations(k);
    QCOMPARE(checkedStates(bar), after);
}

void TestTopSectionWidget::operationButtonEmitsOnlyItsSignal_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<bool>("staysChecked");
    QTest::newRow("global replace") << QStringLiteral("replaceButton") << QStringLiteral("globalReplaceClicked") << true;
    QTest::newRow("extra spaces") << QStringLiteral("extraSpacesButton") << QStringLiteral("removeSpaceClicked") << true;
    QTest::newRow("serato") << QStringLiteral("seratoButton") << QStringLiteral("removeSeratoClicked") << false;
    QTest::newRow("format") << QStringLiteral("formatButton") << QStringLiteral("formatClicked") << true;
    QTest::newRow("to file name") << QStringLiteral("toFilenameButton") << QStringLiteral("rename_FilesClicked") << true;
    QTest::newRow("from file name") << QStringLiteral("fromFilenameButton") << QStringLiteral("tagFromFilesClicked") << true;
    QTest::newRow("keys and tempos") << QStringLiteral("keysButton") << QStringLiteral("keysAndBpmClicked") << true;
}

void TestTopSectionWidget::operationButtonEmitsOnlyItsSignal()
{
    QFETCH(QString, button);
    QFETCH(QString, signal);
    QFETCH(bool, staysChecked);
    TopSectionWidget bar;
    bar.show();

    std::vector<std::pair<QString, std::unique_ptr<QSignalSpy>>> spies;
    const auto watch = [&](const QString &name, auto member) {
        spies.emplace_back(name, std::make_unique<QSignalSpy>(&bar, member));
    };
    watch(QStringLiteral("globalReplaceClicked"), &TopSectionWidget::globalReplaceClicked);
    watch(QStringLiteral("removeSpaceClicked"), &TopSectionWidget::removeSpaceClicked);
    watch(QStringLiteral("removeSeratoClicked"), &TopSectionWidget::removeSeratoClicked);
    watch(QStringLiteral("formatClicked"), &TopSectionWidget::formatClicked);
    watch(QStringLiteral("rename_FilesClicked"), &TopSectionWidget::rename_FilesClicked);
    watch(QStringLiteral("tagFromFilesClicked"), &TopSectionWidget::tagFromFilesClicked);
    watch(QStringLiteral("keysAndBpmClicked"), &TopSectionWidget::keysAndBpmClicked);
    watch(QStringLiteral("passMediaList"), &TopSectionWidget::passMediaList);
    watch(QStringLiteral("changeView"), &TopSectionWidget::changeView);
    watch(QStringLiteral("SearchPattern"), &TopSectionWidget::SearchPattern);

    auto *pushButton = bar.findChild<QPushButton *>(button);
    QVERIFY(pushButton);
    QTest::mouseClick(pushButton, Qt::LeftButton);

    for (const auto &[name, spy] : spies)
        QCOMPARE(qMakePair(name, spy->count()), qMakePair(name, name == signal ? 1 : 0));
    QCOMPARE(pushButton->isChecked(), staysChecked);
}

void TestTopSectionWidget::settingsButtonDispatchesOpenSettings()
{
    TopSectionWidget bar;
    bar.show();
    auto *settings = bar.findChild<QPushButton *>(QStringLiteral("settingsButton"));
    QVERIFY(settings);
    QVERIFY(settings->isVisible());

    RecordingObserver observer;
    CommandHandler::instance()->addObserver(&observer);
    QTest::mouseClick(settings, Qt::LeftButton);
    CommandHandler::instance()->removeObserver(&observer);

    QCOMPARE(observer.commands.size(), 1);
    const Command &command = observer.commands.first();
    QCOMPARE(command.id, 17);
    QVERIFY(command.parameters.isEmpty());
    QCOMPARE(command.result, true);
}

void TestTopSectionWidget::addFilesPassesTheChosenList_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::newRow("cancelled") << QStringList();
    QTest::newRow("one file") << QStringList({QStringLiteral("/music/one.mp3")});
    // Whatever the dialog returns goes on untouched: no sorting, filtering
    // or de-duplication here.
    QTest::newRow("unsorted, duplicated, other kinds")
        << QStringList({QStringLiteral("/music/z.mp3"), QStringLiteral("/music/a.MP3"),
                        QStringLiteral("/music/notes.txt"), QStringLiteral("/music/z.mp3"),
                        QStringLiteral("/missing/ghost.mp3")});
}

void TestTopSectionWidget::addFilesPassesTheChosenList()
{
    QFETCH(QStringList, chosen);
    TopSectionWidget bar;
    bar.show();
    QList<DialogCall> calls;
    TopSectionWidget::openFilesDialog = [&](QWidget *parent, const QString &caption, const QString &dir,
                                            const QString &filter) {
        calls.append({parent, caption, dir, filter});
        return chosen;
    };
    QSignalSpy spy(&bar, &TopSectionWidget::passMediaList);

    QTest::mouseClick(bar.findChild<QPushButton *>(QStringLiteral("addButton")), Qt::LeftButton);

    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().parent, &bar);
    QCOMPARE(calls.first().caption, QStringLiteral("Add media Files"));
    QCOMPARE(calls.first().filter, AudioFormats::dialogFilters().join(QStringLiteral(";;")));
    QCOMPARE(calls.first().dir, QDir::currentPath());
    if (chosen.isEmpty()) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).toStringList(), chosen);
    }
}

// The working directory only until the user has added from somewhere: then
// where they last added, even after the working directory moved.
void TestTopSectionWidget::addFilesStartsInTheCurrentFolderThenWhereTheUserLastAdded()
{
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(first.isValid() && second.isValid());
    TopSectionWidget bar;
    bar.show();
    QStringList folders;
    TopSectionWidget::openFilesDialog = [&](QWidget *, const QString &, const QString &dir, const QString &) {
        folders.append(dir);
        return QStringList({QStringLiteral("picked.mp3")});
    };
    auto *add = bar.findChild<QPushButton *>(QStringLiteral("addButton"));

    QVERIFY(QDir::setCurrent(first.path()));
    const QString firstFolder = QDir::currentPath();
    QTest::mouseClick(add, Qt::LeftButton);
    QVERIFY(QDir::setCurrent(second.path()));
    QTest::mouseClick(add, Qt::LeftButton);

    QCOMPARE(folders, QStringList({firstFolder, firstFolder}));
}

void TestTopSectionWidget::buttonsRowShowsFormatBeforeSerato()
{
    TopSectionWidget bar;
    bar.resize(1400, 200);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const QStringList leftToRight = {
        QStringLiteral("addButton"), QStringLiteral("replaceButton"), QStringLiteral("extraSpacesButton"),
        QStringLiteral("formatButton"), QStringLiteral("seratoButton"), QStringLiteral("toFilenameButton"),
        QStringLiteral("fromFilenameButton"), QStringLiteral("keysButton")};
    int previousRight = -1;
    for (const QString &name : leftToRight) {
        auto *button = bar.findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QVERIFY2(button->x() > previousRight, qPrintable(name));
        previousRight = button->geometry().right();
    }
}

SONVEL_TEST_MAIN(TestTopSectionWidget)
#include "tst_topsectionwidget.moc"
