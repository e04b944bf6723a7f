#include "corpus.h"

#include "common/mp3fixture.h"
#include "libraryfiles.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <taglib/mpegfile.h>

#include <unistd.h>

namespace F = Mp3Fixture;
using LibraryFiles::Look;

namespace {

// One cycle of the library mix: M MP3, F FLAC, A AIFF, W WAV, 4 M4A, O Ogg.
constexpr char kCycle[] = "MFAMWMF4MAMFOMWAMF4M";
constexpr int kCycleLength = sizeof(kCycle) - 1;

int countIn(char group, int end)
{
    int count = 0;
    for (int i = 0; i < end; ++i)
        count += kCycle[i] == group;
    return count;
}

Corpus::Kind kindOfGroup(char group, int k)
{
    using Corpus::Kind;
    switch (group) {
    case 'F':
        return Kind::Flac;
    case 'A':
        return Kind::Aiff;
    case 'W':
        return Kind::Wav;
    case '4':
        return k % 5 == 4 ? Kind::M4aAlac : Kind::M4aAac;
    case 'O':
        // In fours, so neither codec gets only some of the covers.
        return (k / 4) % 2 == 1 ? Kind::OggOpus : Kind::OggVorbis;
    default:
        break;
    }
    return Kind::Mp3;
}

// The file's place among those of its format decides its cover, DJ data and
// ID3 version.
struct Slot
{
    Corpus::Kind kind;
    int k;
};

Slot slotOf(int index, Corpus::Mix mix)
{
    if (mix == Corpus::Mix::Mp3Only)
        return {Corpus::Kind::Mp3, index};
    const int position = index % kCycleLength;
    const char group = kCycle[position];
    const int k = index / kCycleLength * countIn(group, kCycleLength) + countIn(group, position);
    return {kindOfGroup(group, k), k};
}

enum Cover { Cover500, Cover1500, NoCover };

Cover coverOf(int k)
{
    return k % 2 == 0 ? Cover500 : (k % 4 == 1 ? Cover1500 : NoCover);
}

bool djDataOf(int k)
{
    return k % 10 == 9;
}

bool id3v23Of(int k)
{
    return (k / 4) % 2 == 1;
}

void place(const QString &source, const QString &target, bool links)
{
    const bool made = links ? ::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0
                            : QFile::copy(source, target);
    if (!made)
        qFatal("cannot make %s", qPrintable(target));
}

QString fileName(const QString &dir, int index, Corpus::Kind kind)
{
    return QStringLiteral("%1/%2.%3").arg(dir).arg(index, 6, 10, QLatin1Char('0')).arg(LibraryFiles::extension(kind));
}

bool saveAs23(const QString &path)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
                     TagLib::File::DoNotDuplicate);
}

// The earlier corpus, unchanged: short silent MP3s whose templates sit in the
// same folder. Index = cover * 4 + (v23 ? 2 : 0) + (dj ? 1 : 0).
QStringList makeMp3Only(const QString &dir, int n, bool links)
{
    const QList<QByteArray> covers = {F::busyCoverJpeg(500), F::busyCoverJpeg(1500), QByteArray()};
    QStringList templates;
    for (int c = 0; c < covers.size(); ++c) {
        for (int variant = 0; variant < 4; ++variant) {
            const QString path = F::create(dir, QStringLiteral("template-%1-%2.bin").arg(c).arg(variant));
            bool ok = !path.isEmpty() && F::addFullTags(path, covers.at(c));
            if (variant & 1)
                ok = ok && F::addFrames(path, {F::geobFrame(QStringLiteral("Serato Markers2"), QByteArray(2048, 'm')),
                                               F::geobFrame(QStringLiteral("Serato Overview"), QByteArray(4096, 'o'))});
            if (variant & 2)
                ok = ok && saveAs23(path);
            if (!ok)
                qFatal("cannot make the corpus templates in %s", qPrintable(dir));
            templates << path;
        }
    }
    QStringList files;
    for (int i = 0; i < n; ++i) {
        const int k = slotOf(i, Corpus::Mix::Mp3Only).k;
        files << fileName(dir, i, Corpus::Kind::Mp3);
        place(templates.at(coverOf(k) * 4 + (id3v23Of(k) ? 2 : 0) + (djDataOf(k) ? 1 : 0)), files.last(), links);
    }
    return files;
}

// Each distinct look is encoded and tagged once, then copied or linked.
QStringList makeLibrary(const QString &dir, int n, bool links)
{
    QTemporaryDir work;
    if (!work.isValid())
        qFatal("no temporary folder for the samples");
    LibraryFiles::Samples samples(work.path());
    const QByteArray covers[] = {F::busyCoverJpeg(500), F::busyCoverJpeg(1500), QByteArray()};
    QHash<QString, QString> templates;
    QStringList files;
    for (int i = 0; i < n; ++i) {
        const Slot slot = slotOf(i, Corpus::Mix::Library);
        const bool id3 = slot.kind == Corpus::Kind::Mp3 || slot.kind == Corpus::Kind::Aiff || slot.kind == Corpus::Kind::Wav;
        const Look look{slot.kind, covers[coverOf(slot.k)], djDataOf(slot.k), id3 && id3v23Of(slot.k)};
        const QString key = QStringLiteral("%1-%2-%3-%4")
                                .arg(int(look.kind))
                                .arg(int(coverOf(slot.k)))
                                .arg(int(look.djData))
                                .arg(int(look.id3v23));
        if (!templates.contains(key)) {
            const QString path = QStringLiteral("%1/template-%2.%3").arg(work.path(), key, LibraryFiles::extension(look.kind));
            if (!QFile::copy(samples.path(look.kind), path))
                qFatal("cannot copy the %s sample", qPrintable(Corpus::kindName(look.kind)));
            LibraryFiles::tag(path, look);
            templates.insert(key, path);
        }
        files << fileName(dir, i, look.kind);
        place(templates.value(key), files.last(), links);
    }
    return files;
}

} // namespace

namespace Corpus {

const QVector<Kind> &kinds()
{
    static const QVector<Kind> all = {Kind::Mp3,    Kind::Flac, Kind::Aiff,      Kind::M4aAac,
                                      Kind::M4aAlac, Kind::Wav, Kind::OggVorbis, Kind::OggOpus};
    return all;
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Mp3:
        return QStringLiteral("MP3");
    case Kind::Flac:
        return QStringLiteral("FLAC");
    case Kind::Aiff:
        return QStringLiteral("AIFF");
    case Kind::M4aAac:
        return QStringLiteral("M4A AAC");
    case Kind::M4aAlac:
        return QStringLiteral("M4A ALAC");
    case Kind::Wav:
        return QStringLiteral("WAV");
    case Kind::OggVorbis:
        return QStringLiteral("Ogg Vorbis");
    case Kind::OggOpus:
        break;
    }
    return QStringLiteral("Opus");
}

Kind kindOf(int index, Mix mix)
{
    return slotOf(index, mix).kind;
}

QStringList make(const QString &dir, int n, bool links, Mix mix)
{
    return mix == Mix::Mp3Only ? makeMp3Only(dir, n, links) : makeLibrary(dir, n, links);
}

const QMap<QString, QString> &shownFields()
{
    static const QMap<QString, QString> shown = [] {
        QMap<QString, QString> fields;
        for (const Fields::Names &names : Fields::all())
            fields.insert(names.key, LibraryFiles::storedText(names.field));
        return fields;
    }();
    return shown;
}

QString title(const char *sixLetters, int index)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(sixLetters)).arg(index, 6, 10, QLatin1Char('0'));
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace Corpus
