#include "tags/mp4/mp4tags.h"

#include "tags/mp4/mp4layout.h"
#include "tags/tagfilename.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QtMath>

#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>

#include <algorithm>
#include <limits>
#include <optional>

namespace Mp4Tags {

namespace {

using TagLib::MP4::Item;

enum class ItemKind {
    Text,
    Freeform,  // "----:mean:name"
    Tempo,     // a 16-bit integer
    TrackPair, // track number and total
    Year,      // text
};

ItemKind kindOf(const QString &name)
{
    if (name.startsWith(QLatin1String("----:")))
        return ItemKind::Freeform;
    if (name == QLatin1String("tmpo"))
        return ItemKind::Tempo;
    if (name == QLatin1String("trkn"))
        return ItemKind::TrackPair;
    if (name == QLatin1String("\xa9" "day"))
        return ItemKind::Year;
    return ItemKind::Text;
}

// TagLib keys items by their atom type's bytes read as Latin-1: the copyright
// sign that starts "\xa9nam" is the one byte 0xA9, which UTF-8 would make two.
TagLib::String atomKey(const QString &name)
{
    return TagLib::String(name.toLatin1().constData(), TagLib::String::Latin1);
}

QString joined(const Item &item)
{
    QStringList values;
    for (const TagLib::String &value : item.toStringList())
        values << TagStrings::fromTag(value);
    // A freeform item stored with another type than UTF-8 holds bytes.
    if (values.isEmpty()) {
        for (const TagLib::ByteVector &value : item.toByteVectorList())
            values << QString::fromUtf8(value.data(), int(value.size()));
    }
    return values.join(QStringLiteral("; "));
}

QString shown(Field field, const QString &name, const Item &item)
{
    switch (kindOf(name)) {
    case ItemKind::Tempo:
        return QString::number(item.toInt());
    case ItemKind::TrackPair: {
        const TagLib::MP4::Item::IntPair pair = item.toIntPair();
        const QString track = QString::number(pair.first);
        return Fields::shownNumber(field, pair.second > 0 ? track + QLatin1Char('/') + QString::number(pair.second)
                                                          : track);
    }
    case ItemKind::Year:
        return Fields::shownNumber(field, joined(item));
    case ItemKind::Text:
    case ItemKind::Freeform:
        break;
    }
    return joined(item);
}

// "n/total" as the pair; a track typed without a total stores none.
Item trackPair(const QString &track)
{
    const int slash = track.indexOf(QLatin1Char('/'));
    return Item(track.left(slash).toInt(), slash < 0 ? 0 : track.mid(slash + 1).toInt());
}

// The atom holds a signed 16-bit integer, so a typed "128.5" or "128,5" is
// rounded; anything else that is no tempo stores none.
std::optional<int> wholeTempo(const QString &typed)
{
    QString text = typed.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double bpm = text.toDouble(&ok);
    if (!ok || !qIsFinite(bpm) || bpm < 0 || bpm > 32767)
        return std::nullopt;
    return qRound(bpm);
}

// How many values TagLib holds for an item: a number or flag is one.
int valueCount(const Item &item)
{
    const unsigned int lists = std::max({item.toStringList().size(), item.toByteVectorList().size(),
                                         item.toCoverArtList().size()});
    return std::max(1, int(lists));
}

bool allOfOneType(const QVector<Mp4Layout::Value> &values)
{
    return std::all_of(values.cbegin(), values.cend(),
                       [&](const Mp4Layout::Value &value) { return value.type == values.first().type; });
}

// The widest value, in bytes, of the items TagLib keeps as numbers or flags:
// of a wider one it reads only the first bytes ("tmpo" as 00 00 00 80 is 0).
int numberWidth(const QString &key)
{
    static const QHash<QString, int> widths = {
        {QStringLiteral("tmpo"), 2}, {QStringLiteral("\u00a9mvi"), 2}, {QStringLiteral("\u00a9mvc"), 2},
        {QStringLiteral("tvsn"), 4}, {QStringLiteral("tves"), 4}, {QStringLiteral("cnID"), 4},
        {QStringLiteral("sfID"), 4}, {QStringLiteral("atID"), 4}, {QStringLiteral("geID"), 4},
        {QStringLiteral("cmID"), 4}, {QStringLiteral("plID"), 8}, {QStringLiteral("stik"), 1},
        {QStringLiteral("rtng"), 1}, {QStringLiteral("akID"), 1}, {QStringLiteral("cpil"), 1},
        {QStringLiteral("pgap"), 1}, {QStringLiteral("pcst"), 1}, {QStringLiteral("hdvd"), 1},
        {QStringLiteral("shwm"), 1},
    };
    return widths.value(key, std::numeric_limits<int>::max());
}

// Whether TagLib's items hold everything the file's items do, as a save
// writes back only what they hold. TagLib 1.13 keeps only the first of two
// items with one key (it does not merge them); drops items and values it has
// no type for (text that is not UTF-8, pictures of other formats, anything
// behind a child that is no "data" atom); reads numbers at fixed widths; gives
// all of a freeform item's values the first one's type; and files a "gnre"
// genre number as genre text.
bool readWhole(const QList<Mp4Layout::Item> &items, const TagLib::MP4::ItemMap &held)
{
    QSet<QString> seen;
    for (const Mp4Layout::Item &raw : items) {
        // An item without values holds nothing to lose.
        if (raw.values.isEmpty())
            continue;
        const QString key = raw.key == QLatin1String("gnre") ? QStringLiteral("\u00a9gen") : raw.key;
        if (seen.contains(key))
            return false;
        seen.insert(key);
        // The file's own keys may hold any character, so they are matched as Unicode.
        const TagLib::String tagKey = TagStrings::toTag(key);
        if (!held.contains(tagKey) || valueCount(held[tagKey]) < raw.values.size())
            return false;
        if (kindOf(key) == ItemKind::Freeform && !allOfOneType(raw.values))
            return false;
        const int width = numberWidth(key);
        for (const Mp4Layout::Value &value : raw.values) {
            if (value.size > width)
                return false;
        }
    }
    return true;
}

class Mp4Family : public TagFamily
{
public:
    Mp4Family(const QString &path, std::unique_ptr<TagLib::MP4::File> file)
        : m_path(path)
        , m_file(std::move(file))
    {
    }

    QString text(Field field) const override
    {
        for (const QString &name : Fields::of(field).mp4) {
            const TagLib::String key = atomKey(name);
            if (tag()->contains(key))
                return shown(field, name, tag()->item(key));
        }
        return Fields::absent(field);
    }

    void setText(Field field, const QString &value) override
    {
        const std::optional<QString> text = Fields::storedText(field, value);
        if (!text)
            return;
        const QStringList &names = Fields::of(field).mp4;
        for (int i = 0; i < names.size(); ++i) {
            const TagLib::String key = atomKey(names.at(i));
            // Only the first name is added; the others are kept in step where present.
            if (i > 0 && !tag()->contains(key))
                continue;
            const std::optional<Item> item = stored(names.at(i), *text);
            if (item)
                tag()->setItem(key, *item);
            else
                tag()->removeItem(key);
        }
    }

    bool hasPicture() const override { return !pictures().isEmpty(); }

    QByteArray picture() const override
    {
        const TagLib::MP4::CoverArtList covers = pictures();
        if (covers.isEmpty())
            return QByteArray();
        const TagLib::ByteVector bytes = covers.front().data();
        return QByteArray(bytes.data(), int(bytes.size()));
    }

    void setPicture(const CoverImage::Encoded &cover) override
    {
        if (cover.bytes.isEmpty()) {
            tag()->removeItem(kCover);
            return;
        }
        const auto type = cover.format == CoverImage::Format::Png ? TagLib::MP4::CoverArt::PNG
                                                                  : TagLib::MP4::CoverArt::JPEG;
        TagLib::MP4::CoverArtList covers;
        covers.append(
            TagLib::MP4::CoverArt(type, TagLib::ByteVector(cover.bytes.constData(), uint(cover.bytes.size()))));
        tag()->setItem(kCover, covers);
    }

    TagWriteResult removeDjData(const SavingOptions &options) override
    {
        const TagWriteError refusal = damage();
        if (refusal != TagWriteError::None)
            return {refusal};
        TagLib::StringList serato;
        for (const auto &entry : tag()->itemMap()) {
            if (entry.first.startsWith("----:com.serato.dj:"))
                serato.append(entry.first);
        }
        if (serato.isEmpty())
            return {};
        for (const TagLib::String &key : serato)
            tag()->removeItem(key);
        return {save(options)};
    }

    TagWriteError damage() override
    {
        if (!m_file->isValid())
            return TagWriteError::DamagedTags;
        QFile raw(m_path);
        // The walk reads headers far apart: a buffer would be filled for each.
        if (!raw.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return raw.exists() ? TagWriteError::SaveFailed : TagWriteError::FileMissing;
        const Mp4Layout::Layout layout = Mp4Layout::scan(raw);
        if (!layout.intact)
            return TagWriteError::DamagedTags;
        return readWhole(layout.items, tag()->itemMap()) ? TagWriteError::None : TagWriteError::IncompleteTag;
    }

    // The options are ID3's; MP4 files have one kind of tag.
    TagWriteError save(const SavingOptions &) override
    {
        return m_file->save() ? TagWriteError::None : TagWriteError::SaveFailed;
    }

private:
    static constexpr const char *kCover = "covr";

    TagLib::MP4::Tag *tag() const { return m_file->tag(); }

    TagLib::MP4::CoverArtList pictures() const
    {
        return tag()->contains(kCover) ? tag()->item(kCover).toCoverArtList() : TagLib::MP4::CoverArtList();
    }

    // What the item becomes, or none to remove it.
    static std::optional<Item> stored(const QString &name, const QString &value)
    {
        if (value.isEmpty())
            return std::nullopt;
        switch (kindOf(name)) {
        case ItemKind::Tempo: {
            const std::optional<int> bpm = wholeTempo(value);
            return bpm ? std::optional<Item>(Item(*bpm)) : std::nullopt;
        }
        case ItemKind::TrackPair:
            return trackPair(value);
        case ItemKind::Freeform: {
            Item item(TagLib::StringList(TagStrings::toTag(value)));
            item.setAtomDataType(TagLib::MP4::TypeUTF8);
            return item;
        }
        case ItemKind::Year:
        case ItemKind::Text:
            break;
        }
        return Item(TagLib::StringList(TagStrings::toTag(value)));
    }

    QString m_path;
    std::unique_ptr<TagLib::MP4::File> m_file;
};

} // namespace

std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, TagFamily::Purpose purpose,
                                TagLib::IOStream *stream)
{
    Q_ASSERT(format == AudioFormat::Mp4);
    Q_UNUSED(format)
    // Saving rewrites atoms only, so no purpose needs the audio properties.
    Q_UNUSED(purpose)
    auto file = std::make_unique<TagLib::MP4::File>(stream, false);
    if (!file->isOpen() || !file->isValid() || !file->tag())
        return nullptr;
    return std::make_unique<Mp4Family>(path, std::move(file));
}

} // namespace Mp4Tags
