#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The kinds of audio file the program edits, decided from a file's content.
enum class AudioFormat {
    Unknown, // none of these: never written to
    Mpeg,    // MPEG audio (MP3), ID3v2 + ID3v1/APE
    Aiff,    // ID3v2 in an "ID3 " chunk
    Wav,     // ID3v2 in an "id3 " chunk, and the RIFF INFO list
    Flac,    // Vorbis comment and picture blocks
    OggVorbis,
    OggOpus,
    OggFlac,
    Mp4,     // iTunes-style atoms (AAC, ALAC)
};

// Which tag family holds a format's fields.
enum class TagFamilyKind { None, Id3, Xiph, Mp4 };

namespace AudioFormats {

// From the first bytes of the file (an ID3v2 tag in front skipped), never
// from its name. Unknown for files that cannot be read.
AudioFormat sniff(const QString &path);
// The same over a file already open: read(offset, size) gives its bytes
// there (fewer at its end).
AudioFormat sniff(const std::function<QByteArray(qint64 offset, int size)> &read);

// The size of an ID3v2 tag at the start of the bytes (header and footer
// included), 0 without one. Other programs put such tags in front of FLAC
// streams too, sometimes several.
qint64 id3v2Size(const QByteArray &head);

TagFamilyKind family(AudioFormat format);
// For people: "MP3", "FLAC", "Ogg Vorbis", ...
QString displayName(AudioFormat format);

// The extensions of the formats, lower case, without the dot.
const QStringList &extensions();
// Whether the name ends in one of them, in any case ("Song.FLAC").
bool hasAudioExtension(const QString &path);

// The file name's own extension with its dot, as written (".AIFF"), or empty
// when the name has none. Renames keep it.
QString extensionOf(const QString &fileName);

// The file dialog's filters: all audio files, one per format, all files.
QStringList dialogFilters();

} // namespace AudioFormats
