#include "tags/savestream.h"

#include "tags/safefile.h"
#include "tags/tagfilename.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Files are written out in runs of this size: the whole file is never held.
constexpr qint64 kChunk = 1 << 20;

QByteArray toBytes(const TagLib::ByteVector &data)
{
    return QByteArray(data.data(), int(data.size()));
}

} // namespace

SaveStream::SaveStream(const QString &path)
    : m_path(path)
    , m_original(TagFileName(path), true)
    , m_originalLength(m_original.isOpen() ? m_original.length() : 0)
{
    if (m_originalLength > 0)
        m_pieces.push_back({0, m_originalLength, QByteArray()});
    m_length = m_originalLength;
}

SaveStream::~SaveStream() = default;

TagLib::FileName SaveStream::name() const
{
    return m_original.name();
}

bool SaveStream::readOnly() const
{
    return !m_original.isOpen();
}

bool SaveStream::isOpen() const
{
    return m_original.isOpen();
}

void SaveStream::clear() {}

long SaveStream::tell() const
{
    return long(m_position);
}

long SaveStream::length()
{
    return long(m_length);
}

void SaveStream::seek(long offset, Position p)
{
    switch (p) {
    case Beginning:
        m_position = offset;
        break;
    case Current:
        m_position += offset;
        break;
    case End:
        m_position = m_length + offset;
        break;
    }
    m_position = std::max<qint64>(0, m_position);
}

// The index of the piece that starts at position, splitting one if needed;
// m_pieces.size() at the end.
size_t SaveStream::splitAt(qint64 position)
{
    qint64 start = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        Piece &piece = m_pieces[i];
        if (position == start)
            return i;
        if (position < start + piece.size) {
            const qint64 head = position - start;
            Piece tail = piece;
            tail.size = piece.size - head;
            if (piece.from >= 0)
                tail.from = piece.from + head;
            else
                tail.bytes = piece.bytes.mid(int(head));
            piece.size = head;
            if (piece.from < 0)
                piece.bytes.truncate(int(head));
            m_pieces.insert(m_pieces.begin() + long(i) + 1, tail);
            return i + 1;
        }
        start += piece.size;
    }
    return m_pieces.size();
}

void SaveStream::replace(qint64 start, qint64 count, const QByteArray &bytes)
{
    start = std::min(start, m_length);
    count = std::min(count, m_length - start);
    const size_t first = splitAt(start);
    const size_t last = splitAt(start + count);
    m_pieces.erase(m_pieces.begin() + long(first), m_pieces.begin() + long(last));
    if (!bytes.isEmpty())
        m_pieces.insert(m_pieces.begin() + long(first), Piece{-1, bytes.size(), bytes});
    m_length += bytes.size() - count;
}

QByteArray SaveStream::read(qint64 position, qint64 count)
{
    QByteArray out;
    qint64 start = 0;
    for (const Piece &piece : m_pieces) {
        const qint64 end = start + piece.size;
        if (end > position && start < position + count) {
            const qint64 from = std::max(position, start) - start;
            const qint64 size = std::min(position + count, end) - start - from;
            if (piece.from < 0) {
                out += piece.bytes.mid(int(from), int(size));
            } else {
                m_original.seek(long(piece.from + from));
                out += toBytes(m_original.readBlock(static_cast<unsigned long>(size)));
            }
        }
        start = end;
        if (start >= position + count)
            break;
    }
    return out;
}

TagLib::ByteVector SaveStream::readBlock(unsigned long length)
{
    const QByteArray bytes = read(m_position, qint64(length));
    m_position += bytes.size();
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

void SaveStream::writeBlock(const TagLib::ByteVector &data)
{
    replace(m_position, qint64(data.size()), toBytes(data));
    m_position += data.size();
}

void SaveStream::insert(const TagLib::ByteVector &data, unsigned long start, unsigned long replaced)
{
    replace(qint64(start), qint64(replaced), toBytes(data));
    m_position = qint64(start) + data.size();
}

void SaveStream::removeBlock(unsigned long start, unsigned long length)
{
    replace(qint64(start), qint64(length), QByteArray());
    m_position = qint64(start);
}

void SaveStream::truncate(long length)
{
    if (length < m_length)
        replace(length, m_length - length, QByteArray());
    else if (length > m_length)
        replace(m_length, 0, QByteArray(int(length - m_length), '\0'));
}

bool SaveStream::changesLength() const
{
    // A tag added at the end (MP3's ID3v1 copy) moves nothing: it is written
    // like any other run, in one call.
    if (m_length < m_originalLength)
        return true;
    // Old bytes that moved are a shift, even when the length came back.
    qint64 start = 0;
    for (const Piece &piece : m_pieces) {
        if (piece.from >= 0 && piece.from != start)
            return true;
        start += piece.size;
    }
    return false;
}

TagWriteError SaveStream::commit(const std::function<bool(const QString &)> &verify)
{
    if (!QFileInfo(m_path).isFile())
        return TagWriteError::FileMissing;
    return changesLength() ? writeBeside(verify) : writeInPlace(verify);
}

TagWriteError SaveStream::writeInPlace(const std::function<bool(const QString &)> &verify)
{
    // Runs of new bytes, neighbours joined, each written in one call; bytes
    // the save wrote as they were are left alone.
    std::vector<SafeFile::Run> runs;
    qint64 start = 0;
    for (const Piece &piece : m_pieces) {
        if (piece.from < 0) {
            if (!runs.empty() && runs.back().offset + runs.back().bytes.size() == start)
                runs.back().bytes += piece.bytes;
            else
                runs.push_back({start, piece.bytes});
        }
        start += piece.size;
    }
    std::vector<SafeFile::Run> old;
    std::vector<SafeFile::Run> changed;
    for (const SafeFile::Run &run : runs) {
        m_original.seek(long(run.offset));
        const QByteArray before = toBytes(m_original.readBlock(static_cast<unsigned long>(run.bytes.size())));
        if (before != run.bytes) {
            changed.push_back(run);
            old.push_back({run.offset, before});
        }
    }
    if (changed.empty())
        return TagWriteError::None;

    if (const TagWriteError error = SafeFile::overwrite(m_path, changed); error != TagWriteError::None)
        return error;
    if (verify(m_path))
        return TagWriteError::None;
    // What was written does not read back as saved: the old bytes go back,
    // and what was added at the end goes.
    SafeFile::overwrite(m_path, old);
    if (m_length > m_originalLength)
        QFile::resize(m_path, m_originalLength);
    return TagWriteError::NotVerified;
}

TagWriteError SaveStream::writeBeside(const std::function<bool(const QString &)> &verify)
{
    SafeFile::Replacement replacement(m_path);
    if (const TagWriteError error = replacement.open(); error != TagWriteError::None)
        return error;
    for (qint64 position = 0; position < m_length; position += kChunk) {
        const QByteArray bytes = read(position, std::min(kChunk, m_length - position));
        if (bytes.size() != std::min(kChunk, m_length - position))
            return TagWriteError::SaveFailed;
        if (const TagWriteError error = replacement.write(bytes); error != TagWriteError::None)
            return error;
    }
    if (const TagWriteError error = replacement.finish(); error != TagWriteError::None)
        return error;
    if (!verify(replacement.path()))
        return TagWriteError::NotVerified;
    return replacement.replaceTarget();
}
