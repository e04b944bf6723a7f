#pragma once

#include "tags/tagwriteresult.h"

#include <QByteArray>
#include <QString>

#include <taglib/tfilestream.h>
#include <taglib/tiostream.h>

#include <functional>
#include <memory>
#include <vector>

// The stream TagLib saves a file through, so that no save can tear it.
//
// TagLib grows a tag by shifting the rest of the file in place: a stop half
// way leaves the audio half shifted. Here nothing TagLib writes reaches the
// disk during its save; the new file is held as pieces of the old one and new
// bytes. commit() then stores it: when no old byte moved (the tag fitted its
// padding, or a tag was added at the end), each changed run of bytes is
// written over the old one in one call; otherwise the whole file is written
// beside the old one, flushed, and renamed over it. Either way the file is, at every moment, as it was or as
// saved.
class SaveStream : public TagLib::IOStream
{
public:
    explicit SaveStream(const QString &path);
    ~SaveStream() override;

    // Stores the saved file. verify(path) reads back what was written there
    // (the file itself, or the new file before it replaces the old one) and
    // says whether it holds what was saved; when it does not, the file stays
    // as it was. Nothing is written when the save changed no byte.
    TagWriteError commit(const std::function<bool(const QString &written)> &verify);

    // Whether the save moved bytes of the old file (a tag that grew); tags
    // that kept their room, or were added at the end, move nothing.
    bool changesLength() const;

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector &data) override;
    void insert(const TagLib::ByteVector &data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override;
    bool isOpen() const override;
    void seek(long offset, Position p = Beginning) override;
    void clear() override;
    long tell() const override;
    long length() override;
    void truncate(long length) override;

private:
    // A run of the new file: bytes of the old file from `from`, or new bytes.
    struct Piece
    {
        qint64 from = -1; // -1: new bytes
        qint64 size = 0;
        QByteArray bytes;
    };

    void replace(qint64 start, qint64 count, const QByteArray &bytes);
    size_t splitAt(qint64 position);
    QByteArray read(qint64 position, qint64 count);
    TagWriteError writeInPlace(const std::function<bool(const QString &)> &verify);
    TagWriteError writeBeside(const std::function<bool(const QString &)> &verify);

    const QString m_path;
    TagLib::FileStream m_original;
    const qint64 m_originalLength;
    std::vector<Piece> m_pieces;
    qint64 m_length = 0;
    qint64 m_position = 0;
};
