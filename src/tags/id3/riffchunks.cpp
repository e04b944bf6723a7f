#include "tags/id3/riffchunks.h"

#include <QFile>

namespace RiffChunks {

namespace {

quint32 number(const QByteArray &bytes, int at, bool bigEndian)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        const int index = bigEndian ? at + i : at + 3 - i;
        value = (value << 8) | uchar(bytes.at(index));
    }
    return value;
}

} // namespace

Layout walk(const QString &path)
{
    Layout layout;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return layout;
    const QByteArray header = file.read(12);
    if (header.size() < 12)
        return layout;
    const bool bigEndian = header.startsWith("FORM");
    if (!bigEndian && !header.startsWith("RIFF"))
        return layout;

    const qint64 end = file.size();
    qint64 offset = 12;
    while (offset + 8 <= end) {
        file.seek(offset);
        const QByteArray chunkHeader = file.read(8);
        const Chunk chunk{chunkHeader.left(4), offset + 8, qint64(number(chunkHeader, 4, bigEndian))};
        if (chunk.dataOffset + chunk.size > end)
            return layout;
        layout.chunks << chunk;
        // Chunks start on even offsets; the last one may lack its pad byte.
        offset = chunk.dataOffset + chunk.size + (chunk.size & 1);
    }
    // A few stray bytes at the end hold no chunk that could be lost.
    layout.whole = true;
    return layout;
}

qint64 id3ChunkOffset(const Layout &layout)
{
    for (const Chunk &chunk : layout.chunks) {
        if (chunk.id == "ID3 " || chunk.id == "id3 ")
            return chunk.dataOffset;
    }
    return -1;
}

} // namespace RiffChunks
