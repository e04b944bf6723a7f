#include "tags/id3/tagsaving.h"

#include "tags/fields.h"
#include "tags/tagfilename.h"

#include <QRegularExpression>
#include <QString>

#include <taglib/apetag.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unknownframe.h>

#include <vector>

namespace TagSaving {

namespace {

using TagLib::ID3v2::CommentsFrame;
using TagLib::ID3v2::Frame;
using TagLib::ID3v2::TextIdentificationFrame;

// Frame headers are TagLib's protected business; their flags are read here.
struct FrameFlags : Frame
{
    static bool encrypted(const Frame *frame) { return (frame->*&FrameFlags::header)()->encryption(); }
};

bool holdsEncryptedFrames(const TagLib::ID3v2::Tag *tag)
{
    for (const Frame *frame : tag->frameList()) {
        if (FrameFlags::encrypted(frame))
            return true;
    }
    return false;
}

QString frameText(const Frame *frame)
{
    if (const auto *unknown = dynamic_cast<const TagLib::ID3v2::UnknownFrame *>(frame)) {
        // Frames ID3v2.4 has no form for stay unparsed: encoding byte, text.
        const TagLib::ByteVector data = unknown->data();
        if (data.isEmpty() || uchar(data[0]) > 3)
            return QString();
        const TagLib::String text(data.mid(1), TagLib::String::Type(data[0]));
        return QString::fromUtf8(text.toCString(true)).remove(QChar(0)).trimmed();
    }
    return QString::fromUtf8(frame->toString().toCString(true)).trimmed();
}

void replaceTextFrame(TagLib::ID3v2::Tag *tag, const char *id, const TagLib::StringList &texts)
{
    tag->removeFrames(id);
    if (texts.isEmpty())
        return;
    auto *frame = new TextIdentificationFrame(id, TagLib::ID3v2::FrameFactory::instance()->defaultTextEncoding());
    frame->setText(texts);
    tag->addFrame(frame);
}

// ID3v2.4 keeps the day, month and time of a recording in its one date frame;
// 2.3 kept them in frames the upgrade drops (TagLib folds only some forms).
void foldDateFrames(TagLib::ID3v2::Tag *tag)
{
    const TagLib::ID3v2::FrameList &years = tag->frameList("TDRC");
    if (years.isEmpty())
        return;
    const QString year = frameText(years.front());
    if (!QRegularExpression(QStringLiteral("^\\d{4}$")).match(year).hasMatch())
        return;

    QString date;
    const auto dayMonth = QRegularExpression(QStringLiteral("^(\\d{2})(\\d{2})$")).match(firstText(tag, "TDAT"));
    const auto recorded = QRegularExpression(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})")).match(firstText(tag, "TRDA"));
    if (dayMonth.hasMatch())
        date = QLatin1Char('-') + dayMonth.captured(2) + QLatin1Char('-') + dayMonth.captured(1);
    else if (recorded.hasMatch() && recorded.captured(1) == year)
        date = QLatin1Char('-') + recorded.captured(2) + QLatin1Char('-') + recorded.captured(3);
    if (date.isEmpty())
        return;
    const auto time = QRegularExpression(QStringLiteral("^(\\d{2})(\\d{2})$")).match(firstText(tag, "TIME"));
    if (time.hasMatch())
        date += QLatin1Char('T') + time.captured(1) + QLatin1Char(':') + time.captured(2);
    years.front()->setText(TagLib::String((year + date).toUtf8().constData(), TagLib::String::UTF8));
}

// What TagLib writes of a date into 2.3 frames, and reads back: the year,
// then the day and month of a full date, then the hours and minutes of its
// time; a year-month keeps only its year. Empty when there is no year.
QString dateIn23(const QString &date)
{
    if (date.size() < 4)
        return QString();
    QString kept = date.left(4);
    if (date.size() >= 10 && date.at(4) == QLatin1Char('-') && date.at(7) == QLatin1Char('-')) {
        kept += date.mid(4, 6);
        if (date.size() >= 16 && date.at(10) == QLatin1Char('T') && date.at(13) == QLatin1Char(':'))
            kept += date.mid(10, 6);
    }
    return kept;
}

void keepDateIn23(TagLib::ID3v2::Tag *tag)
{
    const TagLib::ID3v2::FrameList &dates = tag->frameList("TDRC");
    if (dates.isEmpty())
        return;
    const QString date = TagStrings::fromTag(dates.front()->toString());
    const QString kept = dateIn23(date);
    if (kept != date)
        replaceTextFrame(tag, "TDRC", TagStrings::toTag(kept));
}

// What ID3v1 holds goes into ID3v2 only where ID3v2 has no such frame at all:
// a track ("A1"), year or comment that TagLib reads as zero or empty is still
// the user's, and an empty ID3v1 value never removes anything.
void fillFromId3v1(TagLib::ID3v2::Tag *v2, const TagLib::ID3v1::Tag *v1)
{
    const auto fillText = [&](const char *id, const TagLib::String &value) {
        const TagLib::ID3v2::FrameList &frames = v2->frameList(id);
        if ((frames.isEmpty() || frames.front()->toString().isEmpty()) && !value.isEmpty())
            replaceTextFrame(v2, id, value);
    };
    fillText("TIT2", v1->title());
    fillText("TPE1", v1->artist());
    fillText("TALB", v1->album());
    fillText("TCON", v1->genre());
    if (v2->frameList("COMM").isEmpty() && !v1->comment().isEmpty())
        replacePlainComment(v2, v1->comment());
    if (v2->frameList("TDRC").isEmpty() && v1->year() > 0)
        replaceTextFrame(v2, "TDRC", TagLib::String::number(int(v1->year())));
    if (v2->frameList("TRCK").isEmpty() && v1->track() > 0)
        replaceTextFrame(v2, "TRCK", TagLib::String::number(int(v1->track())));
}

// The ID3v1 copy takes from ID3v2 what it lacks, as TagLib's duplication
// does, except the comment: other software lists an ID3v1 comment beside the
// ID3v2 ones (as "ID3v1 Comment"), so a copied one would show as a second
// comment that no one wrote.
void fillId3v1(TagLib::ID3v1::Tag *v1, const TagLib::ID3v2::Tag *v2)
{
    if (v1->title().isEmpty())
        v1->setTitle(v2->title());
    if (v1->artist().isEmpty())
        v1->setArtist(v2->artist());
    if (v1->album().isEmpty())
        v1->setAlbum(v2->album());
    if (v1->genre().isEmpty())
        v1->setGenre(v2->genre());
    if (v1->year() == 0)
        v1->setYear(v2->year());
    if (v1->track() == 0)
        v1->setTrack(v2->track());
}

} // namespace

void replaceTextFrame(TagLib::ID3v2::Tag *tag, const char *id, const TagLib::String &text)
{
    replaceTextFrame(tag, id, text.isEmpty() ? TagLib::StringList() : TagLib::StringList(text));
}

QString firstText(const TagLib::ID3v2::Tag *tag, const char *id)
{
    const TagLib::ID3v2::FrameList &frames = tag->frameList(id);
    return frames.isEmpty() ? QString() : frameText(frames.front());
}

void replaceYear(TagLib::ID3v2::Tag *tag, const QString &year)
{
    const TagLib::ID3v2::FrameList &dates = tag->frameList("TDRC");
    const auto *date = dates.isEmpty() ? nullptr : dynamic_cast<const TextIdentificationFrame *>(dates.front());
    if (!year.isEmpty() && date && Fields::shownNumber(Field::Year, frameText(date)) == year) {
        replaceTextFrame(tag, "TDRC", date->fieldList());
        return;
    }
    tag->removeFrames("TDAT");
    tag->removeFrames("TIME");
    tag->removeFrames("TRDA");
    replaceTextFrame(tag, "TDRC", TagStrings::toTag(year));
}

const CommentsFrame *plainComment(const TagLib::ID3v2::Tag *tag)
{
    return CommentsFrame::findByDescription(tag, TagLib::String());
}

void replacePlainComment(TagLib::ID3v2::Tag *tag, const TagLib::String &text)
{
    TagLib::ByteVector language;
    while (CommentsFrame *old = CommentsFrame::findByDescription(tag, TagLib::String())) {
        if (language.isEmpty())
            language = old->language();
        tag->removeFrame(old);
    }
    if (text.isEmpty())
        return;
    auto *comment = new CommentsFrame(TagLib::ID3v2::FrameFactory::instance()->defaultTextEncoding());
    if (language.size() == 3)
        comment->setLanguage(language);
    comment->setText(text);
    tag->addFrame(comment);
}

TagWriteError prepareId3v2(TagLib::ID3v2::Tag *tag, bool readFromFile, TagLib::ID3v2::Version version)
{
    if (holdsEncryptedFrames(tag))
        return TagWriteError::EncryptedFrames;
    // TagLib drops the 2.3 date frames whichever version it writes.
    if (readFromFile && tag->header()->majorVersion() < 4)
        foldDateFrames(tag);
    if (version == TagLib::ID3v2::v3)
        keepDateIn23(tag);
    return TagWriteError::None;
}

TagLib::ID3v2::Version id3v2Version(const SavingOptions &options)
{
    return options.id3v2Version == SavingOptions::Id3v2Version::V23 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
}

TagWriteError saveTags(TagLib::MPEG::File &file, Scope scope, const SavingOptions &options)
{
    TagLib::ID3v2::Tag *v2 = file.ID3v2Tag(true);
    const TagLib::ID3v2::Version version = id3v2Version(options);
    if (const TagWriteError refusal = prepareId3v2(v2, file.hasID3v2Tag(), version); refusal != TagWriteError::None)
        return refusal;

    int tags = TagLib::MPEG::File::ID3v2;
    if (scope == Scope::AllTags) {
        tags |= TagLib::MPEG::File::APE;
        const bool hadId3v1 = file.hasID3v1Tag();
        if (hadId3v1)
            fillFromId3v1(v2, file.ID3v1Tag());
        const bool writeId3v1 = options.id3v1Copy == SavingOptions::Id3v1Copy::AlwaysWrite
            || (options.id3v1Copy == SavingOptions::Id3v1Copy::KeepAsFound && hadId3v1);
        if (writeId3v1) {
            fillId3v1(file.ID3v1Tag(true), v2);
            tags |= TagLib::MPEG::File::ID3v1;
        }
    }
    // Stripping the tags not saved removes an ID3v1 copy that is not wanted.
    const bool saved =
        file.save(tags, TagLib::File::StripOthers, version, TagLib::File::DoNotDuplicate);
    return saved ? TagWriteError::None : TagWriteError::SaveFailed;
}

} // namespace TagSaving
