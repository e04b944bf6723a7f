#pragma once

#include "tags/audioformat.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// Short real files of every format the program edits, made by Debian's
// encoders, and an independent view of their tags through mutagen, by each
// format's own names. Each sample is encoded once per test process and then
// copied, so a test may make as many files as it likes.
namespace AudioFixture {

struct Format
{
    AudioFormat format;
    QString name;      // names a test row: "MP3", "M4A ALAC"
    QString extension; // as such files are usually named, without the dot
};

// Every sample, one or more per format. Their layouts are those where a
// growing tag makes TagLib move the audio: tags in front of it (MP3, FLAC,
// Ogg; AIFF and WAV with their tag chunks before the sound; M4A AAC with the
// movie header first), except M4A ALAC, whose movie header follows the audio.
const QVector<Format> &formats();
// The first sample of the format.
const Format &format(AudioFormat format);

// Whether the sample's encoder is installed (encodes it on the first call).
bool available(const Format &format);
// A copy of the sample named `name` in `dir`; empty when it cannot be made.
QString create(const QString &dir, const QString &name, const Format &format);
QString create(const QString &dir, const QString &name, AudioFormat format);

// Tags by the format's own names, one list of values per name:
// - MP3, AIFF, WAV: ID3v2 frame ids ("TIT2"), "TXXX:desc", "COMM" (no
//   description) or "COMM:desc", "GEOB:desc", "PRIV:owner"; WAV's RIFF INFO
//   as "INFO:INAM".
// - FLAC, Ogg, Opus: Vorbis comment names, in upper case.
// - M4A: atom names ("©nam", "tmpo", "trkn" as "3/12" or "3",
//   "----:com.apple.iTunes:LABEL").
// Binary payloads (GEOB, PRIV, binary MP4 items) are their bytes as Latin-1.
// Pictures are not among them.
using NativeTags = QMap<QString, QStringList>;

// Replaces the values of each name given; an empty list removes the name.
bool setNative(const QString &path, const NativeTags &tags);
NativeTags native(const QString &path);

struct NativePicture
{
    QString mime;
    int type = 0; // the ID3/FLAC picture type; -1 in MP4, which stores none
    QByteArray data;
};
// Adds a picture (JPEG or PNG, told by its bytes) next to those there.
bool addNativePicture(const QString &path, const QByteArray &bytes, int type);
QList<NativePicture> nativePictures(const QString &path);

// The demuxed audio packets' MD5: the same for the same audio whatever the
// container's layout and tags. Empty when ffmpeg cannot read the file.
QByteArray audioDigest(const QString &path);

// Metadata made inconsistent by hand, as a broken tool leaves it.
enum class Damage {
    FlacCommentPastBlock, // a Vorbis comment's length runs past its FLAC block
    OggCommentCount,      // the Ogg comment packet counts more comments than it holds
    Mp4DataPastItem,      // an ilst item's data atom is longer than the item
    Mp4AtomPastEnd,       // the moov atom's size runs past the end of the file
    ChunkPastEnd,         // an AIFF or WAV file's last chunk runs past its end
};
// Needs the structure the damage is made in (FLAC and Ogg: one comment at
// least); false when the file lacks it.
bool damage(const QString &path, Damage damage);

} // namespace AudioFixture
