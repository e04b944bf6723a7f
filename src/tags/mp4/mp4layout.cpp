#include "tags/mp4/mp4layout.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace Mp4Layout {

namespace {

constexpr qint64 kHeaderSize = 8;
constexpr qint64 kLongHeaderSize = 16; // with a 64-bit size
constexpr qint64 kVersionAndFlags = 4; // before a meta's children, a mean's or name's text
constexpr qint64 kDataFields = 8;      // a data atom's type and locale
// Some writers end udta or meta with a few zero bytes, too few for an atom.
constexpr qint64 kMaxPadding = 7;
// Far deeper than any real file nests; keeps a crafted one from exhausting the stack.
constexpr int kMaxDepth = 32;

struct Atom
{
    qint64 offset = 0;
    qint64 headerSize = kHeaderSize;
    qint64 size = 0;
    QByteArray type;

    qint64 body() const { return offset + headerSize; }
    qint64 end() const { return offset + size; }
};

enum class Ending {
    Exact,     // the children fill their parent
    MayPad,    // a few zero bytes may follow them
    ToFileEnd, // the last may say size 0: it runs to the end of the file
};

bool isContainer(const QByteArray &type)
{
    static const QByteArray containers[] = {"moov", "trak", "mdia", "minf", "stbl", "edts", "udta", "meta", "ilst"};
    return std::find(std::begin(containers), std::end(containers), type) != std::end(containers);
}

// The child TagLib goes to next on its way to the metadata items.
QByteArray nextOnTagPath(const QByteArray &type)
{
    if (type == "moov")
        return QByteArrayLiteral("udta");
    if (type == "udta")
        return QByteArrayLiteral("meta");
    if (type == "meta")
        return QByteArrayLiteral("ilst");
    return QByteArray();
}

class Walker
{
public:
    explicit Walker(QIODevice &device)
        : m_device(device)
    {
    }

    Layout scan()
    {
        Layout layout;
        const std::optional<QList<Atom>> top = children(0, m_device.size(), Ending::ToFileEnd);
        if (!top)
            return layout;
        bool moovSeen = false;
        for (const Atom &atom : *top) {
            if (atom.type != "moov")
                continue;
            // TagLib reads the first moov only.
            if (!walk(atom, !moovSeen, 0))
                return layout;
            moovSeen = true;
        }
        layout.intact = true;
        layout.items = m_items;
        return layout;
    }

private:
    // Atom headers lie close together inside moov: one read serves many.
    QByteArray read(qint64 at, qint64 count) const
    {
        if (at < m_cacheStart || at + count > m_cacheStart + m_cache.size()) {
            if (!m_device.seek(at))
                return QByteArray();
            m_cache = m_device.read(std::max<qint64>(count, kReadAhead));
            m_cacheStart = at;
        }
        return m_cache.mid(int(at - m_cacheStart), int(count));
    }

    bool allZero(qint64 at, qint64 count) const
    {
        const QByteArray bytes = read(at, count);
        return bytes.size() == count && bytes.count('\0') == count;
    }

    std::optional<Atom> header(qint64 at, qint64 end, bool mayRunToEnd) const
    {
        if (end - at < kHeaderSize)
            return std::nullopt;
        const QByteArray bytes = read(at, kHeaderSize);
        if (bytes.size() != kHeaderSize)
            return std::nullopt;
        Atom atom;
        atom.offset = at;
        atom.type = bytes.mid(4, 4);
        quint64 size = qFromBigEndian<quint32>(bytes.constData());
        if (size == 1) {
            const QByteArray wide = read(at + kHeaderSize, kLongHeaderSize - kHeaderSize);
            if (end - at < kLongHeaderSize || wide.size() != kLongHeaderSize - kHeaderSize)
                return std::nullopt;
            size = qFromBigEndian<quint64>(wide.constData());
            atom.headerSize = kLongHeaderSize;
        } else if (size == 0) {
            if (!mayRunToEnd)
                return std::nullopt;
            size = quint64(end - at);
        }
        if (size < quint64(atom.headerSize) || size > quint64(end - at))
            return std::nullopt;
        atom.size = qint64(size);
        return atom;
    }

    std::optional<QList<Atom>> children(qint64 start, qint64 end, Ending ending) const
    {
        QList<Atom> atoms;
        qint64 at = start;
        while (at < end) {
            if (ending == Ending::MayPad && end - at <= kMaxPadding && allZero(at, end - at))
                break;
            const std::optional<Atom> atom = header(at, end, ending == Ending::ToFileEnd);
            if (!atom)
                return std::nullopt;
            atoms << *atom;
            at = atom->end();
        }
        return atoms;
    }

    bool walk(const Atom &atom, bool onTagPath, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        if (atom.type == "ilst")
            return walkItems(atom, onTagPath);
        const bool isMeta = atom.type == "meta";
        const qint64 start = atom.body() + (isMeta ? kVersionAndFlags : 0);
        if (start > atom.end())
            return false;
        const bool mayPad = isMeta || atom.type == "udta";
        const std::optional<QList<Atom>> kids = children(start, atom.end(), mayPad ? Ending::MayPad : Ending::Exact);
        if (!kids)
            return false;
        const QByteArray next = onTagPath ? nextOnTagPath(atom.type) : QByteArray();
        bool nextTaken = false;
        for (const Atom &kid : *kids) {
            if (!isContainer(kid.type))
                continue;
            // Like TagLib, follow the first child of the name.
            const bool onPath = !next.isEmpty() && !nextTaken && kid.type == next;
            nextTaken = nextTaken || onPath;
            if (!walk(kid, onPath, depth + 1))
                return false;
        }
        return true;
    }

    bool walkItems(const Atom &ilst, bool keep)
    {
        const std::optional<QList<Atom>> atoms = children(ilst.body(), ilst.end(), Ending::Exact);
        if (!atoms)
            return false;
        for (const Atom &atom : *atoms) {
            const std::optional<Item> found = item(atom);
            if (!found)
                return false;
            if (keep)
                m_items << *found;
        }
        return true;
    }

    std::optional<Item> item(const Atom &atom) const
    {
        const std::optional<QList<Atom>> kids = children(atom.body(), atom.end(), Ending::Exact);
        if (!kids)
            return std::nullopt;
        for (const Atom &kid : *kids) {
            const bool isText = kid.type == "mean" || kid.type == "name";
            if ((kid.type == "data" && kid.size < kid.headerSize + kDataFields)
                || (isText && kid.size < kid.headerSize + kVersionAndFlags))
                return std::nullopt;
        }
        Item item;
        item.key = QString::fromLatin1(atom.type);
        int firstValue = 0;
        if (atom.type == "----" && kids->size() >= 2 && kids->at(0).type == "mean" && kids->at(1).type == "name") {
            item.key += QLatin1Char(':') + text(kids->at(0)) + QLatin1Char(':') + text(kids->at(1));
            firstValue = 2;
        }
        for (int i = firstValue; i < kids->size(); ++i)
            item.values << value(kids->at(i));
        return item;
    }

    QString text(const Atom &atom) const
    {
        const qint64 start = atom.body() + kVersionAndFlags;
        return QString::fromUtf8(read(start, atom.end() - start));
    }

    // TagLib reads values with 32-bit sizes only.
    Value value(const Atom &atom) const
    {
        Value value;
        if (atom.type != "data" || atom.headerSize != kHeaderSize)
            return value;
        const QByteArray type = read(atom.body(), 4);
        if (type.size() == 4)
            value.type = qFromBigEndian<quint32>(type.constData());
        value.size = atom.size - kHeaderSize - kDataFields;
        return value;
    }

    static constexpr qint64 kReadAhead = 64 * 1024;

    QIODevice &m_device;
    mutable QByteArray m_cache;
    mutable qint64 m_cacheStart = 0;
    QList<Item> m_items;
};

} // namespace

Layout scan(QIODevice &device)
{
    return Walker(device).scan();
}

} // namespace Mp4Layout
