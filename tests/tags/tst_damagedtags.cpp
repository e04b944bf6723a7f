#include "common/mp3fixture.h"
#include "common/mutagenview.h"
#include "common/testmain.h"
#include "tags/savingoptions.h"
#include "tags/tagreaderandwriter.h"

#include <QJsonArray>
#include <QTemporaryDir>

namespace F = Mp3Fixture;
namespace M = MutagenView;
using T = TagReaderAndWriter;

namespace {

QByteArray text(const char *id, const QByteArray &value, int version = 3)
{
    return F::rawTextFrame(id, 0, value, version);
}

QByteArray comment(const QByteArray &description, const QByteArray &value, int version = 3)
{
    return F::rawFrame("COMM", QByteArray("\0eng", 4) + description + '\0' + value, version);
}

const QByteArray kEmptyFrame = F::rawFrame("TENC", QByteArray(), 3);

// A frame whose size field says otherwise than its body (sizes below 128).
QByteArray withSize(QByteArray frame, int size)
{
    frame[7] = char(size);
    return frame;
}

// What a common Windows media player writes: an empty encoder frame first.
QList<QByteArray> mediaPlayerFrames()
{
    return {kEmptyFrame,
            text("TIT2", "Night Drive"),
            text("TPE1", "Ana Ruiz"),
            text("TALB", "Late Hours"),
            text("TYER", "2019"),
            text("TCON", "Deep House"),
            text("TRCK", "3"),
            text("TCOM", "J. Moreno"),
            comment("", "Warm-up set"),
            F::rawFrame("POPM", QByteArray("Windows Media Player 9 Series\0\xff", 31), 3)};
}

const QStringList kMediaPlayerIds = {"COMM", "POPM", "TALB", "TCOM", "TCON", "TDRC", "TIT2", "TPE1", "TRCK"};
// The same file where its 2.3 tag was not rewritten.
const QStringList kMediaPlayerIds23 = {"COMM", "POPM", "TALB", "TCOM", "TCON", "TIT2", "TPE1", "TRCK", "TYER"};

// An ID3v1.1 tag without year, track and genre.
QByteArray id3v1Tag(const QByteArray &title, const QByteArray &artist, const QByteArray &album = QByteArray(),
                    const QByteArray &comment = QByteArray())
{
    const auto field = [](const QByteArray &text, int size) { return text.leftJustified(size, '\0', true); };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field({}, 4) + field(comment, 30)
        + char(0xff);
}

// The ID3v2 frames as mutagen sees them, "ID[:description] text", sorted;
// the title's left out.
QStringList framesBesideTitle(const QString &path)
{
    QStringList frames;
    for (const QJsonValue &value : M::view(path).value("frames").toArray()) {
        const QJsonObject frame = value.toObject();
        const QString desc = frame.value("desc").toString();
        QStringList texts;
        for (const QJsonValue &text : frame.value("text").toArray())
            texts << text.toString();
        if (frame.value("id") != "TIT2")
            frames << frame.value("id").toString() + (desc.isEmpty() ? "" : ":" + desc) + ' ' + texts.join('/');
    }
    frames.sort();
    return frames;
}

QStringList sortedIds(const QString &path)
{
    QStringList ids = M::frameIds(path);
    ids.sort();
    return ids;
}

} // namespace

class TestDamagedTags : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString create(const QByteArray &tag, const QByteArray &id3v1 = QByteArray())
    {
        return F::createFile(m_dir.path(), QStringLiteral("f%1.mp3").arg(++m_files), tag + F::silentAudio() + id3v1);
    }

private slots:
    void initTestCase()
    {
        if (!M::available())
            QSKIP("/usr/bin/python3 cannot import mutagen (apt-get install python3-mutagen)");
        QVERIFY(m_dir.isValid());
    }

    // TagLib stops at the first frame it cannot parse; what it could not read
    // must never be saved away.
    void partialReads_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QString>("artist"); // as read
        QTest::addColumn<QStringList>("savedIds"); // empty: every write refused

        const QByteArray title3 = text("TIT2", "Title"), artist3 = text("TPE1", "Artist");
        const QByteArray album3 = text("TALB", "Album");
        const QByteArray title4 = text("TIT2", "Title", 4), artist4 = text("TPE1", "Artist", 4);
        const QByteArray album4 = text("TALB", "Album", 4);
        const QStringList three = {"TALB", "TIT2", "TPE1"};
        const QByteArray extendedHeader("\0\0\0\x06\0\0\0\0\0\0", 10);

        QTest::newRow("empty frame first (media player)")
            << F::rawTag(mediaPlayerFrames(), 3, 0, {}, 1400) << "Ana Ruiz" << kMediaPlayerIds;
        QTest::newRow("empty frame between, 2.4")
            << F::rawTag({title4, F::rawFrame("TXXX", {}, 4), artist4, album4}) << "Artist" << three;
        QTest::newRow("only a data-length indicator")
            << F::rawTag({title4, F::rawFrame("TXXX", QByteArray(4, '\0'), 4, 0x0001), artist4, album4})
            << "Artist" << three;
        QTest::newRow("zeros where a header should start")
            << F::rawTag({title3, QByteArray(3, '\0'), artist3, album3}, 3) << "Artist" << three;
        QTest::newRow("2.3 extended header")
            << F::rawTag({title3, artist3, album3}, 3, 0x40, extendedHeader) << "Artist" << three;
        QTest::newRow("unsynchronised 2.3 tag with an empty frame")
            << F::rawTag({kEmptyFrame, title3, artist3, album3}, 3, char(0x80)) << "Artist" << three;
        QTest::newRow("frame running past the tag's end goes")
            << F::rawTag({title4, artist4, QByteArray("TALB\0\0\x07\x68\0\0\0Alb", 13)}) << "Artist"
            << QStringList{"TIT2", "TPE1"};
        QTest::newRow("lowercase frame id")
            << F::rawTag({title3, text("Tpe1", "Artist"), album3}, 3) << "" << QStringList();
        QTest::newRow("control byte in a frame id")
            << F::rawTag({title4, text("X\x01YZ", "junk", 4), artist4, album4}) << "Artist" << QStringList();
        // Frames behind bytes the walk cannot step over are read, and stop every write.
        QTest::newRow("bad id and size, frames behind, 2.4")
            << F::rawTag({title4, withSize(text("TI\xe9T", "junk", 4), 9), artist4, album4}) << "Artist"
            << QStringList();
        QTest::newRow("bad id and size, frames behind, 2.3")
            << F::rawTag({title3, withSize(text("T-T2", "junk"), 2), artist3, album3}, 3) << "Artist" << QStringList();
        QTest::newRow("zero byte in a frame id")
            << F::rawTag({title4, text("TP\0E", "junk", 4), artist4, album4}) << "Artist" << QStringList();
        QTest::newRow("zero byte as an id's first")
            << F::rawTag({title3, text("\0PE2", "junk"), artist3, album3}, 3) << "Artist"
            << QStringList();
        QTest::newRow("zeros, then a frame of the wrong size")
            << F::rawTag({title4, QByteArray(4, '\0'), withSize(text("TCON", "House", 4), 3), artist4, album4})
            << "Artist" << QStringList();
        QTest::newRow("frame running past the tag's end, frames behind")
            << F::rawTag({title4, QByteArray("TCON\0\0\x07\x68\0\0\0Hou", 13), artist4, album4}) << "Artist"
            << QStringList();
        QTest::newRow("empty frame with a zero byte in its id goes")
            << F::rawTag({title4, F::rawFrame("TX\0X", {}, 4), artist4, album4}) << "Artist" << three;
    }

    void partialReads()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QString, artist);
        QFETCH(QStringList, savedIds);
        const QString path = create(tag);

        const TagRecord record = T::readAll(path);
        QVERIFY(!record.fields.value("Title").trimmed().isEmpty());
        QCOMPARE(record.fields.value("Artist"), artist);
        QCOMPARE(T::readArtist(path), artist);

        const QByteArray before = F::hash(path);
        const TagWriteResult written = T::writeAll(path, {{"Title", "New"}});
        if (savedIds.isEmpty()) {
            QCOMPARE(written.error, TagWriteError::IncompleteTag);
            QCOMPARE(written.reason(), QStringLiteral("its tag could not be read completely"));
            QVERIFY(!T::writeBPM(path, "120"));
            QCOMPARE(T::removeSeratoData(path.toUtf8().constData()).error, TagWriteError::IncompleteTag);
            QCOMPARE(F::hash(path), before);
            return;
        }
        QVERIFY(written);
        QCOMPARE(sortedIds(path), savedIds);
        QCOMPARE(M::text(path, "TIT2"), QStringLiteral("New"));
        QCOMPARE(M::text(path, "TPE1"), artist);
        QCOMPARE(T::readAll(path).fields.value("Artist"), artist);
    }

    // Owned fields go into new frames: a damaged old frame's flags or
    // encoding byte never decide whether the value is stored.
    void ownedFieldsLand_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("id");

        QTest::newRow("tag-alter-preservation flag") << F::rawFrame("TIT2", "\0Old", 3, 0x8000) << 3 << "Title" << "TIT2";
        QTest::newRow("encryption flag, 2.3") << F::rawFrame("TIT2", "\x01\x80garbled", 3, 0x0040) << 3 << "Title" << "TIT2";
        QTest::newRow("encryption flag, 2.4") << F::rawFrame("TALB", "\x01\x80garbled", 4, 0x0004) << 4 << "Album" << "TALB";
        QTest::newRow("text encoding 5") << F::rawFrame("TIT2", "\x05Old", 3) << 3 << "Title" << "TIT2";
        QTest::newRow("comment in encoding 7") << F::rawFrame("COMM", QByteArray("\x07eng\0Old", 8), 4) << 4
                                               << "Comment" << "COMM";
        QTest::newRow("year frame flagged for dropping")
            << F::rawFrame("TDRC", QByteArray("\0" "1999", 5), 4, 0x4000) << 4 << "Year" << "TDRC";
    }

    void ownedFieldsLand()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, version);
        QFETCH(QString, key);
        QFETCH(QString, id);
        const QString value = key == "Year" ? QStringLiteral("2024") : QStringLiteral("New Välue");
        const QString single = create(F::rawTag({frame, text("TPE4", "Remixer", version)}, version));
        const QString together = create(F::rawTag({frame, text("TPE4", "Remixer", version)}, version));

        QVERIFY(key == "Year" ? T::writeYear(single, value) : key == "Album" ? T::writeAlbum(single, value)
                : key == "Comment" ? T::writeComment(single, value) : T::writeTitle(single, value));
        QVERIFY(T::writeAll(together, {{key, value}}));
        for (const QString &path : {single, together}) {
            QCOMPARE(M::text(path, id), value);
            QCOMPARE(M::text(path, "TPE4"), QStringLiteral("Remixer"));
        }
    }

    void encryptedFramesOfOthersRefuse()
    {
        const QString path = create(F::rawTag({text("TIT2", "Title"), F::rawFrame("PRIV", "\x01\x80secret", 3, 0x0040)}, 3));
        const QByteArray before = F::hash(path);
        QCOMPARE(T::writeAll(path, {{"Title", "New"}}).error, TagWriteError::EncryptedFrames);
        QCOMPARE(F::hash(path), before);
    }

    void djDataRemoval_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<bool>("id3v1");
        QTest::addColumn<QStringList>("idsAfter");
        QTest::addColumn<bool>("untouched");

        const QByteArray full = F::rawTag({text("TIT2", "Title", 4), text("TPE1", "Artist", 4)});
        const QByteArray serato = F::rawFrame("GEOB", QByteArray(1, '\0') + "application/octet-stream" + QByteArray(2, '\0')
                                                          + "Serato Markers2" + QByteArray(1, '\0') + "m", 4);
        QTest::newRow("nothing to remove") << full << false << QStringList{"TIT2", "TPE1"} << true;
        QTest::newRow("media player file") << F::rawTag(mediaPlayerFrames(), 3) << false << kMediaPlayerIds23 << true;
        QTest::newRow("media player file, ID3v1 behind")
            << F::rawTag(mediaPlayerFrames(), 3) << true << kMediaPlayerIds23 << false;
        QTest::newRow("DJ data in a repaired tag")
            << F::rawTag({F::rawFrame("TENC", {}, 4), text("TIT2", "Title", 4), serato}) << false
            << QStringList{"TIT2"} << false;
        QTest::newRow("frames behind an empty frame with a zero byte in its id")
            << F::rawTag({text("TIT2", "Title", 4), F::rawFrame("TX\0X", {}, 4), text("TPE1", "Artist", 4), serato})
            << false << QStringList{"TIT2", "TPE1"} << false;
    }

    void djDataRemoval()
    {
        QFETCH(QByteArray, tag);
        QFETCH(bool, id3v1);
        QFETCH(QStringList, idsAfter);
        QFETCH(bool, untouched);
        const QString path = create(tag);
        if (id3v1)
            QVERIFY(F::addId3v1(path, QStringLiteral("Old")));
        const QByteArray before = F::hash(path);

        QVERIFY(T::removeSeratoData(path.toUtf8().constData()));
        QCOMPARE(F::hash(path) == before, untouched);
        QCOMPARE(sortedIds(path), idsAfter);
        QCOMPARE(F::id3v1(path), QByteArray());
    }

    void upgradeKeepsTheDate_data()
    {
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<QString>("date");

        const QByteArray year = text("TYER", "2004");
        QTest::newRow("day, month and time") << QList<QByteArray>{year, text("TDAT", "1503"), text("TIME", "1230")}
                                             << "2004-03-15T12:30";
        QTest::newRow("zero-terminated") << QList<QByteArray>{year, text("TDAT", QByteArray("1503\0", 5)),
                                                              text("TIME", QByteArray("1230\0", 5))}
                                         << "2004-03-15T12:30";
        QTest::newRow("UTF-16 day and month")
            << QList<QByteArray>{year, F::rawFrame("TDAT", QByteArray("\x01\xff\xfe" "1\0" "5\0" "0\0" "3\0", 11), 3)}
            << "2004-03-15";
        QTest::newRow("recording dates only") << QList<QByteArray>{year, text("TRDA", "2004-03-15, 2004-03-16")}
                                              << "2004-03-15";
        QTest::newRow("time without a day") << QList<QByteArray>{year, text("TIME", "1230")} << "2004";
    }

    void upgradeKeepsTheDate()
    {
        QFETCH(QList<QByteArray>, frames);
        QFETCH(QString, date);
        const QString path = create(F::rawTag(QList<QByteArray>{text("TIT2", "Title")} + frames, 3));
        QVERIFY(T::writeTitle(path, "New"));
        QCOMPARE(F::id3v2Version(path), 4);
        QCOMPARE(F::frameTexts(path, "TDRC"), QStringList{date});
    }

    // A year or date is stored as typed; a date's month, day and time belong
    // to its year, so the year shown for a date the column cannot hold keeps
    // it, and another year is stored alone, never as a date that did not
    // exist. A 2.3 tag keeps what its date frames can hold, and ID3v1 the year.
    void writtenYear_data()
    {
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("savedVersion");
        QTest::addColumn<QStringList>("dateFrames"); // as mutagen sees them: "ID text"
        QTest::addColumn<QString>("shown");

        const QList<QByteArray> date24 = {text("TDRC", "1999-10-18T16:38", 4)};
        const QList<QByteArray> date23 = {text("TYER", "1999"), text("TDAT", "1810"), text("TIME", "1638")};
        const QStringList kept24 = {"TDRC 1999-10-18 16:38"};
        QTest::newRow("2.4 date, another year") << date24 << 4 << "2024" << 4 << QStringList{"TDRC 2024"} << "2024";
        QTest::newRow("2.4 date, same year") << date24 << 4 << "1999" << 4 << kept24 << "1999";
        QTest::newRow("2.3 date, another year") << date23 << 3 << "2024" << 4 << QStringList{"TDRC 2024"} << "2024";
        QTest::newRow("2.3 date, same year") << date23 << 3 << "1999" << 4 << kept24 << "1999";
        QTest::newRow("2.3 date saved as 2.3, another year")
            << date23 << 3 << "2024" << 3 << QStringList{"TYER 2024"} << "2024";
        QTest::newRow("2.3 date saved as 2.3, same year")
            << date23 << 3 << "1999" << 3 << QStringList{"TDAT 1810", "TIME 1638", "TYER 1999"} << "1999";
        QTest::newRow("2.4 date saved as 2.3, another year")
            << date24 << 4 << "2024" << 3 << QStringList{"TYER 2024"} << "2024";
        QTest::newRow("same year, frame flagged for dropping")
            << QList<QByteArray>{F::rawFrame("TDRC", QByteArray("\0" "1999-10-18T16:38", 17), 4, 0x4000)} << 4
            << "1999" << 4 << kept24 << "1999";
        QTest::newRow("2.4 date, another date")
            << date24 << 4 << "1999-10-19" << 4 << QStringList{"TDRC 1999-10-19"} << "1999-10-19";
        QTest::newRow("2.3 date, year and month")
            << date23 << 3 << "1999-10" << 4 << QStringList{"TDRC 1999-10"} << "1999-10";
        QTest::newRow("2.4 date saved as 2.3, another date")
            << date24 << 4 << "2024-05-01" << 3 << QStringList{"TDAT 0105", "TYER 2024"} << "2024-05-01";
        QTest::newRow("2.3 date saved as 2.3, same date")
            << QList<QByteArray>{text("TYER", "1999"), text("TDAT", "1810")} << 3 << "1999-10-18" << 3
            << QStringList{"TDAT 1810", "TYER 1999"} << "1999-10-18";
        QTest::newRow("saved as 2.3, year and month") << date24 << 4 << "2024-05" << 3 << QStringList{"TYER 2024"}
                                                      << "2024";
        QTest::newRow("no year") << date23 << 3 << "19x9" << 4 << kept24 << "1999";
        QTest::newRow("no year, saved as 2.3")
            << date23 << 3 << "19x9" << 3 << QStringList{"TDAT 1810", "TIME 1638", "TYER 1999"} << "1999";
        QTest::newRow("empty") << date23 << 3 << "" << 3 << QStringList() << "0";
    }

    void writtenYear()
    {
        QFETCH(QList<QByteArray>, frames);
        QFETCH(int, version);
        QFETCH(QString, year);
        QFETCH(int, savedVersion);
        QFETCH(QStringList, dateFrames);
        QFETCH(QString, shown);
        using Version = SavingOptions::Id3v2Version;
        SavingOptions::setCurrent({savedVersion == 3 ? Version::V23 : Version::V24, SavingOptions::Id3v1Copy::AlwaysWrite});
        const QString path = create(F::rawTag(QList<QByteArray>{text("TIT2", "Title", version)} + frames, version));
        const TagWriteResult written = T::writeAll(path, {{"Year", year}});
        SavingOptions::setCurrent(SavingOptions());
        QVERIFY2(written, qPrintable(written.reason()));

        QStringList stored;
        for (const QJsonValue &frame : M::view(path).value("frames").toArray()) {
            const QString id = frame.toObject().value("id").toString();
            if (QStringList{"TDRC", "TYER", "TDAT", "TIME", "TRDA"}.contains(id))
                stored << id + ' ' + frame.toObject().value("text").toArray().at(0).toString();
        }
        stored.sort();
        QCOMPARE(stored, dateFrames);
        QCOMPARE(T::readYear(path), shown);
        QCOMPARE(F::id3v1Fields(path).value(5), shown.left(4));
    }

    // A title edit leaves the tag as it was but for the title, the ID3v1 copy
    // the options ask for and what that copy alone held. The copy never gains
    // a comment: other software shows an ID3v1 comment as a second comment.
    void saveAddsNothing_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("copy");
        QTest::addColumn<QByteArray>("extraFrame");
        QTest::addColumn<QByteArray>("id3v1");
        QTest::addColumn<QStringList>("filled");     // ID3v2 frames taken from ID3v1
        QTest::addColumn<QStringList>("id3v1After"); // F::id3v1Fields(); empty: no ID3v1 tag

        using Copy = SavingOptions::Id3v1Copy;
        const QByteArray names = id3v1Tag("Night Drive", "Ana Ruiz");
        const QStringList copy = {"New", "Ana Ruiz", "", "", "", "0", "0"};
        for (const int version : {3, 4}) {
            const auto row = [version](const char *name) -> QTestData & {
                return QTest::addRow("2.%d, %s", version, name) << version;
            };
            row("ID3v1 without comment, always written") << int(Copy::AlwaysWrite) << QByteArray() << names
                                                         << QStringList() << copy;
            row("ID3v1 without comment, kept as found") << int(Copy::KeepAsFound) << QByteArray() << names
                                                        << QStringList() << copy;
            row("ID3v1 without comment, removed") << int(Copy::Remove) << QByteArray() << names << QStringList()
                                                  << QStringList();
            row("no ID3v1, always written") << int(Copy::AlwaysWrite) << QByteArray() << QByteArray() << QStringList()
                                            << copy;
            row("no ID3v1, kept as found") << int(Copy::KeepAsFound) << QByteArray() << QByteArray() << QStringList()
                                           << QStringList();
            row("ID3v1 album and comment") << int(Copy::AlwaysWrite) << QByteArray()
                                           << id3v1Tag("Night Drive", "Ana Ruiz", "Late Hours", "Old note")
                                           << QStringList{"TALB Late Hours"}
                                           << QStringList{"New", "Ana Ruiz", "Late Hours", "Old note", "", "0", "0"};
            row("ID3v1 comment another tool stored in ID3v2")
                << int(Copy::AlwaysWrite) << comment("ID3v1 Comment", "Old note", version)
                << id3v1Tag("Night Drive", "Ana Ruiz", {}, "Old note") << QStringList()
                << QStringList{"New", "Ana Ruiz", "", "Old note", "", "0", "0"};
        }
    }

    void saveAddsNothing()
    {
        QFETCH(int, version);
        QFETCH(int, copy);
        QFETCH(QByteArray, extraFrame);
        QFETCH(QByteArray, id3v1);
        QFETCH(QStringList, filled);
        QFETCH(QStringList, id3v1After);
        using Version = SavingOptions::Id3v2Version;
        SavingOptions::setCurrent({version == 3 ? Version::V23 : Version::V24, SavingOptions::Id3v1Copy(copy)});
        QList<QByteArray> frames = {text("TIT2", "Night Drive", version), text("TPE1", "Ana Ruiz", version),
                                    comment("", "Warm-up set", version)};
        if (!extraFrame.isEmpty())
            frames << extraFrame;
        const QString path = create(F::rawTag(frames, version), id3v1);
        QStringList expected = framesBesideTitle(path) + filled;
        expected.sort();

        const bool written = T::writeTitle(path, "New");
        SavingOptions::setCurrent(SavingOptions());
        QVERIFY(written);
        QCOMPARE(F::id3v2Version(path), version);
        QCOMPARE(M::text(path, "TIT2"), QStringLiteral("New"));
        QCOMPARE(framesBesideTitle(path), expected);
        QCOMPARE(F::id3v1Fields(path), id3v1After);
    }

    // The second save meets the ID3v1 copy the first one wrote.
    void id3v1CopyNeverDeletes_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("id3v1Title");

        QTest::newRow("vinyl track number") << text("TRCK", "A1", 4) << "TRCK" << "A1" << "";
        QTest::newRow("year that is no number") << text("TDRC", "unknown", 4) << "TDRC" << "unknown" << "";
        QTest::newRow("another program's comment beside an empty one")
            << comment("", "", 4) + comment("iTunNORM", " 00000A2B 00000B3C", 4) << "COMM" << " 00000A2B 00000B3C"
            << "";
        QTest::newRow("title only in ID3v1 is filled in") << text("TPE1", "Artist", 4) << "TIT2" << "Old Title"
                                                          << "Old Title";
    }

    void id3v1CopyNeverDeletes()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, id);
        QFETCH(QString, value);
        QFETCH(QString, id3v1Title);
        const QString path = create(F::rawTag({frame}));
        if (!id3v1Title.isEmpty())
            QVERIFY(F::addId3v1(path, id3v1Title));

        QVERIFY(T::writeBPM(path, "120"));
        QVERIFY(T::writeComposer(path, "J. Moreno"));
        QCOMPARE(id == "COMM" ? F::comments(path).value(F::comments(path).size() - 1).second
                              : F::frameTexts(path, qPrintable(id)).value(0),
                 value);
        // The copy holds the title (an empty copy is not written at all).
        QCOMPARE(F::id3v1Fields(path).value(0), M::text(path, "TIT2"));
    }
};

SONVEL_TEST_MAIN(TestDamagedTags)
#include "tst_damagedtags.moc"
