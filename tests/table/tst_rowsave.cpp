#include "common/testmain.h"
#include "table/coveroriginals.h"
#include "table/rowsave.h"
#include "table/tablefixture.h"
#include "tags/savingoptions.h"

#include <QDir>
#include <QTemporaryDir>

using namespace TableFixture;
using Covers = SavingOptions::Covers;
Q_DECLARE_METATYPE(Covers)

namespace {

// typed "-": the name was not edited.
RowEdit editOf(const QString &path, const QString &typed, const QMap<QString, QString> &fields)
{
    RowEdit edit;
    edit.path = path;
    if (typed != QLatin1String("-"))
        edit.fileName = typed;
    edit.fields = fields;
    return edit;
}

} // namespace

// The save of one row, straight against the files: what is renamed, what is
// written, what is left alone and why a row fails.
class TestRowSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void renamesAndWrites_data();
    void renamesAndWrites();
    void reportsBrokenFiles_data();
    void reportsBrokenFiles();
    void storesCoverAsOneFittedJpeg_data();
    void storesCoverAsOneFittedJpeg();
    void fitsCoversForTableAndStorage_data();
    void fitsCoversForTableAndStorage();
    void storesCoverAsOptionsSay_data();
    void storesCoverAsOptionsSay();

private:
    QImage chosenPicture(const QString &from, const QByteArray &original, const QImage &pixels);

    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_folder;
};

void TestRowSave::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    m_folder = m_tmp->filePath(QStringLiteral("set"));
    QVERIFY(QDir().mkpath(m_folder + QStringLiteral("/sub")));
}

void TestRowSave::cleanup()
{
    SavingOptions::setCurrent(SavingOptions());
    CoverOriginals::clear();
}

void TestRowSave::renamesAndWrites_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("typed");   // "-": the name was not edited
    QTest::addColumn<bool>("withTitle");  // the title changed too
    QTest::addColumn<QString>("finalName");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("keepChanges");

    const QString a = QStringLiteral("a.mp3");
    const QString refused = QStringLiteral("the name was refused");
    const QString taken = QStringLiteral("the name is already taken");
    QTest::newRow("name") << a << "b" << false << "b.mp3" << "" << false;
    QTest::newRow("name with extension") << a << "b.mp3" << false << "b.mp3" << "" << false;
    QTest::newRow("own extension in capitals") << a << "X.MP3" << false << "X.mp3" << "" << false;
    QTest::newRow("another extension is part of the name") << a << "X.wav" << false << "X.wav.mp3" << "" << false;
    QTest::newRow("case only") << a << "A" << false << "A.mp3" << "" << false;
    QTest::newRow("unicode and spaces") << a << QString::fromUtf8("Café 東京 - 01 (Edit)") << false
                                        << QString::fromUtf8("Café 東京 - 01 (Edit).mp3") << "" << false;
    QTest::newRow("name and title") << a << "b" << true << "b.mp3" << "" << false;
    QTest::newRow("title only") << a << "-" << true << a << "" << false;
    QTest::newRow("own name without extension") << a << "a" << false << a << "" << false;
    QTest::newRow("own name with extension") << a << "a.mp3" << false << a << "" << false;
    QTest::newRow("existing file") << a << "taken" << false << a << taken << true;
    QTest::newRow("existing file, with extension") << a << "taken.mp3" << false << a << taken << true;
    QTest::newRow("existing file, title still written") << a << "taken" << true << a << taken << true;
    QTest::newRow("parent folder") << a << "../x" << false << a << refused << true;
    QTest::newRow("parent folder, title still written") << a << "../x" << true << a << refused << true;
    QTest::newRow("sub folder") << a << "sub/b" << false << a << refused << true;
    QTest::newRow("backslash") << a << "a\\b" << false << a << refused << true;
    QTest::newRow("empty") << a << "" << false << a << refused << true;
    QTest::newRow("dot") << a << "." << false << a << refused << true;
    QTest::newRow("dot dot") << a << ".." << false << a << refused << true;
    QTest::newRow("only the extension") << a << ".mp3" << false << a << refused << true;
    // A file keeps its own extension as written, whatever the name typed.
    QTest::newRow("current name in capitals") << "Loud.MP3" << "quiet" << false << "quiet.MP3" << "" << false;
    QTest::newRow("current name in capitals, title still written")
        << "Loud.MP3" << "quiet.mp3" << true << "quiet.MP3" << "" << false;
    QTest::newRow("another format's extension") << "Set.FLAC" << "Intro.flac" << false << "Intro.FLAC" << "" << false;
}

void TestRowSave::renamesAndWrites()
{
    QFETCH(QString, current);
    QFETCH(QString, typed);
    QFETCH(bool, withTitle);
    QFETCH(QString, finalName);
    QFETCH(QString, failure);
    QFETCH(bool, keepChanges);
    const QString path = makeDetailed(m_folder, current);
    const QString taken = makeTrack(m_folder, QStringLiteral("taken.mp3"), "Other", "Other");
    QVERIFY(!path.isEmpty() && !taken.isEmpty());
    const QByteArray hash = F::hash(path);
    const QByteArray takenHash = F::hash(taken);
    const QStringList keptBefore = framesOtherThan(path, {"TIT2"});

    QMap<QString, QString> fields;
    if (withTitle)
        fields.insert(QStringLiteral("Title"), QStringLiteral("New title"));
    const RowSaveOutcome outcome = RowSave::save(editOf(path, typed, fields));

    const QString finalPath = QDir(m_folder).filePath(finalName);
    QCOMPARE(outcome.path, finalPath);
    QCOMPARE(outcome.failure, failure);
    QCOMPARE(outcome.keepChanges, keepChanges);
    QVERIFY(QFile::exists(finalPath));
    QCOMPARE(QFile::exists(path), finalPath == path);
    QStringList expectedFiles = {finalName, QStringLiteral("sub"), QStringLiteral("taken.mp3")};
    expectedFiles.sort();
    QCOMPARE(filesIn(m_folder), expectedFiles);
    QCOMPARE(filesIn(m_tmp->path()), QStringList{"set"});
    QVERIFY(filesIn(m_folder + QStringLiteral("/sub")).isEmpty());
    QCOMPARE(F::hash(taken), takenHash);
    if (withTitle) {
        QCOMPARE(TagReaderAndWriter::readTitle(finalPath), QStringLiteral("New title"));
        QCOMPARE(framesOtherThan(finalPath, {"TIT2"}), keptBefore);
        QVERIFY(audioIntact(finalPath));
    } else {
        QCOMPARE(F::hash(finalPath), hash);
    }
}

void TestRowSave::reportsBrokenFiles_data()
{
    QTest::addColumn<QString>("breakage"); // "removed", "folder" (removed, a folder in its place), "not audio"
    QTest::addColumn<QString>("typed");    // "-": the name was not edited
    QTest::addColumn<QString>("failure");

    const QString gone = QStringLiteral("the file is gone");
    QTest::newRow("removed") << "removed" << "-" << gone;
    QTest::newRow("removed while renamed") << "removed" << "renamed" << gone;
    QTest::newRow("folder in its place") << "folder" << "-" << TagWriteResult{TagWriteError::FileMissing}.reason();
    QTest::newRow("folder while renamed") << "folder" << "renamed" << gone;
    QTest::newRow("not MPEG audio") << "not audio" << "-" << TagWriteResult{TagWriteError::NotAudio}.reason();
}

void TestRowSave::reportsBrokenFiles()
{
    QFETCH(QString, breakage);
    QFETCH(QString, typed);
    QFETCH(QString, failure);
    QString path = makeDetailed(m_folder, QStringLiteral("a.mp3"));
    QVERIFY(!path.isEmpty());
    if (breakage == QLatin1String("not audio")) {
        path = F::createFile(m_folder, QStringLiteral("text.mp3"), QByteArray(4096, 'x'));
    } else {
        QVERIFY(QFile::remove(path));
        if (breakage == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
    }
    const QStringList before = filesIn(m_folder);

    const RowSaveOutcome outcome = RowSave::save(editOf(path, typed, {{QStringLiteral("Title"), QStringLiteral("New")}}));

    QCOMPARE(outcome.failure, failure);
    QVERIFY(outcome.keepChanges);
    QCOMPARE(outcome.path, path);
    QCOMPARE(filesIn(m_folder), before);
}

void TestRowSave::storesCoverAsOneFittedJpeg_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QSize>("stored"); // invalid: no picture left

    QTest::newRow("wide") << F::image(1000, 500, Qt::red) << QSize(400, 200);
    QTest::newRow("small is enlarged") << F::image(100, 100, Qt::red) << QSize(400, 400);
    QTest::newRow("tall") << F::image(300, 600, Qt::red) << QSize(200, 400);
    QTest::newRow("exactly 400") << F::image(400, 400, Qt::red) << QSize(400, 400);
    QTest::newRow("large") << F::image(1500, 1500, Qt::red) << QSize(400, 400);

    QImage halfClear(200, 100, QImage::Format_ARGB32);
    halfClear.fill(Qt::transparent);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x)
            halfClear.setPixelColor(x, y, Qt::red);
    }
    QTest::newRow("transparent left half") << halfClear << QSize(400, 200);
    QImage clear(64, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QTest::newRow("fully transparent") << clear << QSize(400, 400);
    QTest::newRow("no picture removes them all") << QImage() << QSize();
}

void TestRowSave::storesCoverAsOneFittedJpeg()
{
    QFETCH(QImage, picture);
    QFETCH(QSize, stored);
    const QString path = makeDetailed(m_folder, "cover.mp3");
    QVERIFY(!path.isEmpty());
    QCOMPARE(F::pictures(path).size(), 2);
    const QStringList keptBefore = framesOtherThan(path, {"APIC"});

    RowEdit edit = editOf(path, QStringLiteral("-"), {});
    edit.cover = picture;
    QVERIFY(RowSave::save(edit).ok());

    QCOMPARE(framesOtherThan(path, {"APIC"}), keptBefore);
    QVERIFY(audioIntact(path));
    const QList<F::Picture> pictures = F::pictures(path);
    if (!stored.isValid()) {
        QVERIFY(pictures.isEmpty());
        return;
    }
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(pictures.first().mime, QStringLiteral("image/jpeg"));
    QCOMPARE(pictures.first().type, 3);
    QVERIFY(pictures.first().data.startsWith("\xFF\xD8"));
    const QImage image = QImage::fromData(pictures.first().data, "JPG");
    QCOMPARE(image.size(), stored);

    // Transparent parts come out white, not black; opaque parts keep their colour.
    const QImage scaled = picture.scaled(stored, Qt::IgnoreAspectRatio);
    for (const QPoint &at : {QPoint(stored.width() / 8, stored.height() / 2),
                             QPoint(stored.width() * 7 / 8, stored.height() / 2)}) {
        const bool clearPixel = scaled.pixelColor(at).alpha() == 0;
        const QColor expected = clearPixel ? QColor(Qt::white) : scaled.pixelColor(at);
        const QColor got = image.pixelColor(at);
        QVERIFY2(near(got, expected), qPrintable(QStringLiteral("pixel at %1,%2 is %3, expected %4")
                                                     .arg(at.x()).arg(at.y()).arg(got.name(), expected.name())));
    }
}

void TestRowSave::fitsCoversForTableAndStorage_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("inTable");
    QTest::addColumn<QSize>("stored");
    QTest::newRow("small") << QSize(100, 50) << QSize(100, 50) << QSize(400, 200);
    QTest::newRow("exactly 400") << QSize(400, 400) << QSize(400, 400) << QSize(400, 400);
    QTest::newRow("wide") << QSize(1000, 500) << QSize(400, 200) << QSize(400, 200);
    QTest::newRow("tall") << QSize(300, 600) << QSize(200, 400) << QSize(200, 400);
    QTest::newRow("one side over") << QSize(401, 100) << QSize(400, 99) << QSize(400, 99);
    QTest::newRow("tall, not square") << QSize(300, 900) << QSize(133, 400) << QSize(133, 400);
    QTest::newRow("small and wide") << QSize(240, 60) << QSize(240, 60) << QSize(400, 100);
}

void TestRowSave::fitsCoversForTableAndStorage()
{
    QFETCH(QSize, picture);
    const QImage image = F::image(picture.width(), picture.height(), Qt::blue);
    QTEST(RowSave::fitForTable(image).size(), "inTable");
    QTEST(RowSave::fitForStorage(image).size(), "stored");
    QVERIFY(RowSave::fitForTable(QImage()).isNull());
    QVERIFY(RowSave::fitForStorage(QImage()).isNull());
}

void TestRowSave::storesCoverAsOptionsSay_data()
{
    QTest::addColumn<Covers>("covers");
    QTest::addColumn<QString>("from"); // see chosenPicture()
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("throughTable"); // replaced in the table and saved with it
    QTest::addColumn<QString>("mime");
    QTest::addColumn<bool>("asChosen"); // the source's own bytes stored
    QTest::addColumn<QSize>("stored");

    const QString jpeg = QStringLiteral("image/jpeg");
    const QString png = QStringLiteral("image/png");
    const QSize big(1500, 1500);
    QTest::newRow("fit: JPEG") << Covers::FitTo400 << "file" << QByteArray("JPG") << QSize(600, 600) << false << jpeg
                               << false << QSize(400, 400);
    QTest::newRow("fit: through the table") << Covers::FitTo400 << "file" << QByteArray("JPG") << big << true << jpeg
                                            << false << QSize(400, 400);
    QTest::newRow("JPEG larger than the table holds")
        << Covers::KeepAsChosen << "file" << QByteArray("JPG") << big << false << jpeg << true << big;
    QTest::newRow("PNG") << Covers::KeepAsChosen << "file" << QByteArray("PNG") << QSize(1000, 500) << false << png
                         << true << QSize(1000, 500);
    QTest::newRow("PNG named .jpg") << Covers::KeepAsChosen << "file named .jpg" << QByteArray("PNG")
                                    << QSize(300, 300) << false << png << true << QSize(300, 300);
    QTest::newRow("BMP as a JPEG of its full size") << Covers::KeepAsChosen << "file" << QByteArray("BMP")
                                                    << QSize(800, 600) << false << jpeg << false << QSize(800, 600);
    QTest::newRow("no original, small not enlarged") << Covers::KeepAsChosen << "pixels" << QByteArray()
                                                     << QSize(100, 100) << false << jpeg << false << QSize(100, 100);
    QTest::newRow("no original, large not fitted") << Covers::KeepAsChosen << "pixels" << QByteArray()
                                                   << QSize(600, 300) << false << jpeg << false << QSize(600, 300);
    QTest::newRow("original forgotten: the table's picture")
        << Covers::KeepAsChosen << "forgotten file" << QByteArray("JPG") << big << false << jpeg << false
        << QSize(400, 400);
    QTest::newRow("copied from a file's own PNG") << Covers::KeepAsChosen << "audio file" << QByteArray("PNG")
                                                  << QSize(500, 700) << false << png << true << QSize(500, 700);
    QTest::newRow("JPEG through the table")
        << Covers::KeepAsChosen << "file" << QByteArray("JPG") << big << true << jpeg << true << big;
    QTest::newRow("PNG copied through the table") << Covers::KeepAsChosen << "audio file" << QByteArray("PNG")
                                                  << QSize(900, 450) << true << png << true << QSize(900, 450);
}

void TestRowSave::storesCoverAsOptionsSay()
{
    QFETCH(Covers, covers);
    QFETCH(QString, from);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(bool, throughTable);
    QFETCH(bool, asChosen);
    QFETCH(QSize, stored);
    SavingOptions options;
    options.covers = covers;
    SavingOptions::setCurrent(options);
    const QImage pixels = F::image(size.width(), size.height(), Qt::darkGreen);
    const QByteArray original = format.isEmpty() ? QByteArray() : F::encode(pixels, format.constData());
    const QImage picture = chosenPicture(from, original, pixels);
    QVERIFY(!picture.isNull());

    QString path;
    std::unique_ptr<PopulatedTable> t;
    if (throughTable) {
        t = std::make_unique<PopulatedTable>(detailedTracks({"cover.mp3"}));
        QVERIFY(t->list());
        path = t->paths.first();
        t->widget.replaceCover(t->row(0), picture);
        NotificationWatch watch;
        t->widget.initiateSaveChanges();
        QCOMPARE(watch.texts(), QStringList{savedText()});
    } else {
        path = makeDetailed(m_folder, "cover.mp3");
        RowEdit edit = editOf(path, QStringLiteral("-"), {});
        edit.cover = picture;
        QVERIFY(RowSave::save(edit).ok());
    }

    const QList<F::Picture> pictures = F::pictures(path);
    QCOMPARE(pictures.size(), 1);
    QTEST(pictures.first().mime, "mime");
    QCOMPARE(pictures.first().type, 3);
    QCOMPARE(pictures.first().data == original, asChosen);
    QCOMPARE(QImage::fromData(pictures.first().data).size(), stored);
}

// The picture as the table gets it, fitted for the table, from: "file" (the
// cover box's choice), "file named .jpg", "audio file" (a copy of a row whose
// cover is its file's own), "forgotten file" (its original since forgotten)
// or "pixels" (no original at all).
QImage TestRowSave::chosenPicture(const QString &from, const QByteArray &original, const QImage &pixels)
{
    if (from == QLatin1String("pixels"))
        return pixels;
    QImage picture;
    if (from == QLatin1String("audio file")) {
        picture = CoverOriginals::fromAudioFile(makeTrack(m_folder, QStringLiteral("own.mp3"), "Own", "Own", original));
    } else {
        const bool misnamed = from.endsWith(QLatin1String(".jpg"));
        picture = CoverOriginals::load(F::createFile(m_folder, misnamed ? "chosen.jpg" : "chosen", original));
    }
    if (picture.isNull())
        return picture;
    // What the cover box and a copy hand the table.
    picture = RowSave::fitForTable(picture);
    if (from == QLatin1String("forgotten file"))
        CoverOriginals::clear();
    return picture;
}

SONVEL_TEST_MAIN(TestRowSave)
#include "tst_rowsave.moc"
