#include "app/lowerlevelwidget.h"
#include "app/mainwindow.h"
#include "app/topsectionwidget.h"
#include "app/windowplacement.h"
#include "common/testmain.h"
#include "settings/usersettings.h"
#include "table/mediafiletablewidget.h"
#include "table/tablefixture.h"
#include "widgets/sonvelmessagebox.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

using namespace TableFixture;

Q_DECLARE_METATYPE(MainWindow::CloseAnswer)

namespace {

// Answers the next confirmation box that opens, the way a user would: by
// clicking its Ok or Cancel button. Posted before the call that opens it.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(bool ok)
        : m_ok(ok)
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_poll.start(10);
    }

    int answered() const { return m_answered; }
    QString question() const { return m_question; }

private:
    void poll()
    {
        auto *box = qobject_cast<SonvelMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *candidate = qobject_cast<SonvelMessageBox *>(widget); candidate && candidate->isVisible())
                    box = candidate;
            }
        }
        if (!box || !box->isVisible())
            return;
        ++m_answered;
        if (const auto *label = box->findChild<QLabel *>(QStringLiteral("messageLabel")))
            m_question = label->text();
        auto *button = box->findChild<QPushButton *>(m_ok ? QStringLiteral("okButton") : QStringLiteral("cancelButton"));
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            box->done(-1);
    }

    bool m_ok;
    QTimer m_poll;
    int m_answered = 0;
    QString m_question;
};

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void typicalUseEndToEnd();
    void clearButtonAsksAndEmptiesTheList_data();
    void clearButtonAsksAndEmptiesTheList();
    void undoButtonAsksAndReloads_data();
    void undoButtonAsksAndReloads();
    void seratoRemovalAsksFirst_data();
    void seratoRemovalAsksFirst();
    void closeAsksOnlyWithUnsavedChanges_data();
    void closeAsksOnlyWithUnsavedChanges();
    void layoutSurvivesRestartUntilReset_data();
    void layoutSurvivesRestartUntilReset();

private:
    QStringList makeFiles(int count);
    void addThroughToolbar(const QStringList &paths);

    MainWindow *m_window = nullptr;
    QTemporaryDir *m_tmp = nullptr;
    QTemporaryDir m_settings;
    std::function<MainWindow::CloseAnswer(QWidget *)> m_askBeforeClosing;
};

namespace {

QHeaderView *headerOf(const MainWindow &window)
{
    return window.mediaWidget()->table()->horizontalHeader();
}

// What the user can change of the columns: width and place, per column.
QList<QPair<int, int>> columnLayout(const MainWindow &window)
{
    const QHeaderView *header = headerOf(window);
    QList<QPair<int, int>> columns;
    for (int c = 0; c < header->count(); ++c)
        columns.append({header->sectionSize(c), header->visualIndex(c)});
    return columns;
}

} // namespace

void TestMainWindow::initTestCase()
{
    // Closing the window in a test must not end the test's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    m_askBeforeClosing = MainWindow::askBeforeClosing;
}

void TestMainWindow::init()
{
    m_tmp = new QTemporaryDir;
    m_window = new MainWindow;
    m_window->setGeometry(40, 40, 1280, 720);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMainWindow::cleanup()
{
    MainWindow::askBeforeClosing = m_askBeforeClosing;
    UserSettings::forgetWindowLayout();
    closeNotifications();
    delete m_window;
    m_window = nullptr;
    delete m_tmp;
    m_tmp = nullptr;
}

QStringList TestMainWindow::makeFiles(int count)
{
    static const QStringList titles = {"Night Drive", "Sunrise", "Peak Time", "Afterglow"};
    static const QStringList artists = {"Ana Ruiz", "Ben Okri", "Cleo Park", "Dan Fox"};
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = F::create(m_tmp->path(), QStringLiteral("%1 track.mp3").arg(i + 1));
        const bool ok = F::addFrames(path, {F::textFrame("TIT2", titles.at(i)), F::textFrame("TPE1", artists.at(i)),
                                            F::textFrame("TALB", QStringLiteral("Late Hours")),
                                            F::textFrame("TDRC", QStringLiteral("2019-05-03")),
                                            F::textFrame("TBPM", QStringLiteral("124")),
                                            F::pictureFrame(F::encode(F::image(500, 500, Qt::darkBlue))),
                                            F::geobFrame(QStringLiteral("Serato Markers_"), "\x01\x02 cues")})
            && F::addId3v1(path, titles.at(i));
        paths << (ok ? path : QString());
    }
    return paths;
}

void TestMainWindow::addThroughToolbar(const QStringList &paths)
{
    emit m_window->toolbar()->passMediaList(paths);
}

// Add three files, add them again, edit one title, save.
void TestMainWindow::typicalUseEndToEnd()
{
    const QStringList paths = makeFiles(3);
    QVERIFY(!paths.contains(QString()));
    QList<QByteArray> hashes;
    for (const QString &path : paths)
        hashes << F::hash(path);
    AddMediaFileWidget &table = *m_window->mediaWidget();
    auto *viewToggle = child<QPushButton>(m_window->toolbar(), "viewToggle");
    auto *clearButton = child<QPushButton>(m_window->bottomBar(), "clearButton");
    auto *undoButton = child<QPushButton>(m_window->bottomBar(), "undoButton");
    auto *saveButton = child<QPushButton>(m_window->bottomBar(), "saveButton");
    QVERIFY(viewToggle && clearButton && undoButton && saveButton);
    QVERIFY(!viewToggle->isVisible());
    QVERIFY(!clearButton->isVisible());
    QSignalSpy changed(&table, &AddMediaFileWidget::someChangesHappen);

    addThroughToolbar(paths);
    QCOMPARE(table.table()->rowCount(), 3);
    QVERIFY(coversShown(table));
    QCOMPARE(columnTexts(table, QStringLiteral("FileName")), (QStringList{"1 track.mp3", "2 track.mp3", "3 track.mp3"}));
    QCOMPARE(columnTexts(table, QStringLiteral("Location")), paths);
    QCOMPARE(columnTexts(table, QStringLiteral("Title")), (QStringList{"Night Drive", "Sunrise", "Peak Time"}));
    QVERIFY(table.table()->isColumnHidden(column(table, QStringLiteral("Location"))));
    QCOMPARE(coverSize(table, 0), QSize(400, 400));
    QVERIFY(viewToggle->isVisible());
    QVERIFY(clearButton->isVisible());
    QVERIFY(!undoButton->isVisible());
    QVERIFY(!saveButton->isVisible());
    QVERIFY2(!boolValues(changed).contains(true), "adding files is not a change");

    // The same files once more, picked in the file dialog this time.
    const TopSectionWidget::OpenFilesDialog realDialog = TopSectionWidget::openFilesDialog;
    TopSectionWidget::openFilesDialog = [&paths](QWidget *, const QString &, const QString &, const QString &) {
        return QStringList{paths.at(2), paths.at(0), paths.at(1)};
    };
    QTest::mouseClick(child<QPushButton>(m_window->toolbar(), "addButton"), Qt::LeftButton);
    TopSectionWidget::openFilesDialog = realDialog;
    QCOMPARE(table.table()->rowCount(), 3);
    QCOMPARE(columnTexts(table, QStringLiteral("Location")), paths);
    QVERIFY2(!boolValues(changed).contains(true), "adding files is not a change");

    QVERIFY(edit(table, 1, QStringLiteral("Title"), QStringLiteral("Sunrise (Extended Mix)")));
    QVERIFY(undoButton->isVisible());
    QVERIFY(saveButton->isVisible());

    NotificationWatch watch;
    QTest::mouseClick(saveButton, Qt::LeftButton);
    QCOMPARE(watch.texts(), QStringList{savedText()});
    QCOMPARE(F::frameTexts(paths.at(1), "TIT2"), QStringList{"Sunrise (Extended Mix)"});
    QCOMPARE(F::frameTexts(paths.at(1), "TPE1"), QStringList{"Ben Okri"});
    QCOMPARE(F::hash(paths.at(0)), hashes.at(0));
    QCOMPARE(F::hash(paths.at(2)), hashes.at(2));
    QVERIFY(!undoButton->isVisible());
    QVERIFY(!saveButton->isVisible());
    QVERIFY(clearButton->isVisible());
    QVERIFY(viewToggle->isVisible());
    QVERIFY(!table.records().hasChanges());
}

void TestMainWindow::clearButtonAsksAndEmptiesTheList_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestMainWindow::clearButtonAsksAndEmptiesTheList()
{
    QFETCH(bool, ok);
    const QStringList paths = makeFiles(2);
    QVERIFY(!paths.contains(QString()));
    const QByteArray hash = F::hash(paths.at(0));
    AddMediaFileWidget &table = *m_window->mediaWidget();
    addThroughToolbar(paths);
    QVERIFY(edit(table, 0, QStringLiteral("Title"), QStringLiteral("Edited")));
    auto *viewToggle = child<QPushButton>(m_window->toolbar(), "viewToggle");
    auto *clearButton = child<QPushButton>(m_window->bottomBar(), "clearButton");
    auto *saveButton = child<QPushButton>(m_window->bottomBar(), "saveButton");
    QVERIFY(viewToggle && clearButton && saveButton);
    m_window->toolbar()->setViewToggleChecked(true);

    BoxAnswerer answer(ok);
    QTest::mouseClick(clearButton, Qt::LeftButton);
    QCOMPARE(answer.answered(), 1);

    if (ok) {
        QCOMPARE(table.table()->rowCount(), 0);
        QVERIFY(!table.records().hasChanges());
        QVERIFY(!viewToggle->isVisible());
        QVERIFY(!viewToggle->isChecked());
        QVERIFY(!clearButton->isVisible());
        QVERIFY(!saveButton->isVisible());
    } else {
        QCOMPARE(table.table()->rowCount(), 2);
        QCOMPARE(cell(table, 0, QStringLiteral("Title")), QStringLiteral("Edited"));
        QVERIFY(table.records().isChanged(paths.at(0)));
        QVERIFY(viewToggle->isVisible());
        QVERIFY(clearButton->isVisible());
        QVERIFY(saveButton->isVisible());
    }
    QCOMPARE(F::hash(paths.at(0)), hash);
}

void TestMainWindow::undoButtonAsksAndReloads_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestMainWindow::undoButtonAsksAndReloads()
{
    QFETCH(bool, ok);
    const QStringList paths = makeFiles(3);
    QVERIFY(!paths.contains(QString()));
    const QByteArray hash = F::hash(paths.at(2));
    AddMediaFileWidget &table = *m_window->mediaWidget();
    addThroughToolbar(paths);
    QVERIFY(edit(table, 2, QStringLiteral("Artist"), QStringLiteral("Edited")));
    auto *viewToggle = child<QPushButton>(m_window->toolbar(), "viewToggle");
    auto *undoButton = child<QPushButton>(m_window->bottomBar(), "undoButton");
    auto *saveButton = child<QPushButton>(m_window->bottomBar(), "saveButton");
    auto *clearButton = child<QPushButton>(m_window->bottomBar(), "clearButton");
    QVERIFY(viewToggle && undoButton && saveButton && clearButton);
    m_window->toolbar()->setViewToggleChecked(true);

    BoxAnswerer answer(ok);
    QTest::mouseClick(undoButton, Qt::LeftButton);
    QCOMPARE(answer.answered(), 1);

    QCOMPARE(columnTexts(table, QStringLiteral("Location")), paths);
    QCOMPARE(cell(table, 2, QStringLiteral("Artist")), ok ? QStringLiteral("Cleo Park") : QStringLiteral("Edited"));
    QCOMPARE(!table.records().hasChanges(), ok);
    QCOMPARE(viewToggle->isChecked(), !ok);
    QCOMPARE(undoButton->isVisible(), !ok);
    QCOMPARE(saveButton->isVisible(), !ok);
    QVERIFY(clearButton->isVisible());
    QVERIFY(viewToggle->isVisible());
    QCOMPARE(F::hash(paths.at(2)), hash);
}

void TestMainWindow::seratoRemovalAsksFirst_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("notification"); // empty: none

    QTest::newRow("ok") << 2 << true << QStringLiteral("Serato tags have been successfully removed!");
    QTest::newRow("cancel") << 2 << false << QString();
    QTest::newRow("ok on an empty list") << 0 << true
                                         << QStringLiteral("File list is empty. Operation can not be performed.");
}

void TestMainWindow::seratoRemovalAsksFirst()
{
    QFETCH(int, files);
    QFETCH(bool, ok);
    QFETCH(QString, notification);
    const QStringList paths = makeFiles(2);
    QVERIFY(!paths.contains(QString()));
    QList<QByteArray> hashes;
    for (const QString &path : paths)
        hashes << F::hash(path);
    if (files)
        addThroughToolbar(paths.mid(0, files));
    auto *seratoButton = child<QPushButton>(m_window->toolbar(), "seratoButton");
    QVERIFY(seratoButton);

    NotificationWatch watch;
    BoxAnswerer answer(ok);
    QTest::mouseClick(seratoButton, Qt::LeftButton);
    QCOMPARE(answer.answered(), 1);
    QVERIFY2(answer.question().contains(QStringLiteral("Serato")), qPrintable(answer.question()));

    QCOMPARE(watch.texts(), notification.isEmpty() ? QStringList() : QStringList{notification});
    for (int i = 0; i < paths.size(); ++i) {
        if (ok && i < files) {
            QVERIFY(!F::readBytes(paths.at(i)).contains("Serato"));
            QVERIFY(F::id3v1(paths.at(i)).isEmpty());
            QVERIFY(!F::frameTexts(paths.at(i), "TIT2").isEmpty());
            QVERIFY(F::readBytes(paths.at(i)).endsWith(F::silentAudio()));
        } else {
            QCOMPARE(F::hash(paths.at(i)), hashes.at(i));
        }
    }
}

void TestMainWindow::closeAsksOnlyWithUnsavedChanges_data()
{
    using Answer = MainWindow::CloseAnswer;
    QTest::addColumn<QString>("before"); // what the user did before closing
    QTest::addColumn<Answer>("answer");  // the answer, when asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written"); // the edit reached the files

    QTest::newRow("empty list") << QString() << Answer::Cancel << false << true << false;
    QTest::newRow("files, no edits") << QStringLiteral("add") << Answer::Cancel << false << true << false;
    QTest::newRow("edits, save") << QStringLiteral("edit") << Answer::Save << true << true << true;
    QTest::newRow("edits, discard") << QStringLiteral("edit") << Answer::Discard << true << true << false;
    QTest::newRow("edits, cancel") << QStringLiteral("edit") << Answer::Cancel << true << false << false;
    QTest::newRow("edits saved") << QStringLiteral("save") << Answer::Cancel << false << true << true;
    QTest::newRow("edits undone") << QStringLiteral("undo") << Answer::Cancel << false << true << false;
}

void TestMainWindow::closeAsksOnlyWithUnsavedChanges()
{
    QFETCH(QString, before);
    QFETCH(MainWindow::CloseAnswer, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    const QStringList paths = makeFiles(2);
    QVERIFY(!paths.contains(QString()));
    AddMediaFileWidget &table = *m_window->mediaWidget();
    if (!before.isEmpty())
        addThroughToolbar(paths);
    QList<QByteArray> hashes;
    for (const QString &path : paths)
        hashes << F::hash(path);
    if (before != QLatin1String("add") && !before.isEmpty())
        QVERIFY(edit(table, 0, QStringLiteral("Title"), QStringLiteral("Edited")));
    if (before == QLatin1String("save"))
        table.initiateSaveChanges();
    if (before == QLatin1String("undo"))
        table.UndoChangesInTable();

    int askedTimes = 0;
    MainWindow::askBeforeClosing = [&](QWidget *) {
        ++askedTimes;
        return answer;
    };
    QCOMPARE(m_window->close(), closes);
    QCOMPARE(askedTimes, asked ? 1 : 0);
    QCOMPARE(m_window->isVisible(), !closes);
    if (!closes) {
        QCOMPARE(cell(table, 0, QStringLiteral("Title")), QStringLiteral("Edited"));
        QVERIFY(table.hasUnsavedChanges());
        QVERIFY(!!table.records().hasChanges());
    }
    QCOMPARE(F::hash(paths.value(0)) != hashes.value(0), written);
    if (!paths.isEmpty())
        QCOMPARE(F::hash(paths.at(1)), hashes.at(1));
}

void TestMainWindow::layoutSurvivesRestartUntilReset_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("rows"); // the restarted window has rows when the layout comes back

    QTest::newRow("moved and resized") << QStringLiteral("geometry") << false;
    QTest::newRow("column widened") << QStringLiteral("width") << false;
    QTest::newRow("column moved") << QStringLiteral("order") << false;
    QTest::newRow("sorted, empty table") << QStringLiteral("sort") << false;
    QTest::newRow("sorted, rows") << QStringLiteral("sort") << true;
    QTest::newRow("column moved, rows") << QStringLiteral("order") << true;
    QTest::newRow("maximised") << QStringLiteral("maximised") << false;
}

void TestMainWindow::layoutSurvivesRestartUntilReset()
{
    QFETCH(QString, change);
    QFETCH(bool, rows);
    const MainWindow untouched;
    const QList<QPair<int, int>> firstColumns = columnLayout(untouched);
    const MediaFileTableWidget *firstTable = m_window->mediaWidget()->table();
    const int title = firstTable->columnOf(QStringLiteral("Title"));
    const int artist = firstTable->columnOf(QStringLiteral("Artist"));
    QHeaderView *header = headerOf(*m_window);
    if (change == QLatin1String("geometry"))
        m_window->setGeometry(20, 10, 1100, 650);
    else if (change == QLatin1String("width"))
        header->resizeSection(title, 333);
    else if (change == QLatin1String("order"))
        header->moveSection(header->visualIndex(artist), header->count() - 1);
    else if (change == QLatin1String("sort"))
        header->setSortIndicator(artist, Qt::DescendingOrder);
    else
        m_window->showMaximized();
    const QRect geometry = m_window->isMaximized() ? m_window->normalGeometry() : m_window->geometry();
    const QList<QPair<int, int>> columns = columnLayout(*m_window);
    QCOMPARE(columns != firstColumns, change == QLatin1String("width") || change == QLatin1String("order"));
    QVERIFY(m_window->close());

    MainWindow restarted;
    const QStringList paths = rows ? makeFiles(3) : QStringList();
    if (rows)
        emit restarted.toolbar()->passMediaList(paths);
    restarted.restoreLayout();
    restarted.show();
    QVERIFY(QTest::qWaitForWindowExposed(&restarted));
    QCOMPARE(restarted.isMaximized(), change == QLatin1String("maximised"));
    QCOMPARE(restarted.isMaximized() ? restarted.normalGeometry() : restarted.geometry(), geometry);
    QCOMPARE(columnLayout(restarted), columns);
    const bool sorted = change == QLatin1String("sort");
    QCOMPARE(headerOf(restarted)->sortIndicatorSection(), sorted ? artist : -1);
    if (sorted)
        QCOMPARE(headerOf(restarted)->sortIndicatorOrder(), Qt::DescendingOrder);
    if (rows) {
        const QStringList byArtist = {QStringLiteral("Cleo Park"), QStringLiteral("Ben Okri"), QStringLiteral("Ana Ruiz")};
        QStringList shown;
        for (int r = 0; r < 3; ++r)
            shown << cell(*restarted.mediaWidget(), r, QStringLiteral("Artist"));
        QCOMPARE(shown, sorted ? byArtist : QStringList(byArtist.rbegin(), byArtist.rend()));
        // Moving a column keeps cells and keys together.
        QCOMPARE(restarted.mediaWidget()->table()->item(0, artist)->text(), shown.first());
    }

    restarted.resetLayout();
    QVERIFY(!UserSettings::windowLayout().geometry.isValid());
    QVERIFY(!restarted.isMaximized());
    QCOMPARE(restarted.geometry().topLeft(),
             initialMainWindowGeometry(QGuiApplication::primaryScreen()->availableSize()).topLeft());
    QCOMPARE(columnLayout(restarted), firstColumns);
    QCOMPARE(headerOf(restarted)->sortIndicatorSection(), -1);
}

SONVEL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
