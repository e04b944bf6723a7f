#include "common/audiofixture.h"
#include "common/mp3fixture.h"
#include "common/mutagenview.h"
#include "common/testmain.h"
#include "table/coveroriginals.h"
#include "table/rowsave.h"
#include "tags/fields.h"
#include "tags/savingoptions.h"
#include "tags/tagreaderandwriter.h"

#include <QTemporaryDir>

#include <functional>

namespace A = AudioFixture;
namespace F = Mp3Fixture;
using T = TagReaderAndWriter;
using Native = AudioFixture::NativeTags;
using Texts = QMap<QString, QString>;

namespace {

TagFamilyKind familyOf(int sample)
{
    return AudioFormats::family(A::formats().at(sample).format);
}

// Every name the format's family reads the field from, the one written first;
// in WAV the RIFF INFO field comes after the ID3 frame.
QStringList nativeNames(AudioFormat format, Field field)
{
    const Fields::Names &names = Fields::of(field);
    switch (AudioFormats::family(format)) {
    case TagFamilyKind::Id3:
        if (format == AudioFormat::Wav && names.riffInfo)
            return {QString::fromLatin1(names.id3), QStringLiteral("INFO:") + QLatin1String(names.riffInfo)};
        return {QString::fromLatin1(names.id3)};
    case TagFamilyKind::Xiph:
        return names.vorbis;
    case TagFamilyKind::Mp4:
        return names.mp4;
    case TagFamilyKind::None:
        break;
    }
    return {};
}

// The names a write of the field sets: the first, every other one the file
// held, and in WAV the INFO field, as the sample has an INFO list (which
// follows the ID3 tag as a whole); the others must stay absent.
bool setByWrite(AudioFormat format, Field field, const QString &name, const Native &before)
{
    return name == nativeNames(format, field).first() || before.contains(name)
        || (format == AudioFormat::Wav && name.startsWith(QLatin1String("INFO:")));
}

// A text each field reads back as typed, told apart by the prefix's length;
// MP4 stores BPM as a number.
QString typed(Field field, const QString &prefix)
{
    switch (field) {
    case Field::Year:
        return QString::number(1990 + prefix.size() % 30);
    case Field::Track:
        return QString::number(prefix.size());
    case Field::Bpm:
        return QString::number(100 + prefix.size());
    default:
        return prefix + QLatin1Char(' ') + Fields::key(field) + QString::fromUtf8(" Çé 東京 🎧");
    }
}

// The names of the written fields not holding what was written, or holding
// something where they should be absent.
QStringList misstored(AudioFormat format, const Native &after, const Texts &written, const Native &before)
{
    QStringList wrong;
    for (auto it = written.begin(); it != written.end(); ++it) {
        const Field field = *Fields::fromKey(it.key());
        for (const QString &name : nativeNames(format, field)) {
            const QStringList want = setByWrite(format, field, name, before) ? QStringList{it.value()} : QStringList();
            if (after.value(name) != want)
                wrong << name + QLatin1Char('=') + after.value(name).join(QLatin1Char('|'));
        }
    }
    return wrong;
}

Texts eachField(const std::function<QString(Field)> &text)
{
    Texts texts;
    for (const Fields::Names &names : Fields::all())
        texts.insert(names.key, text(names.field));
    return texts;
}

Texts allTyped(const QString &prefix)
{
    return eachField([&](Field field) { return typed(field, prefix); });
}

// Maps compared as lines, so that a failure shows which entries differ.
template<typename Map>
QStringList lines(const Map &map)
{
    QStringList all;
    for (auto it = map.begin(); it != map.end(); ++it)
        all << it.key() + QLatin1Char('=') + QVariant(it.value()).toStringList().join(QLatin1Char('|'));
    return all;
}

// What Serato keeps in files of each family, and what other tools do.
Native seratoData(TagFamilyKind family)
{
    static const QMap<TagFamilyKind, Native> data = {
        {TagFamilyKind::Id3,
         {{"GEOB:Serato Markers2", {QString::fromLatin1("\x01\x01" "AQFDVUUAAAAADQ", 16)}},
          {"GEOB:Serato Analysis", {QString::fromLatin1("\x02\x01", 2)}}}},
        {TagFamilyKind::Xiph, {{"SERATO_MARKERS_V2", {"AQFDVUUAAAAADQAAAAAAAAD/AAAA"}}, {"SERATO_ANALYSIS", {"AgE="}}}},
        {TagFamilyKind::Mp4,
         {{"----:com.serato.dj:markers", {"AQFDVUUAAAAADQ"}}, {"----:com.serato.dj:analysisVersion", {"AgE="}}}},
    };
    return data.value(family);
}

Native otherToolsData(TagFamilyKind family)
{
    static const QMap<TagFamilyKind, Native> data = {
        {TagFamilyKind::Id3,
         {{"TXXX:REPLAYGAIN_TRACK_GAIN", {"-3.20 dB"}}, {"PRIV:com.example.cuetool", {"cues"}},
          {"COMM:iTunSMPB", {" 00000000 00000210"}}}},
        {TagFamilyKind::Xiph, {{"REPLAYGAIN_TRACK_GAIN", {"-3.20 dB"}}, {"CUETOOL_CUES", {"cues"}}}},
        {TagFamilyKind::Mp4,
         {{"----:com.apple.iTunes:replaygain_track_gain", {"-3.20 dB"}}, {"----:com.example.cuetool:cues", {"cues"}}}},
    };
    return data.value(family);
}

Native without(Native tags, const Native &removed)
{
    for (const QString &name : removed.keys())
        tags.remove(name);
    return tags;
}

// The names whose values the tags do not hold as wanted.
QStringList missing(const Native &tags, const Native &wanted)
{
    QStringList names;
    for (auto it = wanted.begin(); it != wanted.end(); ++it) {
        if (tags.value(it.key()) != it.value())
            names << it.key();
    }
    return names;
}

void formatRows()
{
    QTest::addColumn<int>("sample");
    for (int i = 0; i < A::formats().size(); ++i)
        QTest::newRow(qPrintable(A::formats().at(i).name)) << i;
}

bool mutagenAvailable()
{
    static const bool available = MutagenView::available();
    return available;
}

} // namespace

// A fresh copy of the row's sample, `format` its description; the row is
// skipped without its encoder or without mutagen.
#define NEW_FILE(file)                                                                                   \
    QFETCH(int, sample);                                                                                 \
    const A::Format &format = A::formats().at(sample);                                                   \
    if (!A::available(format) || !mutagenAvailable())                                                    \
        QSKIP(qPrintable(format.name + QStringLiteral(" files need their encoder and python3-mutagen"))); \
    QTemporaryDir tmp;                                                                                   \
    const QString file = A::create(tmp.path(), QStringLiteral("song.") + format.extension, format);      \
    QVERIFY(!file.isEmpty())

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SavingOptions::setCurrent(SavingOptions()); }

    // Each field is stored under its format's own name, and an empty text
    // removes every name of it.
    void fieldsRoundTrip_data() { formatRows(); }
    void fieldsRoundTrip()
    {
        NEW_FILE(path);
        const Texts written = allTyped(QStringLiteral("Peak"));
        QVERIFY(T::writeAll(path, written));
        const TagRecord record = T::readAll(path);
        QCOMPARE(record.format, format.format);
        QCOMPARE(lines(record.fields), lines(written));
        QCOMPARE(misstored(format.format, A::native(path), written, Native()), QStringList());

        // An emptied DJ field leaves an empty ID3 frame, as MP3 saves always
        // did; Vorbis comments and MP4 atoms have no empty value to keep.
        const bool id3 = AudioFormats::family(format.format) == TagFamilyKind::Id3;
        const auto emptied = [id3](Field field) {
            return id3 && Fields::of(field).shape == Fields::Shape::Extra ? QString() : Fields::absent(field);
        };
        QVERIFY(T::writeAll(path, eachField([](Field) { return QString(); })));
        QCOMPARE(lines(T::readAll(path).fields), lines(eachField(emptied)));
        const Native stored = A::native(path);
        for (const Fields::Names &names : Fields::all()) {
            if (id3 && names.shape == Fields::Shape::Extra)
                continue;
            for (const QString &name : nativeNames(format.format, names.field))
                QVERIFY2(!stored.contains(name), qPrintable(name));
        }
    }

    // A year or track is stored as typed under the format's own name (and in
    // WAV's INFO list) and shown as stored; "0" or nothing removes it; a text
    // in no form it may hold leaves the stored one; other stored forms show
    // their leading number. MP4 keeps a track as a number and a total.
    void numbersAsTyped_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after"); // stored and shown; empty: removed
        const struct
        {
            const char *name;
            Field field;
            const char *stored, *shown, *typed, *after;
        } cases[] = {
            {"track of total over another", Field::Track, "7/12", "7/12", "3/12", "3/12"},
            {"track without its total", Field::Track, "7/12", "7/12", "3", "3"},
            {"no track total", Field::Track, "7/12", "7/12", "3/x", "7/12"},
            {"negative track", Field::Track, "7", "7", "-1", "7"},
            {"track 0", Field::Track, "7/12", "7/12", "0", ""},
            {"track in words", Field::Track, "07 of 12", "7", "", ""},
            {"full date", Field::Year, "1999", "1999", "2020-05-01", "2020-05-01"},
            {"year over a date", Field::Year, "2020-05-01", "2020-05-01", "1999", "1999"},
            {"no year", Field::Year, "2020-05-01", "2020-05-01", "20x5", "2020-05-01"},
            {"empty year", Field::Year, "2020-05-01", "2020-05-01", "", ""},
            {"date and time", Field::Year, "2020-05-01T10:00", "2020", "2020-05", "2020-05"},
        };
        for (int sample = 0; sample < A::formats().size(); ++sample) {
            for (const auto &c : cases) {
                // MP4 holds a track only as numbers.
                if (A::formats().at(sample).format == AudioFormat::Mp4 && QByteArray(c.stored).contains(' '))
                    continue;
                QTest::addRow("%s, %s", qPrintable(A::formats().at(sample).name), c.name)
                    << sample << int(c.field) << c.stored << c.shown << c.typed << c.after;
            }
        }
    }

    void numbersAsTyped()
    {
        NEW_FILE(path);
        QFETCH(int, field);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        const QString key = Fields::key(Field(field));
        QStringList names = nativeNames(format.format, Field(field)).mid(0, 1);
        if (format.format == AudioFormat::Wav)
            names << nativeNames(format.format, Field(field)).last();
        Native before;
        for (const QString &name : names)
            before.insert(name, {stored});
        QVERIFY(A::setNative(path, before));
        QCOMPARE(T::readTags(path).fields.value(key), shown);

        QVERIFY(T::writeAll(path, {{key, typed}}));
        QCOMPARE(T::readTags(path).fields.value(key), after.isEmpty() ? QStringLiteral("0") : after);
        const Native written = A::native(path);
        for (const QString &name : names)
            QCOMPARE(written.value(name), after.isEmpty() ? QStringList() : QStringList{after});
    }

    // Names other software writes are read when the first is missing, the
    // first wins when both are there, several values are shown together; a
    // write leaves every name present, and the first, holding the new text.
    void otherNames_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<Native>("stored");
        QTest::addColumn<Texts>("shown");
        for (int sample = 0; sample < A::formats().size(); ++sample) {
            const AudioFormat format = A::formats().at(sample).format;
            const QString name = A::formats().at(sample).name;
            Native second, third, both, several;
            Texts shownSecond, shownThird, shownFirst, shownSeveral;
            for (const Fields::Names &names : Fields::all()) {
                const QStringList all = nativeNames(format, names.field);
                const QString old = typed(names.field, QStringLiteral("Old"));
                const QString shown = names.shape == Fields::Shape::Number ? Fields::shownNumber(names.field, old) : old;
                if (all.size() > 1) {
                    second.insert(all.at(1), {old});
                    shownSecond.insert(names.key, shown);
                    both.insert(all.at(0), {old});
                    both.insert(all.at(1), {typed(names.field, QStringLiteral("Other"))});
                    shownFirst.insert(names.key, shown);
                }
                if (all.size() > 2) {
                    third.insert(all.at(2), {old});
                    shownThird.insert(names.key, shown);
                }
                if (names.shape != Fields::Shape::Number && names.field != Field::Bpm) {
                    several.insert(all.first(), {old, QStringLiteral("Second")});
                    shownSeveral.insert(names.key, old + QStringLiteral("; Second"));
                }
            }
            const auto row = [&](const char *what, const Native &stored, const Texts &shown) {
                if (!stored.isEmpty())
                    QTest::addRow("%s, %s", qPrintable(name), what) << sample << stored << shown;
            };
            row("second names", second, shownSecond);
            row("third names", third, shownThird);
            row("first and second names", both, shownFirst);
            if (AudioFormats::family(format) != TagFamilyKind::Id3)
                row("several values", several, shownSeveral);
        }
    }

    void otherNames()
    {
        NEW_FILE(path);
        QFETCH(Native, stored);
        QFETCH(Texts, shown);
        QVERIFY(A::setNative(path, stored));
        Texts expected = eachField(Fields::absent);
        for (auto it = shown.begin(); it != shown.end(); ++it)
            expected.insert(it.key(), it.value());
        QCOMPARE(lines(T::readTags(path).fields), lines(expected));

        Texts written;
        for (const QString &key : shown.keys())
            written.insert(key, typed(*Fields::fromKey(key), QStringLiteral("Newest")));
        QVERIFY(T::writeAll(path, written));
        QCOMPARE(misstored(format.format, A::native(path), written, stored), QStringList());
        for (auto it = written.begin(); it != written.end(); ++it)
            expected.insert(it.key(), it.value());
        QCOMPARE(lines(T::readTags(path).fields), lines(expected));
    }

    // Whatever pictures other tools stored, a cover written is the one JPEG
    // front cover left, and a null one leaves none.
    void pictures_data() { formatRows(); }
    void pictures()
    {
        NEW_FILE(path);
        QVERIFY(A::addNativePicture(path, F::encode(F::image(60, 40, Qt::blue), "PNG"), 4));
        QVERIFY(A::addNativePicture(path, F::encode(F::image(30, 30, Qt::green)), 0));
        QVERIFY(T::readTags(path).hasCover);
        const QImage first = T::readCoverFitted(path);
        QCOMPARE(first.size(), QSize(60, 40));
        QCOMPARE(first.pixelColor(10, 10), QColor(Qt::blue));

        QVERIFY(T::writeAll(path, {}, F::image(120, 90, Qt::red)));
        const QList<A::NativePicture> pictures = A::nativePictures(path);
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures.first().mime, QStringLiteral("image/jpeg"));
        QCOMPARE(pictures.first().type, format.format == AudioFormat::Mp4 ? -1 : 3);
        const QImage stored = QImage::fromData(pictures.first().data, "JPG");
        QCOMPARE(stored.size(), QSize(120, 90));
        QVERIFY(stored.pixelColor(60, 45).red() > 200);
        QCOMPARE(T::readAll(path).cover.size(), QSize(120, 90));

        QVERIFY(T::writeAll(path, {}, QImage()));
        QCOMPARE(A::nativePictures(path).size(), 0);
        QVERIFY(!T::readTags(path).hasCover);
    }

    // A cover chosen as a JPEG or PNG file is stored as that file, byte for
    // byte, under its own type, when covers are kept as chosen; a later save
    // keeps it.
    void coversKeptAsChosen_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QString>("mime");
        const QByteArray jpeg = F::busyCoverJpeg(600);
        const QByteArray png = F::encode(F::image(640, 360, Qt::magenta), "PNG");
        for (int i = 0; i < A::formats().size(); ++i) {
            const QString name = A::formats().at(i).name;
            QTest::addRow("%s, JPEG", qPrintable(name)) << i << jpeg << QStringLiteral("image/jpeg");
            QTest::addRow("%s, PNG", qPrintable(name)) << i << png << QStringLiteral("image/png");
        }
    }
    void coversKeptAsChosen()
    {
        NEW_FILE(path);
        QFETCH(QByteArray, chosen);
        SavingOptions options;
        options.covers = SavingOptions::Covers::KeepAsChosen;
        SavingOptions::setCurrent(options);
        const QImage picture = CoverOriginals::load(F::createFile(tmp.path(), QStringLiteral("chosen"), chosen));
        RowEdit edit;
        edit.path = path;
        edit.cover = RowSave::fitForTable(picture);
        QVERIFY(RowSave::save(edit).ok());
        QVERIFY(T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("After")}}));

        const QList<A::NativePicture> pictures = A::nativePictures(path);
        QCOMPARE(pictures.size(), 1);
        QTEST(pictures.first().mime, "mime");
        QCOMPARE(pictures.first().type, format.format == AudioFormat::Mp4 ? -1 : 3);
        QVERIFY(pictures.first().data == chosen);
        QVERIFY(T::readCoverBytes(path) == chosen);
        QCOMPARE(T::readAll(path).cover.size(), edit.cover->size());
    }

    // Only Serato's own data goes; a file without any is not rewritten.
    void seratoRemoval_data() { formatRows(); }
    void seratoRemoval()
    {
        NEW_FILE(path);
        const Native serato = seratoData(familyOf(sample));
        Native kept = otherToolsData(familyOf(sample));
        kept.insert(nativeNames(format.format, Field::Title).first(), {QStringLiteral("Night Drive")});
        QVERIFY(A::setNative(path, kept));
        const QByteArray plain = F::hash(path);
        QVERIFY(T::removeSeratoData(path.toUtf8().constData()));
        QCOMPARE(F::hash(path), plain);

        QVERIFY(A::setNative(path, serato));
        const Native before = A::native(path);
        QCOMPARE(missing(before, serato), QStringList());
        const QByteArray audio = A::audioDigest(path);
        QVERIFY(T::removeSeratoData(path.toUtf8().constData()));
        QCOMPARE(lines(A::native(path)), lines(without(before, serato)));
        QCOMPARE(A::audioDigest(path), audio);
    }

    // A save that outgrows the tag's room moves the audio in most layouts:
    // the audio packets stay the same, and so does everything not ours.
    void growingTagKeepsAudio_data() { formatRows(); }
    void growingTagKeepsAudio()
    {
        NEW_FILE(path);
        QVERIFY(A::setNative(path, otherToolsData(familyOf(sample))));
        const Native before = A::native(path);
        QCOMPARE(missing(before, otherToolsData(familyOf(sample))), QStringList());
        const QByteArray audio = A::audioDigest(path);
        QVERIFY(!audio.isEmpty());
        const qint64 size = QFileInfo(path).size();

        const Texts written = allTyped(QStringLiteral("Long ").repeated(400));
        QVERIFY(T::writeAll(path, written, QImage::fromData(F::busyCoverJpeg(400))));
        QVERIFY(QFileInfo(path).size() > size + 20000);
        QCOMPARE(A::audioDigest(path), audio);
        QCOMPARE(missing(A::native(path), before), QStringList());
        QCOMPARE(lines(T::readAll(path).fields), lines(written));
    }

    // The content decides, never the name: no ID3 tag goes into a FLAC named .mp3.
    void misnamed_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<QString>("extension");
        const auto row = [](AudioFormat format, const char *extension) {
            const A::Format &sample = A::format(format);
            QTest::addRow("%s named .%s", qPrintable(sample.name), extension)
                << int(&sample - A::formats().data()) << QString::fromLatin1(extension);
        };
        row(AudioFormat::Flac, "mp3");
        row(AudioFormat::Mpeg, "flac");
        row(AudioFormat::Mp4, "wav");
        row(AudioFormat::OggOpus, "ogg");
    }

    void misnamed()
    {
        NEW_FILE(original);
        QFETCH(QString, extension);
        const QString path = tmp.filePath(QStringLiteral("misnamed.") + extension);
        QVERIFY(QFile::rename(original, path));
        const QByteArray audio = A::audioDigest(path);
        QCOMPARE(T::readTags(path).format, format.format);
        QVERIFY(T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("Renamed")}}));
        QCOMPARE(T::readTags(path).fields.value(QStringLiteral("Title")), QStringLiteral("Renamed"));
        QCOMPARE(A::native(path).value(nativeNames(format.format, Field::Title).first()),
                 QStringList{QStringLiteral("Renamed")});
        QCOMPARE(MutagenView::hasId3(path), AudioFormats::family(format.format) == TagFamilyKind::Id3);
        QCOMPARE(A::audioDigest(path), audio);
    }

    void unknownContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << "empty.mp3" << QByteArray();
        QTest::newRow("text named .mp3") << "notes.mp3" << QByteArray("not audio at all\n").repeated(200);
        QTest::newRow("text named .flac") << "notes.flac" << QByteArray("fLa is not fLaC\n").repeated(200);
        QTest::newRow("zeros named .wav") << "zeros.wav" << QByteArray(8192, '\0');
        QTest::newRow("picture named .m4a") << "cover.m4a" << F::encode(F::image(50, 50, Qt::red));
    }

    void unknownContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir tmp;
        const QString path = F::createFile(tmp.path(), name, bytes);
        QCOMPARE(T::readTags(path).format, AudioFormat::Unknown);
        QCOMPARE(T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("x")}}).error, TagWriteError::NotAudio);
        QCOMPARE(T::writeAll(path, {}, F::image(20, 20, Qt::red)).error, TagWriteError::NotAudio);
        QCOMPARE(T::removeSeratoData(path.toUtf8().constData()).error, TagWriteError::NotAudio);
        QCOMPARE(F::readBytes(path), bytes);
    }

    // Metadata whose sizes do not add up is never rewritten, not even to
    // remove Serato's data from it.
    void damagedRefused_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("damage");
        using D = A::Damage;
        const QMap<AudioFormat, QVector<D>> damages = {
            {AudioFormat::Flac, {D::FlacCommentPastBlock}},
            {AudioFormat::OggVorbis, {D::OggCommentCount}},
            {AudioFormat::OggOpus, {D::OggCommentCount}},
            {AudioFormat::OggFlac, {D::OggCommentCount}},
            {AudioFormat::Mp4, {D::Mp4DataPastItem, D::Mp4AtomPastEnd}},
            {AudioFormat::Aiff, {D::ChunkPastEnd}},
            {AudioFormat::Wav, {D::ChunkPastEnd}},
        };
        const char *const names[] = {"comment past its block", "comment count", "data atom past its item",
                                     "moov past the end", "chunk past the end"};
        for (int sample = 0; sample < A::formats().size(); ++sample) {
            for (const D damage : damages.value(A::formats().at(sample).format))
                QTest::addRow("%s, %s", qPrintable(A::formats().at(sample).name), names[int(damage)])
                    << sample << int(damage);
        }
    }

    void damagedRefused()
    {
        NEW_FILE(path);
        QFETCH(int, damage);
        Native tags = seratoData(familyOf(sample));
        tags.insert(nativeNames(format.format, Field::Title).first(), {QStringLiteral("Before")});
        QVERIFY(A::setNative(path, tags));
        QVERIFY(A::damage(path, A::Damage(damage)));
        const QByteArray bytes = F::readBytes(path);

        // Either reason will do: the point is that nothing is written.
        const TagWriteResult written =
            T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("After")}}, F::image(20, 20, Qt::red));
        QVERIFY2(written.error == TagWriteError::DamagedTags || written.error == TagWriteError::IncompleteTag,
                 qPrintable(written.reason()));
        QVERIFY(!T::removeSeratoData(path.toUtf8().constData()));
        QVERIFY(F::readBytes(path) == bytes);
    }
};

SONVEL_TEST_MAIN(TestFormats)
#include "tst_formats.moc"
