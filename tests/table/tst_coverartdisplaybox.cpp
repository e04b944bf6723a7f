#include "common/testmain.h"
#include "table/coverartdisplaybox.h"
#include "table/tablefixture.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace TableFixture;

namespace {

const QColor kPicked(30, 144, 255);

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString writePicked(const QString &dir, const QSize &size, const QByteArray &format)
{
    const QString path = QStringLiteral("%1/picked.%2").arg(dir, QString::fromLatin1(format).toLower());
    return writeFile(path, F::encode(F::image(size.width(), size.height(), kPicked), format.constData())) ? path
                                                                                                        : QString();
}

// What happened inside the box while it was open.
struct BoxVisit
{
    bool opened = false;
    QImage previewBefore;
    QImage previewAfter;
    QStringList passed;        // passCoverPicFileLoc arguments
    bool openAfterPick = false; // still the modal box after the pick
    bool closedByButton = false;
};

// Double-clicks the row's cover, picks the file the dialog seam returns,
// then presses Close. A box Close leaves open is rejected later, so the test
// fails instead of hanging.
BoxVisit pickInCoverBox(AddMediaFileWidget &widget, int row, const QString &picked)
{
    BoxVisit visit;
    CoverArtDisplayBox::openFileDialog = [picked](QWidget *, const QString &, const QString &, const QString &) {
        return picked;
    };
    QTimer::singleShot(0, &widget, [&visit] {
        auto *box = qobject_cast<CoverArtDisplayBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        visit.opened = true;
        visit.previewBefore = box->shownImage();
        QObject::connect(box, &CoverArtDisplayBox::passCoverPicFileLoc, box,
                         [&visit](QString &location) { visit.passed << location; });
        auto *replace = box->findChild<QPushButton *>(QStringLiteral("replaceArtworkButton"));
        auto *close = box->findChild<QPushButton *>(QStringLiteral("closeButton"));
        if (!replace || !close)
            return box->reject();
        QTest::mouseClick(replace, Qt::LeftButton);
        visit.previewAfter = box->shownImage();
        visit.openAfterPick = box->isVisible() && QApplication::activeModalWidget() == box;
        QTest::mouseClick(close, Qt::LeftButton);
        visit.closedByButton = !box->isVisible();
        QTimer::singleShot(3000, box, &QDialog::reject);
    });
    widget.doubleClickedOnCell(row, column(widget, QStringLiteral("CoverArt")));
    return visit;
}

} // namespace

class TestCoverArtDisplayBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void replacedArtworkIsShownAndSaved_data();
    void replacedArtworkIsShownAndSaved();
    void unusablePickChangesNothing_data();
    void unusablePickChangesNothing();

private:
    CoverArtDisplayBox::OpenFileDialog m_realDialog;
};

void TestCoverArtDisplayBox::initTestCase()
{
    m_realDialog = CoverArtDisplayBox::openFileDialog;
}

void TestCoverArtDisplayBox::cleanup()
{
    CoverArtDisplayBox::openFileDialog = m_realDialog;
    closeNotifications();
}

void TestCoverArtDisplayBox::replacedArtworkIsShownAndSaved_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("detailed"); // the song holds two pictures and more tags
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QSize>("stored");

    // The fitting itself is the core's rule; these show the box applies it.
    QTest::newRow("wide JPEG") << QSize(1000, 500) << QByteArray("JPG") << false << QSize(400, 200) << QSize(400, 200);
    QTest::newRow("small PNG keeps its size in the cell")
        << QSize(100, 100) << QByteArray("PNG") << false << QSize(100, 100) << QSize(400, 400);
    QTest::newRow("over two pictures") << QSize(300, 900) << QByteArray("PNG") << true << QSize(133, 400)
                                       << QSize(133, 400);
}

// The cell shows the picked picture at once, with the changed border; the
// save stores it as one JPEG front cover and writes nothing else.
void TestCoverArtDisplayBox::replacedArtworkIsShownAndSaved()
{
    QFETCH(QSize, picture);
    QFETCH(QByteArray, format);
    QFETCH(bool, detailed);
    QFETCH(QSize, shown);
    QFETCH(QSize, stored);
    QList<Track> tracks = detailedTracks({"other.mp3", "song.mp3"});
    if (!detailed)
        tracks[1] = {"song.mp3", "Song", "Singer", QSize(300, 300), Qt::darkGreen};
    PopulatedTable t(tracks);
    const QString picked = writePicked(t.dir.path(), picture, format);
    QVERIFY(!picked.isEmpty());
    const QString path = t.paths.at(1);
    const QString title = TagReaderAndWriter::readTitle(path);
    QVERIFY(t.list());
    const int row = t.row(1);
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    const BoxVisit visit = pickInCoverBox(t.widget, row, picked);

    QVERIFY(visit.opened);
    QCOMPARE(visit.passed, QStringList{picked});
    QCOMPARE(visit.previewAfter.size(), QSize(250, 250));
    QVERIFY(near(visit.previewAfter.pixelColor(125, 125), kPicked));
    QVERIFY(visit.closedByButton);
    QCOMPARE(coverSize(t.widget, row), shown);
    QVERIFY(near(coverLabel(t.widget, row)->pixmap(Qt::ReturnByValue).toImage().pixelColor(shown.width() / 2,
                                                                                         shown.height() / 2),
                 kPicked));
    QCOMPARE(coverLabel(t.widget, row)->styleSheet(), changedCoverStyle());
    QCOMPARE(t.widget.records().changedCount(), 1);
    QVERIFY(t.widget.records().coverChanged(path));
    QVERIFY(t.widget.records().changedFields(path).isEmpty());
    QCOMPARE(boolValues(changed), QList<bool>{true});
    QVERIFY(t.unchanged(1));

    const NotificationWatch watch;
    t.widget.initiateSaveChanges();
    QCOMPARE(watch.texts(), QStringList{savedText()});
    const QList<F::Picture> pictures = F::pictures(path);
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(pictures.first().type, 3);
    QCOMPARE(pictures.first().mime, QStringLiteral("image/jpeg"));
    QVERIFY(pictures.first().data.startsWith("\xFF\xD8\xFF"));
    const QImage cover = TagReaderAndWriter::readCoverArt(path);
    QCOMPARE(cover.size(), stored);
    QVERIFY(near(cover.pixelColor(stored.width() / 2, stored.height() / 2), kPicked));
    QCOMPARE(TagReaderAndWriter::readTitle(path), title);
    QVERIFY(t.unchanged(0));
    QVERIFY(!t.widget.records().hasChanges());
    QVERIFY(!t.widget.hasUnsavedChanges());
}

void TestCoverArtDisplayBox::unusablePickChangesNothing_data()
{
    QTest::addColumn<QString>("name");     // of the picked file; empty: the dialog was cancelled
    QTest::addColumn<QByteArray>("bytes"); // its content; null: it does not exist
    QTest::addColumn<bool>("cover");       // the song has a cover

    QTest::newRow("text named .png") << "notes.png" << QByteArray("just some words, no picture") << true;
    QTest::newRow("empty .jpg") << "empty.jpg" << QByteArray("") << false;
    QTest::newRow("audio named .jpg") << "song.jpg" << F::silentAudio() << true;
    QTest::newRow("file gone") << "gone.png" << QByteArray() << true;
    QTest::newRow("cancelled") << QString() << QByteArray() << true;
    QTest::newRow("cancelled, no cover") << QString() << QByteArray() << false;
}

void TestCoverArtDisplayBox::unusablePickChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, cover);
    PopulatedTable t({{"song.mp3", "Song", "Singer", cover ? QSize(300, 150) : QSize(), Qt::darkGreen}});
    const QString picked = name.isEmpty() ? QString() : t.filePath(name);
    if (!bytes.isNull())
        QVERIFY(writeFile(picked, bytes));
    QVERIFY(t.list());
    const QLabel *label = coverLabel(t.widget, 0);
    const QSize cellBefore = coverSize(t.widget, 0);
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    const NotificationWatch watch;
    const BoxVisit visit = pickInCoverBox(t.widget, 0, picked);

    QVERIFY(visit.opened);
    QVERIFY2(visit.openAfterPick, "the box stays open for another pick");
    QCOMPARE(visit.previewAfter, visit.previewBefore);
    QVERIFY(visit.passed.isEmpty());
    QVERIFY(visit.closedByButton);

    QCOMPARE(coverLabel(t.widget, 0), label);
    QCOMPARE(coverSize(t.widget, 0), cellBefore);
    QVERIFY(!t.widget.records().hasChanges());
    QVERIFY(changed.isEmpty());
    QVERIFY(t.unchanged(0));

    const QStringList texts = watch.texts();
    if (name.isEmpty()) {
        QVERIFY(texts.isEmpty());
        return;
    }
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().contains(name), qPrintable(texts.first()));
    // Loaded the way the notification loads it, so both went through a pixmap.
    const QImage errorIcon = QPixmap(VrNotification::iconPath(Error)).toImage();
    QVERIFY(!errorIcon.isNull());
    for (VrNotification *notification : liveNotifications()) {
        if (notificationText(notification) != texts.first())
            continue;
        const auto *icon = notification->findChild<QLabel *>(QStringLiteral("iconLabel"));
        QVERIFY(icon);
        QCOMPARE(icon->pixmap(Qt::ReturnByValue).toImage(), errorIcon);
    }
}

SONVEL_TEST_MAIN(TestCoverArtDisplayBox)
#include "tst_coverartdisplaybox.moc"
