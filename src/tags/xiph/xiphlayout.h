#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QVector>

#include <functional>

// The Vorbis comments and pictures of FLAC, Ogg Vorbis, Opus and Ogg FLAC
// files as they lie in the bytes, walked without TagLib: TagLib passes over
// what it cannot parse (a comment without '=', a second comment block, a
// picture that does not fit) and a save would then lose it, or it trusts sizes
// that run past the data.
namespace XiphLayout {

struct Contents
{
    bool sound = false;      // every size and count adds up
    int comments = 0;        // pictures stored as comments included
    int pictureBlocks = 0;   // FLAC PICTURE blocks (metadata blocks or Ogg FLAC packets)
    bool readInPart = false; // text that is no UTF-8, data after Opus comments that editors must keep
    // Ogg FLAC: the packets holding the comment block (-1 for none) and the picture blocks.
    int commentPacket = -1;
    QVector<int> picturePackets;
};

// Where "fLaC" starts, behind the ID3v2 tags other programs put in front; -1
// when it does not follow them.
qint64 flacStart(QIODevice &file);
// The bytes of the ID3v1 tags other programs put at the end.
qint64 id3v1Tail(QIODevice &file, qint64 flacStart);

// The metadata blocks of a FLAC file.
Contents flacMetadata(QIODevice &file);
// Ogg Vorbis and Opus: their comment packet, the second of the stream.
Contents vorbisCommentPacket(const QByteArray &packet);
Contents opusTagsPacket(const QByteArray &packet);
// Ogg FLAC: its header packets, from the first; packet(i) is empty past the stream's end.
Contents oggFlacHeaders(const std::function<QByteArray(int)> &packet);

} // namespace XiphLayout
