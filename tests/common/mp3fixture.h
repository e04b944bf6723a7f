#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace TagLib {
class String;
namespace ID3v2 {
class Frame;
}
} // namespace TagLib

// Builds small real MP3 files for tests, in code, and looks into their tags.
// Every TagLib file object is closed before a helper returns: TagLib keeps part
// of a save buffered until the object is destroyed.
namespace Mp3Fixture {

// Silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, stereo, 417 bytes
// each). Twenty are a real 0.52 s MP3; one alone is not taken for MPEG audio.
QByteArray silentAudio(int frames = 20);
QString create(const QString &dir, const QString &name, int frames = 20);
QString createFile(const QString &dir, const QString &name, const QByteArray &bytes);

TagLib::String toTag(const QString &text);
QString fromTag(const TagLib::String &text);

// New ID3v2 frames for addFrames(), which hands them to the tag that owns them.
TagLib::ID3v2::Frame *textFrame(const char *id, const QString &text);
TagLib::ID3v2::Frame *commentFrame(const QString &text, const QString &description = QString());
TagLib::ID3v2::Frame *geobFrame(const QString &description, const QByteArray &data);
TagLib::ID3v2::Frame *privFrame(const QString &owner, const QByteArray &data);
TagLib::ID3v2::Frame *txxxFrame(const QString &description, const QString &value);
TagLib::ID3v2::Frame *pictureFrame(const QByteArray &bytes, int type = 3,
                                   const QString &mime = QStringLiteral("image/jpeg"));

// Appends to the ID3v2 tag and saves it as ID3v2.4, other tags left alone.
bool addFrames(const QString &path, const QList<TagLib::ID3v2::Frame *> &frames);
// All thirteen fields the editor shows, and a front cover when given.
bool addFullTags(const QString &path, const QByteArray &cover = QByteArray());
bool addId3v1(const QString &path, const QString &title);
bool addApe(const QString &path, const QString &title);

// A file whose ID3v2 tag is made of raw frames, for what TagLib itself would
// not write (Latin-1 text holding UTF-8 bytes, duplicate frames, UTF-16 with
// byte order marks, ID3v2.3 tags).
// Tags built byte by byte also make what no tagging library writes: damaged
// frames, odd flags and encodings, extended headers.
QByteArray rawFrame(const char *id, const QByteArray &body, int version = 4, quint16 flags = 0);
QByteArray rawTextFrame(const char *id, char encoding, const QByteArray &text, int version = 4);
// Header with the given flags, the extended header (as given, after the
// header), the frames and the padding.
QByteArray rawTag(const QList<QByteArray> &frames, int version = 4, char flags = 0,
                  const QByteArray &extendedHeader = QByteArray(), int padding = 0);
QString createRaw(const QString &dir, const QString &name, const QList<QByteArray> &frames,
                  int version = 4, int audioFrames = 20);

// The ID3v2 frames in tag order, one "ID <bytes>" line each (the bytes as
// TagLib renders them, in hex, or their length and hash when long), so lists
// can be compared frame by frame; only those with the id when one is given.
QStringList frameDump(const QString &path, const char *id = nullptr);
// TagLib's toString() of each frame with the id, in tag order.
QStringList frameTexts(const QString &path, const char *id);
QList<QPair<QString, QString>> comments(const QString &path); // (description, text)

struct Picture
{
    QString mime;
    int type = 0;
    QString description;
    QByteArray data;
};
QList<Picture> pictures(const QString &path);

QByteArray id3v1(const QString &path); // the 128 trailing bytes, empty without
// The ID3v1 fields without their padding and surrounding blanks (ID3v1 pads
// fixed-width fields, and TagLib's re-reads do not keep those blanks alike):
// title, artist, album, comment, genre, year, track; empty without a tag.
QStringList id3v1Fields(const QString &path);
bool hasApe(const QString &path);
int id3v2Version(const QString &path); // 0 without an ID3v2 tag
QByteArray readBytes(const QString &path);
QByteArray hash(const QString &path);

QImage image(int width, int height, const QColor &color);
QByteArray encode(const QImage &image, const char *format = "JPG");
// A square JPEG of a busy pattern, as costly to decode as a real cover.
QByteArray busyCoverJpeg(int size);

} // namespace Mp3Fixture
