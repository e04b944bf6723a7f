#pragma once

#include <QList>
#include <QString>
#include <QVector>

class QIODevice;

// The atoms of an MP4 file as they lie on disk, walked without TagLib. A save
// rewrites the metadata atoms and the sizes of their parents, so it may only
// happen when every size adds up; the metadata items found are what TagLib's
// reading of them is checked against.
namespace Mp4Layout {

// The type of an item's child that is no "data" atom (TagLib stops reading
// the item there).
constexpr quint32 kNotData = 0xffffffff;

// One child of an item after a freeform item's "mean" and "name".
struct Value
{
    quint32 type = kNotData; // the type field of a "data" atom
    qint64 size = 0;         // the bytes after type and locale
};

struct Item
{
    // The atom type read as Latin-1 ("\xa9nam"), or "----:mean:name" for a
    // freeform item whose "mean" and "name" come first, as TagLib names them.
    QString key;
    QVector<Value> values;
};

struct Layout
{
    bool intact = false; // every size adds up
    QList<Item> items;   // of the first moov.udta.meta.ilst, in file order
};

// device: the whole file, open for reading.
Layout scan(QIODevice &device);

} // namespace Mp4Layout
