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
const QString kBlue = QStringLiteral("border: 2px solid blue");

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
}

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
    void replaceArtworkFitsTheCell_data();
    void replaceArtworkFitsTheCell();
    void replacedArtworkIsSaved_data();
    void replacedArtworkIsSaved();
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

void TestCoverArtDisplayBox::replaceArtworkFitsTheCell_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("fitted");

    QTest::newRow("wide JPEG") << QSize(1000, 500) << QByteArray("JPG") << QSize(400, 200);
    QTest::newRow("small PNG keeps its size") << QSize(100, 100) << QByteArray("PNG") << QSize(100, 100);
    QTest::newRow("tall PNG") << QSize(300, 900) << QByteArray("PNG") << QSize(133, 400);
    QTest::newRow("exactly 400") << QSize(400, 400) << QByteArray("JPG") << QSize(400, 400);
    QTest::newRow("small and wide") << QSize(240, 60) << QByteArray("JPG") << QSize(240, 60);
}

void TestCoverArtDisplayBox::replaceArtworkFitsTheCell()
{
    QFETCH(QSize, picture);
    QFETCH(QByteArray, format);
    QFETCH(QSize, fitted);
    QTemporaryDir tmp;
    const QString other = makeTrack(tmp.path(), QStringLiteral("other.mp3"), QStringLiteral("Other"),
                                    QStringLiteral("Someone"));
    const QString path = makeTrack(tmp.path(), QStringLiteral("song.mp3"), QStringLiteral("Song"),
                                   QStringLiteral("Singer"), F::encode(F::image(300, 300, Qt::darkGreen)));
    QVERIFY(!path.isEmpty() && !other.isEmpty());
    const QString picked = writePicked(tmp.path(), picture, format);
    QVERIFY(!picked.isEmpty());
    const QByteArray hash = F::hash(path);

    AddMediaFileWidget widget;
    widget.getMediaList({other, path});
    const int row = rowOf(widget, path);
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    const BoxVisit visit = pickInCoverBox(widget, row, picked);

    QVERIFY(visit.opened);
    QCOMPARE(visit.passed, QStringList{picked});
    QCOMPARE(visit.previewAfter.size(), QSize(250, 250));
    QVERIFY(near(visit.previewAfter.pixelColor(125, 125), kPicked));
    QVERIFY(visit.closedByButton);

    QCOMPARE(coverSize(widget, row), fitted);
    QVERIFY(near(coverLabel(widget, row)->pixmap(Qt::ReturnByValue).toImage().pixelColor(fitted.width() / 2,
                                                                                           fitted.height() / 2),
                 kPicked));
    QCOMPARE(coverLabel(widget, row)->styleSheet(), kBlue);
    QCOMPARE(coverSize(widget, rowOf(widget, other)), QSize());
    QVERIFY(widget.records().coverChanged(path));
    QCOMPARE(widget.records().changedCount(), 1);
    QVERIFY(widget.records().changedFields(path).isEmpty());
    QCOMPARE(boolValues(changed), QList<bool>{true});
    QCOMPARE(F::hash(path), hash);
}

void TestCoverArtDisplayBox::replacedArtworkIsSaved_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("song"); // "plain" (no cover) or "detailed" (two pictures)
    QTest::addColumn<QSize>("fitted");

    QTest::newRow("wide JPEG") << QSize(1000, 500) << QByteArray("JPG") << "plain" << QSize(400, 200);
    QTest::newRow("tall PNG") << QSize(300, 900) << QByteArray("PNG") << "plain" << QSize(133, 400);
    QTest::newRow("exactly 400") << QSize(400, 400) << QByteArray("JPG") << "plain" << QSize(400, 400);
    QTest::newRow("over two pictures") << QSize(1000, 500) << QByteArray("PNG") << "detailed" << QSize(400, 200);
}

// What the file holds is the picture as the cell shows it, as one JPEG front
// cover, and nothing else in the list is written.
void TestCoverArtDisplayBox::replacedArtworkIsSaved()
{
    QFETCH(QSize, picture);
    QFETCH(QByteArray, format);
    QFETCH(QString, song);
    QFETCH(QSize, fitted);
    QTemporaryDir tmp;
    const QString other = makeDetailed(tmp.path(), QStringLiteral("other.mp3"));
    const QString path = song == QLatin1String("detailed")
        ? makeDetailed(tmp.path(), QStringLiteral("song.mp3"))
        : makeTrack(tmp.path(), QStringLiteral("song.mp3"), QStringLiteral("Song"), QStringLiteral("Singer"));
    QVERIFY(!path.isEmpty() && !other.isEmpty());
    const QString picked = writePicked(tmp.path(), picture, format);
    QVERIFY(!picked.isEmpty());
    const QByteArray otherHash = F::hash(other);
    const QString title = TagReaderAndWriter::readTitle(path);

    AddMediaFileWidget widget;
    widget.getMediaList({other, path});
    const BoxVisit visit = pickInCoverBox(widget, rowOf(widget, path), picked);
    QVERIFY(visit.opened && visit.closedByButton);
    QCOMPARE(coverSize(widget, rowOf(widget, path)), fitted);

    const NotificationWatch watch;
    widget.initiateSaveChanges();
    QCOMPARE(watch.texts(), QStringList{savedText()});
    const QList<F::Picture> stored = F::pictures(path);
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().type, 3);
    QCOMPARE(stored.first().mime, QStringLiteral("image/jpeg"));
    QVERIFY(stored.first().data.startsWith("\xFF\xD8\xFF"));
    const QImage cover = TagReaderAndWriter::readCoverArt(path);
    QCOMPARE(cover.size(), fitted);
    QVERIFY(near(cover.pixelColor(fitted.width() / 2, fitted.height() / 2), kPicked));
    QCOMPARE(TagReaderAndWriter::readTitle(path), title);
    QCOMPARE(F::hash(other), otherHash);
    QVERIFY(!widget.records().hasChanges());
    QVERIFY(!widget.hasUnsavedChanges());
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
    QTemporaryDir tmp;
    const QString path = makeTrack(tmp.path(), QStringLiteral("song.mp3"), QStringLiteral("Song"),
                                   QStringLiteral("Singer"),
                                   cover ? F::encode(F::image(300, 150, Qt::darkGreen)) : QByteArray());
    QVERIFY(!path.isEmpty());
    const QString picked = name.isEmpty() ? QString() : tmp.filePath(name);
    if (!bytes.isNull())
        QVERIFY(writeFile(picked, bytes));
    const QByteArray hash = F::hash(path);

    AddMediaFileWidget widget;
    widget.getMediaList({path});
    const QLabel *label = coverLabel(widget, 0);
    const QSize cellBefore = coverSize(widget, 0);
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    const NotificationWatch watch;
    const BoxVisit visit = pickInCoverBox(widget, 0, picked);

    QVERIFY(visit.opened);
    QVERIFY2(visit.openAfterPick, "the box stays open for another pick");
    QCOMPARE(visit.previewAfter, visit.previewBefore);
    QVERIFY(visit.passed.isEmpty());
    QVERIFY(visit.closedByButton);

    QCOMPARE(coverLabel(widget, 0), label);
    QCOMPARE(coverSize(widget, 0), cellBefore);
    QVERIFY(!widget.records().hasChanges());
    QVERIFY(changed.isEmpty());
    QCOMPARE(F::hash(path), hash);

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
