#include "tags/id3/id3tags.h"

#include "tags/id3/riffchunks.h"
#include "tags/id3/tagintegrity.h"
#include "tags/id3/tagsaving.h"
#include "tags/tagfilename.h"
#include "tags/textencoding.h"

#include <QList>

#include <optional>

#include <taglib/aifffile.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/wavfile.h>

namespace Id3Tags {

namespace {

using TagStrings::fromTag;
using TagStrings::toTag;

// Text fields that other software stores in the tag's own form come back as
// they are; UTF-8 stored as Latin-1 (by older writers) is repaired.
QString fromGenericTag(const TagLib::String &text)
{
    return TextEncoding::repairDoubleEncodedUtf8(fromTag(text));
}

// The text fields TagLib's format-neutral tag reads, as it reads them.
QString genericText(const TagLib::Tag &tag, Field field)
{
    switch (field) {
    case Field::Title: return fromGenericTag(tag.title());
    case Field::Artist: return fromGenericTag(tag.artist());
    case Field::Album: return fromGenericTag(tag.album());
    case Field::Comment: return fromGenericTag(tag.comment());
    case Field::Genre: return fromGenericTag(tag.genre());
    default: break;
    }
    Q_UNREACHABLE();
    return QString();
}

void setGenericText(TagLib::Tag &tag, Field field, const QString &value)
{
    const TagLib::String text = toTag(value);
    switch (field) {
    case Field::Title: tag.setTitle(text); break;
    case Field::Artist: tag.setArtist(text); break;
    case Field::Album: tag.setAlbum(text); break;
    case Field::Comment: tag.setComment(text); break;
    case Field::Genre: tag.setGenre(text); break;
    default: Q_UNREACHABLE();
    }
}

// APE's own keys for a year and a track.
const char *apeKey(Field field)
{
    return field == Field::Year ? "YEAR" : "TRACK";
}

bool isNumber(Field field)
{
    return Fields::of(field).shape == Fields::Shape::Number;
}

bool isGeneric(Field field)
{
    return Fields::of(field).shape != Fields::Shape::Extra;
}

// ID3v2 in an MPEG stream, or in an AIFF or WAV chunk: the same frames, and
// the same rules for what the program owns in them.
class Id3File : public TagFamily
{
public:
    Id3File(const QString &path, AudioFormat format, Purpose purpose, TagLib::IOStream *stream)
    {
        Q_UNUSED(purpose)
        // Content sniffing found MPEG frames before the file got here, so no
        // purpose needs the audio properties.
        const bool properties = false;
        switch (format) {
        case AudioFormat::Mpeg:
            m_mpeg = new TagLib::MPEG::File(stream, TagLib::ID3v2::FrameFactory::instance(), properties,
                                            TagLib::AudioProperties::Average);
            m_file.reset(m_mpeg);
            m_readState = completeTag(*m_mpeg);
            break;
        case AudioFormat::Aiff:
            m_aiff = new TagLib::RIFF::AIFF::File(stream, properties);
            m_file.reset(m_aiff);
            completeChunk(path, m_aiff->hasID3v2Tag());
            break;
        case AudioFormat::Wav:
            m_wav = new TagLib::RIFF::WAV::File(stream, properties);
            m_file.reset(m_wav);
            completeChunk(path, m_wav->hasID3v2Tag());
            break;
        default:
            Q_UNREACHABLE();
        }
    }

    bool isOpen() const { return m_file->isOpen(); }

    QString text(Field field) const override
    {
        if (!isGeneric(field))
            return frameText(Fields::of(field).id3);
        if (isNumber(field))
            return numberText(field);
        QString value = field == Field::Comment ? comment() : genericText(*generic(), field);
        // A WAV file's INFO list speaks for the fields its ID3 tag lacks.
        if (m_wav && (value.isEmpty() || value == QLatin1String("0")) && m_wav->hasInfoTag())
            value = genericText(*m_wav->InfoTag(), field);
        return value;
    }

    void setText(Field field, const QString &value) override
    {
        if (!isGeneric(field)) {
            setFrameText(Fields::of(field).id3, value);
            return;
        }
        if (isNumber(field)) {
            setNumber(field, value);
            return;
        }
        // As TagLib's format-neutral setter would, the file's other tags
        // (ID3v1, APE, WAV's INFO) follow the generic fields.
        for (TagLib::Tag *other : otherTags())
            setGenericText(*other, field, value);
        if (m_wav && m_wav->hasInfoTag())
            m_infoChanged = true;

        TagLib::ID3v2::Tag *tag = id3v2();
        const char *id = Fields::of(field).id3;
        if (field == Field::Comment)
            TagSaving::replacePlainComment(tag, toTag(value));
        else
            TagSaving::replaceTextFrame(tag, id, toTag(value));
    }

    bool hasPicture() const override { return !pictures().isEmpty(); }

    QByteArray picture() const override
    {
        const TagLib::ID3v2::FrameList &frames = pictures();
        if (frames.isEmpty())
            return QByteArray();
        const auto *picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(frames.front());
        if (!picture)
            return QByteArray();
        const TagLib::ByteVector data = picture->picture();
        return QByteArray(data.data(), int(data.size()));
    }

    void setPicture(const CoverImage::Encoded &cover) override
    {
        TagLib::ID3v2::Tag *tag = id3v2();
        tag->removeFrames("APIC");
        if (cover.bytes.isEmpty())
            return;
        // The default constructor: the one taking bytes parses them as a frame.
        auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setMimeType(CoverImage::mimeType(cover.format));
        frame->setPicture(TagLib::ByteVector(cover.bytes.constData(), uint(cover.bytes.size())));
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        tag->addFrame(frame);
    }

    TagWriteResult removeDjData(const SavingOptions &options) override;

    TagWriteError damage() override
    {
        if (m_mpeg && !isWritableMpeg())
            return TagWriteError::NotAudio;
        if (!m_mpeg && (!m_chunksWhole || !m_file->isValid()))
            return TagWriteError::DamagedTags;
        return m_readState == TagReadState::Partial ? TagWriteError::IncompleteTag : TagWriteError::None;
    }

    TagWriteError save(const SavingOptions &options) override
    {
        if (m_mpeg)
            return TagSaving::saveTags(*m_mpeg, TagSaving::Scope::AllTags, options);
        const bool hadTag = m_aiff ? m_aiff->hasID3v2Tag() : m_wav->hasID3v2Tag();
        const TagLib::ID3v2::Version version = TagSaving::id3v2Version(options);
        if (const TagWriteError refusal = TagSaving::prepareId3v2(id3v2(), hadTag, version);
            refusal != TagWriteError::None)
            return refusal;
        bool saved = false;
        if (m_aiff) {
            saved = m_aiff->save(version);
        } else {
            // INFO is rendered again only when it changed: TagLib would write
            // it back in its own way.
            const auto tags = m_infoChanged ? TagLib::RIFF::WAV::File::AllTags : TagLib::RIFF::WAV::File::ID3v2;
            saved = m_wav->save(tags, TagLib::File::StripNone, version);
        }
        return saved ? TagWriteError::None : TagWriteError::SaveFailed;
    }

private:
    // TagLib reads a tag inside an AIFF or WAV chunk only as far as it makes
    // sense of it; the check that covers MP3 tags covers these too.
    void completeChunk(const QString &path, bool hasTag)
    {
        const RiffChunks::Layout layout = RiffChunks::walk(path);
        m_chunksWhole = layout.whole;
        const qint64 offset = RiffChunks::id3ChunkOffset(layout);
        if (hasTag && offset >= 0 && m_file->isValid())
            m_readState = completeTag(*m_file, id3v2(), long(offset));
    }

    // TagLib provides an ID3v2 tag for every AIFF and WAV file, and for an
    // MPEG file when asked to create one (in memory until saved).
    TagLib::ID3v2::Tag *id3v2() const
    {
        if (m_mpeg)
            return m_mpeg->ID3v2Tag(true);
        return m_aiff ? m_aiff->tag() : m_wav->ID3v2Tag();
    }

    // MPEG's tag is the union of ID3v2, APE and ID3v1, each filling what the
    // one before lacks.
    const TagLib::Tag *generic() const
    {
        if (m_mpeg)
            return m_mpeg->tag();
        return id3v2();
    }

    QList<TagLib::Tag *> otherTags() const
    {
        QList<TagLib::Tag *> others;
        if (m_mpeg) {
            others << m_mpeg->ID3v1Tag(true);
            if (TagLib::APE::Tag *ape = m_mpeg->APETag(false))
                others << ape;
        }
        if (m_wav && m_wav->hasInfoTag())
            others << m_wav->InfoTag();
        return others;
    }

    // A year or a track as the first tag holding one has it.
    QString numberText(Field field) const
    {
        for (const QString &stored : storedNumbers(field)) {
            const QString shown = Fields::shownNumber(field, stored);
            if (shown != Fields::absent(field))
                return shown;
        }
        return Fields::absent(field);
    }

    // In the order TagLib's format-neutral tag reads them: ID3v2, then APE
    // and ID3v1 in MPEG, or the INFO list in WAV.
    QStringList storedNumbers(Field field) const
    {
        const Fields::Names &names = Fields::of(field);
        QStringList stored;
        if (!m_mpeg || m_mpeg->hasID3v2Tag())
            stored << TagSaving::firstText(id3v2(), names.id3);
        if (m_mpeg) {
            if (const TagLib::APE::Tag *ape = m_mpeg->APETag(false)) {
                const TagLib::APE::ItemListMap &items = ape->itemListMap();
                const auto found = items.find(apeKey(field));
                if (found != items.end())
                    stored << fromTag(found->second.toString());
            }
            if (const TagLib::ID3v1::Tag *v1 = m_mpeg->hasID3v1Tag() ? m_mpeg->ID3v1Tag() : nullptr)
                stored << QString::number(field == Field::Year ? v1->year() : v1->track());
        }
        if (m_wav && m_wav->hasInfoTag())
            stored << fromTag(m_wav->InfoTag()->fieldText(names.riffInfo));
        return stored;
    }

    // Stored as typed in every tag that takes text, and as its number in
    // ID3v1; a text in no form the field holds leaves every tag as it was.
    void setNumber(Field field, const QString &value)
    {
        const std::optional<QString> stored = Fields::storedText(field, value);
        if (!stored)
            return;
        const Fields::Names &names = Fields::of(field);
        if (field == Field::Year)
            TagSaving::replaceYear(id3v2(), *stored);
        else
            TagSaving::replaceTextFrame(id3v2(), names.id3, toTag(*stored));
        if (m_mpeg) {
            const uint number = uint(qMax(0, Fields::leadingNumber(*stored)));
            TagLib::ID3v1::Tag *v1 = m_mpeg->ID3v1Tag(true);
            if (field == Field::Year)
                v1->setYear(number);
            else
                v1->setTrack(number);
            if (TagLib::APE::Tag *ape = m_mpeg->APETag(false)) {
                if (stored->isEmpty())
                    ape->removeItem(apeKey(field));
                else
                    ape->addValue(apeKey(field), toTag(*stored));
            }
        }
        if (m_wav && m_wav->hasInfoTag()) {
            m_wav->InfoTag()->setFieldText(names.riffInfo, toTag(*stored));
            m_infoChanged = true;
        }
    }

    QString frameText(const char *id) const
    {
        if (m_mpeg && !m_mpeg->hasID3v2Tag())
            return Fields::absent(Field::Bpm);
        const TagLib::ID3v2::FrameList &frames = id3v2()->frameListMap()[id];
        return frames.isEmpty() ? Fields::absent(Field::Bpm) : fromTag(frames.front()->toString());
    }

    void setFrameText(const char *id, const QString &value)
    {
        TagLib::ID3v2::Tag *tag = id3v2();
        tag->removeFrames(id);
        auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::Latin1);
        frame->setText(toTag(value));
        tag->addFrame(frame);
    }

    // The Comment column is the plain, description-less comment. TagLib's
    // generic comment falls back to any comment frame, which would show (and,
    // once edited, store) another program's data such as gapless-playback
    // values.
    QString comment() const
    {
        const bool hasTag = !m_mpeg || m_mpeg->hasID3v2Tag();
        if (hasTag && !id3v2()->frameList("COMM").isEmpty()) {
            const auto *plain = TagSaving::plainComment(id3v2());
            return plain ? fromGenericTag(plain->toString()) : QString();
        }
        return genericText(*generic(), Field::Comment);
    }

    const TagLib::ID3v2::FrameList &pictures() const
    {
        static const TagLib::ID3v2::FrameList none;
        if (m_mpeg && !m_mpeg->hasID3v2Tag())
            return none;
        return id3v2()->frameList("APIC");
    }

    // TagLib happily "opens" any file as MPEG; content sniffing, which
    // found two MPEG frames in a row, decided that this one is.
    bool isWritableMpeg() const { return m_mpeg->isOpen() && m_mpeg->isValid() && !m_mpeg->readOnly(); }

    std::unique_ptr<TagLib::File> m_file;
    TagLib::MPEG::File *m_mpeg = nullptr;
    TagLib::RIFF::AIFF::File *m_aiff = nullptr;
    TagLib::RIFF::WAV::File *m_wav = nullptr;
    TagReadState m_readState = TagReadState::Complete;
    bool m_chunksWhole = true;
    bool m_infoChanged = false;
};

TagWriteResult Id3File::removeDjData(const SavingOptions &options)
{
    if (const TagWriteError refusal = damage(); refusal != TagWriteError::None)
        return {refusal};

    // Only the frames that themselves mention the DJ application: others with
    // the same id (comments, pictures, other tools' objects) stay.
    TagLib::ID3v2::Tag *tag = id3v2();
    bool removedAny = false;
    for (bool removed = true; removed;) {
        removed = false;
        // By reference: a copy would share TagLib's owning list and delete
        // every frame when it goes out of scope.
        const TagLib::ID3v2::FrameList &frames = tag->frameList();
        for (TagLib::ID3v2::Frame *frame : frames) {
            if (fromTag(frame->toString()).contains(QLatin1String("Serato"), Qt::CaseSensitive)) {
                tag->removeFrame(frame);
                removed = removedAny = true;
                break;
            }
        }
    }

    if (!m_mpeg)
        return {removedAny ? save(options) : TagWriteError::None};
    // A file with nothing to remove is left as it is; one whose ID3v2 tag
    // kept every frame loses only its ID3v1 and APE tags, and its ID3v2 tag
    // is not rewritten for that.
    if (removedAny)
        return {TagSaving::saveTags(*m_mpeg, TagSaving::Scope::ID3v2Only, options)};
    if (!m_mpeg->hasID3v1Tag() && !m_mpeg->hasAPETag())
        return {};
    const bool stripped = m_mpeg->strip(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::APE, true);
    return {stripped ? TagWriteError::None : TagWriteError::SaveFailed};
}

} // namespace

std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, TagFamily::Purpose purpose,
                                TagLib::IOStream *stream)
{
    auto file = std::make_unique<Id3File>(path, format, purpose, stream);
    if (!file->isOpen())
        return nullptr;
    return file;
}

} // namespace Id3Tags
