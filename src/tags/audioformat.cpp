#include "tags/audioformat.h"

#include <QFile>
#include <QFileInfo>
#include <QVector>

namespace AudioFormats {

namespace {

// The magic numbers, and the first MPEG frames of nearly every MP3, lie in
// the first few kilobytes; junk some encoders leave before the first frame
// is searched a little further, never through a whole file of another kind.
constexpr int kHead = 4096;
constexpr int kMpegSearch = 64 * 1024;

quint32 bigEndian32(const QByteArray &bytes, int at)
{
    return (quint32(uchar(bytes.at(at))) << 24) | (quint32(uchar(bytes.at(at + 1))) << 16)
        | (quint32(uchar(bytes.at(at + 2))) << 8) | quint32(uchar(bytes.at(at + 3)));
}

// The length of the MPEG audio frame whose header starts at `at`; 0 when
// there is none. Free-format and reserved values do not count.
int mpegFrameLength(const QByteArray &bytes, int at)
{
    if (at + 4 > bytes.size())
        return 0;
    const uchar b1 = uchar(bytes.at(at + 1)), b2 = uchar(bytes.at(at + 2));
    if (uchar(bytes.at(at)) != 0xFF || (b1 & 0xE0) != 0xE0)
        return 0;
    const int version = (b1 >> 3) & 3; // 0: 2.5, 2: 2, 3: 1
    const int layer = (b1 >> 1) & 3;   // 1: III, 2: II, 3: I
    const int bitrateIndex = b2 >> 4;
    const int rateIndex = (b2 >> 2) & 3;
    if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    static const int bitrates[2][3][15] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    };
    static const int rates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    const bool mpeg1 = version == 3;
    const int layerIndex = 3 - layer; // 0: I, 1: II, 2: III
    const int bitrate = bitrates[mpeg1 ? 0 : 1][layerIndex][bitrateIndex] * 1000;
    const int rate = rates[version][rateIndex];
    const int padding = (b2 >> 1) & 1;
    if (layerIndex == 0)
        return (12 * bitrate / rate + padding) * 4;
    const int factor = (layerIndex == 2 && !mpeg1) ? 72 : 144;
    return factor * bitrate / rate + padding;
}

// Two frames in a row, so that a stray 0xFF byte is not taken for audio.
bool holdsMpegAudio(const QByteArray &bytes)
{
    for (int at = bytes.indexOf(char(0xFF)); at >= 0 && at + 4 <= bytes.size();
         at = bytes.indexOf(char(0xFF), at + 1)) {
        const int length = mpegFrameLength(bytes, at);
        if (length > 4 && mpegFrameLength(bytes, at + length) > 0
            && (bytes.at(at + 1) & 0xFE) == (bytes.at(at + length + 1) & 0xFE))
            return true;
    }
    return false;
}

AudioFormat oggFormat(const QByteArray &head)
{
    if (head.size() < 28)
        return AudioFormat::Unknown;
    const int segments = uchar(head.at(26));
    const QByteArray packet = head.mid(27 + segments, 8);
    if (packet.startsWith("\x01vorbis"))
        return AudioFormat::OggVorbis;
    if (packet.startsWith("OpusHead"))
        return AudioFormat::OggOpus;
    if (packet.startsWith("\x7f" "FLAC"))
        return AudioFormat::OggFlac;
    return AudioFormat::Unknown;
}

} // namespace

AudioFormat sniff(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return AudioFormat::Unknown;
    return sniff([&file](qint64 offset, int size) {
        return file.seek(offset) ? file.read(size) : QByteArray();
    });
}

AudioFormat sniff(const std::function<QByteArray(qint64 offset, int size)> &read)
{
    QByteArray head = read(0, kHead);
    // FLAC and MP3 files may carry ID3v2 tags in front, even several.
    qint64 skipped = 0;
    while (const qint64 size = id3v2Size(head)) {
        skipped += size;
        head = read(skipped, kHead);
    }
    if (head.startsWith("fLaC"))
        return AudioFormat::Flac;
    if (head.startsWith("OggS"))
        return oggFormat(head);
    if (skipped == 0 && head.size() >= 12) {
        const QByteArray kind = head.mid(8, 4);
        if (head.startsWith("FORM") && (kind == "AIFF" || kind == "AIFC"))
            return AudioFormat::Aiff;
        if (head.startsWith("RIFF") && kind == "WAVE")
            return AudioFormat::Wav;
        if (head.mid(4, 4) == "ftyp" && bigEndian32(head, 0) >= 8)
            return AudioFormat::Mp4;
    }
    if (holdsMpegAudio(head))
        return AudioFormat::Mpeg;
    if (head.size() < kHead)
        return AudioFormat::Unknown;
    return holdsMpegAudio(head + read(skipped + kHead, kMpegSearch - kHead)) ? AudioFormat::Mpeg
                                                                              : AudioFormat::Unknown;
}

qint64 id3v2Size(const QByteArray &head)
{
    if (head.size() < 10 || !head.startsWith("ID3"))
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        if (uchar(head.at(i)) & 0x80)
            return 0;
        size = (size << 7) | uchar(head.at(i));
    }
    const bool footer = uchar(head.at(5)) & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

TagFamilyKind family(AudioFormat format)
{
    switch (format) {
    case AudioFormat::Mpeg:
    case AudioFormat::Aiff:
    case AudioFormat::Wav:
        return TagFamilyKind::Id3;
    case AudioFormat::Flac:
    case AudioFormat::OggVorbis:
    case AudioFormat::OggOpus:
    case AudioFormat::OggFlac:
        return TagFamilyKind::Xiph;
    case AudioFormat::Mp4:
        return TagFamilyKind::Mp4;
    case AudioFormat::Unknown:
        break;
    }
    return TagFamilyKind::None;
}

QString displayName(AudioFormat format)
{
    switch (format) {
    case AudioFormat::Mpeg: return QStringLiteral("MP3");
    case AudioFormat::Aiff: return QStringLiteral("AIFF");
    case AudioFormat::Wav: return QStringLiteral("WAV");
    case AudioFormat::Flac: return QStringLiteral("FLAC");
    case AudioFormat::OggVorbis: return QStringLiteral("Ogg Vorbis");
    case AudioFormat::OggOpus: return QStringLiteral("Opus");
    case AudioFormat::OggFlac: return QStringLiteral("Ogg FLAC");
    case AudioFormat::Mp4: return QStringLiteral("M4A");
    case AudioFormat::Unknown: break;
    }
    return QStringLiteral("unknown");
}

namespace {

struct DialogEntry
{
    const char *label;
    QStringList extensions;
};

const QVector<DialogEntry> &dialogEntries()
{
    static const QVector<DialogEntry> entries = {
        {"MP3", {QStringLiteral("mp3")}},
        {"FLAC", {QStringLiteral("flac")}},
        {"AIFF", {QStringLiteral("aiff"), QStringLiteral("aif"), QStringLiteral("aifc")}},
        {"WAV", {QStringLiteral("wav")}},
        {"M4A", {QStringLiteral("m4a"), QStringLiteral("mp4")}},
        {"Ogg Vorbis", {QStringLiteral("ogg"), QStringLiteral("oga")}},
        {"Opus", {QStringLiteral("opus")}},
    };
    return entries;
}

// Both cases: name filters match case-sensitively on some platforms.
QString patterns(const QStringList &extensions)
{
    QStringList list;
    for (const QString &extension : extensions)
        list << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    return list.join(QLatin1Char(' '));
}

} // namespace

const QStringList &extensions()
{
    static const QStringList list = [] {
        QStringList all;
        for (const DialogEntry &entry : dialogEntries())
            all += entry.extensions;
        return all;
    }();
    return list;
}

bool hasAudioExtension(const QString &path)
{
    return extensions().contains(QFileInfo(path).suffix().toLower());
}

QString extensionOf(const QString &fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return QString();
    const QString extension = fileName.mid(dot);
    // "Mr. Big - Live" has no extension: only a short run of letters and
    // digits after the dot is one.
    if (extension.size() < 2 || extension.size() > 6)
        return QString();
    for (int i = 1; i < extension.size(); ++i) {
        if (!extension.at(i).isLetterOrNumber() || extension.at(i).unicode() > 127)
            return QString();
    }
    return extension;
}

QStringList dialogFilters()
{
    QStringList filters{QStringLiteral("Audio Files (%1)").arg(patterns(extensions()))};
    for (const DialogEntry &entry : dialogEntries())
        filters << QStringLiteral("%1 (%2)").arg(QLatin1String(entry.label), patterns(entry.extensions));
    filters << QStringLiteral("All Files (*)");
    return filters;
}

} // namespace AudioFormats
