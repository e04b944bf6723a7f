#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The chunks of an AIFF (big-endian "FORM") or WAV (little-endian "RIFF")
// file, walked from the raw bytes: TagLib stops quietly at a chunk whose size
// runs past the file, and a save would then rewrite what it never read.
namespace RiffChunks {

struct Chunk
{
    QByteArray id;
    qint64 dataOffset = 0; // where the chunk's data starts in the file
    qint64 size = 0;       // as its header says
};

struct Layout
{
    bool whole = false; // every chunk lies inside the file
    QVector<Chunk> chunks;
};

Layout walk(const QString &path);

// The data offset of the ID3v2 chunk ("ID3 " or "id3 "), -1 without one.
qint64 id3ChunkOffset(const Layout &layout);

} // namespace RiffChunks
