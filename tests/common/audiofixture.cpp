#include "common/audiofixture.h"

#include "common/mp3fixture.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtMath>

#include <algorithm>
#include <functional>

namespace AudioFixture {

namespace {

// Debian's mutagen lives with the system interpreter, whatever comes first on PATH.
const QString kPython = QStringLiteral("/usr/bin/python3");

// Reads and writes through mutagen, by the format's own names. The class is
// chosen from the content, so that a misnamed file is seen as what it is.
const char *const kNative = R"(
import base64, json, sys
from mutagen import id3
from mutagen.aiff import AIFF
from mutagen.flac import FLAC, Picture
from mutagen.mp3 import MP3
from mutagen.mp4 import MP4, MP4Cover, MP4FreeForm, AtomDataType
from mutagen.oggflac import OggFLAC
from mutagen.oggopus import OggOpus
from mutagen.oggvorbis import OggVorbis
from mutagen.wave import WAVE

def kind(path):
    with open(path, "rb") as f:
        head = f.read(64)
        while head[:3] == b"ID3" and len(head) >= 10:
            size = 0
            for b in head[6:10]:
                size = (size << 7) | b
            f.seek(f.tell() - len(head) + 10 + size + (10 if head[5] & 0x10 else 0))
            head = f.read(64)
    if head[:4] == b"fLaC":
        return FLAC
    if head[:4] == b"OggS":
        packet = head[27 + head[26]:]
        for marker, cls in ((b"\x01vorbis", OggVorbis), (b"OpusHead", OggOpus), (b"\x7fFLAC", OggFLAC)):
            if packet.startswith(marker):
                return cls
    if head[:4] == b"FORM":
        return AIFF
    if head[:4] == b"RIFF" and head[8:12] == b"WAVE":
        return WAVE
    if head[4:8] == b"ftyp":
        return MP4
    return MP3

def mime(data):
    return "image/png" if data.startswith(b"\x89PNG") else "image/jpeg"

def picture(data, type_, mime_):
    return {"mime": mime_, "type": type_, "data": base64.b64encode(data).decode()}

def id3_key(frame):
    fid = frame.FrameID
    if fid in ("TXXX", "GEOB"):
        return fid + ":" + frame.desc
    if fid == "COMM":
        return "COMM:" + frame.desc if frame.desc else "COMM"
    if fid == "PRIV":
        return "PRIV:" + frame.owner
    return fid

def id3_values(frame):
    if hasattr(frame, "text"):
        return [str(t) for t in frame.text]
    if hasattr(frame, "data"):
        return [bytes(frame.data).decode("latin-1")]
    return [frame.pprint()]

def id3_frame(key, values):
    fid, _, rest = key.partition(":")
    if fid == "TXXX":
        return id3.TXXX(encoding=3, desc=rest, text=values)
    if fid == "COMM":
        return id3.COMM(encoding=3, lang="eng", desc=rest, text=values)
    if fid == "GEOB":
        return id3.GEOB(encoding=0, mime="application/octet-stream", filename="", desc=rest,
                        data=values[0].encode("latin-1"))
    if fid == "PRIV":
        return id3.PRIV(owner=rest, data=values[0].encode("latin-1"))
    return getattr(id3, fid)(encoding=3, text=values)

def mp4_value(item):
    if isinstance(item, MP4FreeForm):
        return item.decode("utf-8") if item.dataformat == AtomDataType.UTF8 else bytes(item).decode("latin-1")
    if isinstance(item, tuple):
        return "%d/%d" % item if item[1] else str(item[0])
    if isinstance(item, bytes):
        return item.decode("latin-1")
    return str(item)

def mp4_values(key, values):
    if key.startswith("----:"):
        return [MP4FreeForm(v.encode("utf-8"), dataformat=AtomDataType.UTF8) for v in values]
    if key in ("trkn", "disk"):
        return [tuple(int(x) for x in (v.split("/") + ["0"])[:2]) for v in values]
    if key == "tmpo":
        return [int(v) for v in values]
    return values

def dump(f):
    tags, pictures = {}, []
    cls = type(f)
    if f.tags is None:
        pass
    elif cls in (MP3, AIFF, WAVE):
        for frame in f.tags.values():
            if frame.FrameID == "APIC":
                pictures.append(picture(frame.data, int(frame.type), frame.mime))
            else:
                tags.setdefault(id3_key(frame), []).extend(id3_values(frame))
    elif cls is MP4:
        for key, items in f.tags.items():
            if key == "covr":
                pictures += [picture(bytes(c), -1, "image/png" if c.imageformat == MP4Cover.FORMAT_PNG
                                     else "image/jpeg") for c in items]
            else:
                tags[key] = [mp4_value(item) for item in items]
    else:
        for key, value in f.tags:
            if key.upper() != "METADATA_BLOCK_PICTURE":
                tags.setdefault(key.upper(), []).append(value)
        found = (f.pictures if cls is FLAC else []) + [
            Picture(base64.b64decode(v)) for k, v in f.tags if k.upper() == "METADATA_BLOCK_PICTURE"]
        pictures += [picture(p.data, int(p.type), p.mime) for p in found]
    return {"tags": tags, "pictures": pictures}

def set_tags(f, given):
    cls = type(f)
    for key, values in given.items():
        if cls in (MP3, AIFF, WAVE):
            for hashkey, frame in list(f.tags.items()):
                if id3_key(frame) == key:
                    del f.tags[hashkey]
            if values:
                f.tags.add(id3_frame(key, values))
        elif cls is MP4:
            f.tags.pop(key, None)
            if values:
                f.tags[key] = mp4_values(key, values)
        else:
            f.tags[key] = values

def add_picture(f, data, type_):
    cls = type(f)
    if cls in (MP3, AIFF, WAVE):
        # A description of its own: mutagen keys pictures by it.
        f.tags.add(id3.APIC(encoding=3, mime=mime(data), type=type_,
                            desc="picture %d" % len(f.tags.getall("APIC")), data=data))
    elif cls is MP4:
        format_ = MP4Cover.FORMAT_PNG if mime(data) == "image/png" else MP4Cover.FORMAT_JPEG
        f.tags["covr"] = list(f.tags.get("covr", [])) + [MP4Cover(data, imageformat=format_)]
    else:
        p = Picture()
        p.data, p.type, p.mime = data, type_, mime(data)
        if cls is FLAC:
            f.add_picture(p)
        else:
            f.tags.append(("METADATA_BLOCK_PICTURE", base64.b64encode(p.write()).decode()))

mode, path = sys.argv[1], sys.argv[2]
f = kind(path)(path)
if mode == "dump":
    print(json.dumps(dump(f)))
    sys.exit(0)
given = json.load(sys.stdin)
if f.tags is None:
    f.add_tags()
if mode == "set":
    set_tags(f, given)
else:
    add_picture(f, base64.b64decode(given["data"]), given["type"])
f.save()
)";

// The JSON the script printed; null after a failure, which is logged.
QJsonObject runNative(const QString &mode, const QString &path, const QJsonObject &input = QJsonObject())
{
    QProcess python;
    python.start(kPython, {QStringLiteral("-c"), QString::fromLatin1(kNative), mode, path});
    if (!python.waitForStarted(30000))
        return QJsonObject();
    // Through stdin: a picture's bytes do not fit an argument.
    python.write(QJsonDocument(input).toJson(QJsonDocument::Compact));
    python.closeWriteChannel();
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        qWarning() << "mutagen" << mode << path << python.readAllStandardError();
        return QJsonObject();
    }
    const QByteArray out = python.readAllStandardOutput();
    return out.isEmpty() ? QJsonObject{{QStringLiteral("done"), true}} : QJsonDocument::fromJson(out).object();
}

bool run(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning() << program << arguments << process.readAllStandardError();
        return false;
    }
    return true;
}

// ---- IFF chunks (RIFF little-endian, AIFF big-endian) ----

struct Chunk
{
    QByteArray id;
    int offset; // of its header
    quint32 size;
};

bool isRiff(const QByteArray &file)
{
    return file.startsWith("RIFF");
}

quint32 chunkSize(const QByteArray &file, int at)
{
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData()) + at;
    return isRiff(file) ? qFromLittleEndian<quint32>(bytes) : qFromBigEndian<quint32>(bytes);
}

QByteArray sizeBytes(const QByteArray &file, quint32 size)
{
    QByteArray bytes(4, '\0');
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    if (isRiff(file))
        qToLittleEndian(size, out);
    else
        qToBigEndian(size, out);
    return bytes;
}

// The top-level chunks, the last one possibly running past the end.
QVector<Chunk> chunks(const QByteArray &file)
{
    QVector<Chunk> found;
    if (!file.startsWith("RIFF") && !file.startsWith("FORM"))
        return found;
    for (qint64 at = 12; at + 8 <= file.size();) {
        const quint32 size = chunkSize(file, int(at + 4));
        found.append({file.mid(int(at), 4), int(at), size});
        at += 8 + qint64(size) + (size & 1);
    }
    return found;
}

QByteArray chunk(const QByteArray &file, const QByteArray &id, const QByteArray &data)
{
    return id + sizeBytes(file, quint32(data.size())) + data + QByteArray(data.size() & 1, '\0');
}

// Puts the chunk bytes in place of the chunk at `index`, or before the sound
// chunk when index is -1, and sets the container's size.
void placeChunk(QByteArray &file, int index, const QByteArray &bytes)
{
    const QVector<Chunk> all = chunks(file);
    if (index >= 0) {
        const Chunk &old = all.at(index);
        file.replace(old.offset, 8 + int(old.size) + int(old.size & 1), bytes);
    } else {
        for (const Chunk &c : all) {
            if (c.id == "data" || c.id == "SSND") {
                file.insert(c.offset, bytes);
                break;
            }
        }
    }
    file.replace(4, 4, sizeBytes(file, quint32(file.size() - 8)));
}

int infoIndex(const QByteArray &file)
{
    const QVector<Chunk> all = chunks(file);
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).id == "LIST" && file.mid(all.at(i).offset + 8, 4) == "INFO")
            return i;
    }
    return -1;
}

// RIFF INFO ids and their texts, in file order.
QList<QPair<QByteArray, QString>> infoEntries(const QByteArray &file)
{
    QList<QPair<QByteArray, QString>> entries;
    const int index = file.mid(8, 4) == "WAVE" ? infoIndex(file) : -1;
    if (index < 0)
        return entries;
    const Chunk list = chunks(file).at(index);
    const qint64 end = qMin(list.offset + 8 + qint64(list.size), qint64(file.size()));
    for (qint64 at = list.offset + 12; at + 8 <= end;) {
        const quint32 size = chunkSize(file, int(at + 4));
        QByteArray text = file.mid(int(at + 8), int(qMin(qint64(size), end - at - 8)));
        while (text.endsWith('\0'))
            text.chop(1);
        entries.append({file.mid(int(at), 4), QString::fromUtf8(text)});
        at += 8 + qint64(size) + (size & 1);
    }
    return entries;
}

bool setInfo(const QString &path, const NativeTags &tags)
{
    QByteArray file = Mp3Fixture::readBytes(path);
    if (!file.startsWith("RIFF"))
        return false;
    QList<QPair<QByteArray, QString>> entries = infoEntries(file);
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        const QByteArray id = it.key().mid(5).toLatin1();
        entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const auto &e) { return e.first == id; }),
                      entries.end());
        if (!it.value().isEmpty())
            entries.append({id, it.value().first()});
    }
    QByteArray list("INFO");
    for (const auto &entry : entries)
        list += chunk(file, entry.first, entry.second.toUtf8() + '\0');
    placeChunk(file, infoIndex(file), chunk(file, "LIST", list));
    return Mp3Fixture::createFile(QFileInfo(path).path(), QFileInfo(path).fileName(), file) == path;
}

// ---- samples ----

// 0.4 s of a 440 Hz tone, 16-bit stereo at 44.1 kHz.
QByteArray sineWav()
{
    constexpr int rate = 44100, frames = rate * 2 / 5;
    QByteArray pcm(frames * 4, '\0');
    auto *out = reinterpret_cast<uchar *>(pcm.data());
    for (int i = 0; i < frames; ++i) {
        const auto sample = qint16(qRound(12000 * qSin(2 * M_PI * 440 * i / rate)));
        qToLittleEndian(sample, out + 4 * i);
        qToLittleEndian(sample, out + 4 * i + 2);
    }
    QByteArray format(16, '\0');
    auto *f = reinterpret_cast<uchar *>(format.data());
    qToLittleEndian<quint16>(1, f);
    qToLittleEndian<quint16>(2, f + 2);
    qToLittleEndian<quint32>(rate, f + 4);
    qToLittleEndian<quint32>(rate * 4, f + 8);
    qToLittleEndian<quint16>(4, f + 12);
    qToLittleEndian<quint16>(16, f + 14);
    QByteArray file("RIFF\0\0\0\0WAVE", 12);
    file += chunk(file, "fmt ", format) + chunk(file, "data", pcm);
    file.replace(4, 4, sizeBytes(file, quint32(file.size() - 8)));
    return file;
}

// An encoder's ID3 tag, in its own chunk before the sound.
bool addId3Chunk(const QString &path, const QByteArray &id)
{
    QByteArray file = Mp3Fixture::readBytes(path);
    const QByteArray tag = Mp3Fixture::rawTag({Mp3Fixture::rawTextFrame("TSSE", 3, "SoX")});
    placeChunk(file, -1, chunk(file, id, tag));
    return Mp3Fixture::createFile(QFileInfo(path).path(), QFileInfo(path).fileName(), file) == path;
}

struct Sample
{
    Format format;
    std::function<bool(const QString &source, const QString &out)> encode;
};

bool ffmpeg(const QString &source, const QString &out, const QStringList &codec)
{
    return run(QStringLiteral("ffmpeg"),
               QStringList{"-nostdin", "-v", "error", "-y", "-i", source} + codec + QStringList{out});
}

const QVector<Sample> &samples()
{
    static const QVector<Sample> list = {
        {{AudioFormat::Mpeg, "MP3", "mp3"},
         [](const QString &in, const QString &out) {
             return run("lame", {"--silent", "-b", "128", in, out});
         }},
        {{AudioFormat::Flac, "FLAC", "flac"},
         [](const QString &in, const QString &out) { return run("flac", {"--silent", "-o", out, in}); }},
        {{AudioFormat::Aiff, "AIFF", "aiff"},
         [](const QString &in, const QString &out) { return run("sox", {in, out}) && addId3Chunk(out, "ID3 "); }},
        {{AudioFormat::Wav, "WAV", "wav"},
         [](const QString &in, const QString &out) {
             return run("sox", {in, out}) && setInfo(out, {{"INFO:ISFT", {"SoX"}}}) && addId3Chunk(out, "id3 ");
         }},
        {{AudioFormat::Mp4, "M4A AAC", "m4a"},
         [](const QString &in, const QString &out) {
             return ffmpeg(in, out, {"-c:a", "aac", "-b:a", "64k", "-movflags", "+faststart"});
         }},
        {{AudioFormat::Mp4, "M4A ALAC", "m4a"},
         [](const QString &in, const QString &out) { return ffmpeg(in, out, {"-c:a", "alac"}); }},
        {{AudioFormat::OggVorbis, "Ogg Vorbis", "ogg"},
         [](const QString &in, const QString &out) { return run("oggenc", {"-Q", "-q", "0", "-o", out, in}); }},
        {{AudioFormat::OggOpus, "Opus", "opus"},
         [](const QString &in, const QString &out) { return run("opusenc", {"--quiet", in, out}); }},
        {{AudioFormat::OggFlac, "Ogg FLAC", "oga"},
         [](const QString &in, const QString &out) { return ffmpeg(in, out, {"-c:a", "flac"}); }},
    };
    return list;
}

// The encoded samples, kept for the whole process.
struct Cache
{
    QMutex mutex;
    QTemporaryDir dir;
    QHash<QString, QString> paths; // by sample name; empty when it could not be made
};

QString samplePath(const Format &format)
{
    static Cache cache;
    QMutexLocker lock(&cache.mutex);
    if (cache.paths.contains(format.name))
        return cache.paths.value(format.name);
    const QString source = cache.dir.filePath(QStringLiteral("source.wav"));
    if (!QFile::exists(source))
        Mp3Fixture::createFile(cache.dir.path(), QStringLiteral("source.wav"), sineWav());
    QString path;
    for (const Sample &sample : samples()) {
        if (sample.format.name != format.name)
            continue;
        const QString out = cache.dir.filePath(QString::number(cache.paths.size()) + '.' + format.extension);
        if (sample.encode(source, out))
            path = out;
    }
    cache.paths.insert(format.name, path);
    return path;
}

} // namespace

const QVector<Format> &formats()
{
    static const QVector<Format> list = [] {
        QVector<Format> all;
        for (const Sample &sample : samples())
            all << sample.format;
        return all;
    }();
    return list;
}

const Format &format(AudioFormat format)
{
    for (const Format &f : formats()) {
        if (f.format == format)
            return f;
    }
    Q_ASSERT_X(false, "AudioFixture::format", "no sample of the format");
    return formats().first();
}

bool available(const Format &format)
{
    return !samplePath(format).isEmpty();
}

QString create(const QString &dir, const QString &name, const Format &format)
{
    const QString sample = samplePath(format);
    const QString path = QDir(dir).filePath(name);
    if (sample.isEmpty() || !QFile::copy(sample, path))
        return QString();
    // Copies keep the cache's read-only bits on some systems.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    return path;
}

QString create(const QString &dir, const QString &name, AudioFormat format)
{
    return create(dir, name, AudioFixture::format(format));
}

bool setNative(const QString &path, const NativeTags &tags)
{
    NativeTags info;
    QJsonObject given;
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        if (it.key().startsWith(QLatin1String("INFO:")))
            info.insert(it.key(), it.value());
        else
            given.insert(it.key(), QJsonArray::fromStringList(it.value()));
    }
    return (given.isEmpty() || !runNative(QStringLiteral("set"), path, given).isEmpty())
        && (info.isEmpty() || setInfo(path, info));
}

NativeTags native(const QString &path)
{
    NativeTags tags;
    const QJsonObject stored = runNative(QStringLiteral("dump"), path).value(QStringLiteral("tags")).toObject();
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        for (const QJsonValue &value : it.value().toArray())
            tags[it.key()] << value.toString();
    }
    for (const auto &entry : infoEntries(Mp3Fixture::readBytes(path)))
        tags[QStringLiteral("INFO:") + QString::fromLatin1(entry.first)] << entry.second;
    return tags;
}

bool addNativePicture(const QString &path, const QByteArray &bytes, int type)
{
    const QJsonObject picture{{QStringLiteral("data"), QString::fromLatin1(bytes.toBase64())},
                              {QStringLiteral("type"), type}};
    return !runNative(QStringLiteral("picture"), path, picture).isEmpty();
}

QList<NativePicture> nativePictures(const QString &path)
{
    QList<NativePicture> pictures;
    const QJsonArray stored = runNative(QStringLiteral("dump"), path).value(QStringLiteral("pictures")).toArray();
    for (const QJsonValue &value : stored) {
        const QJsonObject picture = value.toObject();
        pictures.append({picture.value(QStringLiteral("mime")).toString(),
                         picture.value(QStringLiteral("type")).toInt(),
                         QByteArray::fromBase64(picture.value(QStringLiteral("data")).toString().toLatin1())});
    }
    return pictures;
}

QByteArray audioDigest(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-i", path, "-map", "0:a", "-c", "copy",
                                            "-f", "md5", "-"});
    if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return QByteArray();
    return ffmpeg.readAllStandardOutput().trimmed();
}

// ---- damage ----

namespace {

quint32 le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(bytes.constData()) + at);
}

quint32 be32(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(bytes.constData()) + at);
}

void putLe32(QByteArray &bytes, int at, quint32 value)
{
    qToLittleEndian(value, reinterpret_cast<uchar *>(bytes.data()) + at);
}

void putBe32(QByteArray &bytes, int at, quint32 value)
{
    qToBigEndian(value, reinterpret_cast<uchar *>(bytes.data()) + at);
}

// The offset of the first comment's length, past the vendor string and the count.
int firstCommentAt(const QByteArray &bytes, int comment)
{
    const int count = comment + 4 + int(le32(bytes, comment));
    return count + 4 <= bytes.size() && le32(bytes, count) > 0 ? count + 4 : -1;
}

bool damageFlacComment(QByteArray &file)
{
    for (int at = 4; at + 4 <= file.size();) {
        const int type = uchar(file.at(at)) & 0x7f;
        const int length = (uchar(file.at(at + 1)) << 16) | (uchar(file.at(at + 2)) << 8) | uchar(file.at(at + 3));
        if (type == 4) {
            const int first = firstCommentAt(file, at + 4);
            if (first < 0)
                return false;
            putLe32(file, first, quint32(length));
            return true;
        }
        if (uchar(file.at(at)) & 0x80)
            return false;
        at += 4 + length;
    }
    return false;
}

quint32 oggCrc(const QByteArray &page)
{
    quint32 crc = 0;
    for (const char byte : page) {
        crc ^= quint32(uchar(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04c11db7u : crc << 1;
    }
    return crc;
}

// The second page starts with the comment packet in all three mappings.
bool damageOggCount(QByteArray &file)
{
    const int page = file.indexOf("OggS", 4);
    if (page < 0 || page + 27 > file.size())
        return false;
    const int segments = uchar(file.at(page + 26));
    int length = 0;
    for (int i = 0; i < segments; ++i)
        length += uchar(file.at(page + 27 + i));
    const int packet = page + 27 + segments;
    int comment = -1;
    if (file.mid(packet, 7) == "\x03vorbis")
        comment = packet + 7;
    else if (file.mid(packet, 8) == "OpusTags")
        comment = packet + 8;
    else if ((uchar(file.at(packet)) & 0x7f) == 4)
        comment = packet + 4;
    const int first = comment < 0 ? -1 : firstCommentAt(file, comment);
    if (first < 0)
        return false;
    putLe32(file, first - 4, le32(file, first - 4) + 1000);
    putLe32(file, page + 22, 0);
    putLe32(file, page + 22, oggCrc(file.mid(page, packet - page + length)));
    return true;
}

// The atom with the type among those from `from` to `to`; -1 without.
int mp4Atom(const QByteArray &file, int from, int to, const QByteArray &type)
{
    for (int at = from; at + 8 <= to;) {
        const auto size = int(be32(file, at));
        if (file.mid(at + 4, 4) == type)
            return at;
        if (size < 8)
            return -1;
        at += size;
    }
    return -1;
}

// moov, then udta, meta (a full atom) and ilst inside it: the offsets of each.
QVector<int> mp4Path(const QByteArray &file)
{
    QVector<int> path;
    int from = 0, to = file.size();
    for (const char *type : {"moov", "udta", "meta", "ilst"}) {
        const int at = mp4Atom(file, from, to, type);
        if (at < 0)
            break;
        path << at;
        from = at + (qstrcmp(type, "meta") == 0 ? 12 : 8);
        to = at + int(be32(file, at));
    }
    return path;
}

bool damageMp4Item(QByteArray &file)
{
    const QVector<int> path = mp4Path(file);
    if (path.size() < 4)
        return false;
    const int item = path.at(3) + 8;
    const int data = item + 8;
    if (file.mid(item + 4, 4) == "----" || file.mid(data + 4, 4) != "data")
        return false;
    putBe32(file, data, be32(file, item) + 8);
    return true;
}

bool damageMoovSize(QByteArray &file)
{
    const QVector<int> path = mp4Path(file);
    if (path.isEmpty())
        return false;
    putBe32(file, path.first(), quint32(file.size() - path.first() + 100));
    return true;
}

bool damageLastChunk(QByteArray &file)
{
    if (!file.startsWith("RIFF") && !file.startsWith("FORM"))
        return false;
    const QVector<Chunk> all = chunks(file);
    if (all.isEmpty())
        return false;
    const int at = all.last().offset;
    file.replace(at + 4, 4, sizeBytes(file, quint32(file.size() - at - 8 + 100)));
    return true;
}

} // namespace

bool damage(const QString &path, Damage damage)
{
    QByteArray file = Mp3Fixture::readBytes(path);
    bool done = false;
    switch (damage) {
    case Damage::FlacCommentPastBlock:
        done = file.startsWith("fLaC") && damageFlacComment(file);
        break;
    case Damage::OggCommentCount:
        done = file.startsWith("OggS") && damageOggCount(file);
        break;
    case Damage::Mp4DataPastItem:
        done = damageMp4Item(file);
        break;
    case Damage::Mp4AtomPastEnd:
        done = damageMoovSize(file);
        break;
    case Damage::ChunkPastEnd:
        done = damageLastChunk(file);
        break;
    }
    return done && Mp3Fixture::createFile(QFileInfo(path).path(), QFileInfo(path).fileName(), file) == path;
}

} // namespace AudioFixture
