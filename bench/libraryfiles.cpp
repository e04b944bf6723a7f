#include "libraryfiles.h"

#include "common/mp3fixture.h"
#include "tags/fields.h"
#include "tags/tagfilename.h"

#include <QFile>
#include <QProcess>

#include <taglib/aifffile.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

using Corpus::Kind;

namespace LibraryFiles {

namespace {

enum class Family { Id3, Xiph, Mp4 };

void run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qFatal("%s %s failed: %s", qPrintable(program), qPrintable(arguments.join(' ')),
               process.readAll().constData());
}

TagLib::String toTag(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

// MP4 atom names are Latin-1 ("\xa9nam").
TagLib::String atomName(const QString &name)
{
    return TagLib::String(name.toLatin1().constData(), TagLib::String::Latin1);
}

// TagLib 1.13's PropertyMap files ID3's TIT1 under WORK (its GROUPING is
// iTunes' GRP1) and has no MP4 atom for INITIALKEY: those are written by name.
bool byProperty(Field field, Family family)
{
    return !(family == Family::Mp4 && field == Field::InitialKey);
}

QString propertyName(Field field, Family family)
{
    if (family == Family::Id3 && field == Field::Grouping)
        return QStringLiteral("WORK");
    return Fields::of(field).vorbis.first();
}

// Merged into what the encoder left (its ENCODER comment, ffmpeg's tool atom).
TagLib::PropertyMap withFields(TagLib::PropertyMap properties, Family family)
{
    for (const Fields::Names &names : Fields::all()) {
        if (byProperty(names.field, family))
            properties.replace(toTag(propertyName(names.field, family)), toTag(storedText(names.field)));
    }
    return properties;
}

void requireStored(const QString &path, const QStringList &missing)
{
    if (!missing.isEmpty())
        qFatal("%s lacks %s: TagLib's property names no longer match the field table", qPrintable(path),
               qPrintable(missing.join(", ")));
}

TagLib::FLAC::Picture *flacPicture(const QByteArray &jpeg)
{
    auto *picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType("image/jpeg");
    picture->setData(TagLib::ByteVector(jpeg.constData(), uint(jpeg.size())));
    return picture;
}

// Serato keeps base64 text in Vorbis comments and MP4 atoms.
TagLib::String seratoText(int size)
{
    return TagLib::String(QByteArray(size, 'm').toBase64().constData());
}

void tagId3(const QString &path, TagLib::ID3v2::Tag *tag, const Look &look)
{
    if (!look.cover.isEmpty())
        tag->addFrame(Mp3Fixture::pictureFrame(look.cover));
    if (look.djData) {
        tag->addFrame(Mp3Fixture::geobFrame(QStringLiteral("Serato Markers2"), QByteArray(2048, 'm')));
        tag->addFrame(Mp3Fixture::geobFrame(QStringLiteral("Serato Overview"), QByteArray(4096, 'o')));
    }
    QStringList missing;
    for (const Fields::Names &names : Fields::all()) {
        if (!tag->frameListMap().contains(names.id3))
            missing << QString::fromLatin1(names.id3);
    }
    requireStored(path, missing);
}

TagLib::ID3v2::Version id3Version(const Look &look)
{
    return look.id3v23 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
}

bool tagMp3(const QString &path, const Look &look)
{
    TagLib::MPEG::File file(TagFileName(path), false);
    file.setProperties(withFields(file.properties(), Family::Id3));
    tagId3(path, file.ID3v2Tag(true), look);
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, id3Version(look), TagLib::File::DoNotDuplicate);
}

bool tagAiff(const QString &path, const Look &look)
{
    TagLib::RIFF::AIFF::File file(TagFileName(path), false);
    file.setProperties(withFields(file.properties(), Family::Id3));
    tagId3(path, file.tag(), look);
    return file.save(id3Version(look));
}

bool tagWav(const QString &path, const Look &look)
{
    TagLib::RIFF::WAV::File file(TagFileName(path), false);
    // Both the ID3 tag and the INFO list.
    file.setProperties(withFields(file.properties(), Family::Id3));
    tagId3(path, file.ID3v2Tag(), look);
    // TagLib's INFO list takes a track only as a whole number ("3/12" is lost).
    for (const Fields::Names &names : Fields::all()) {
        if (names.riffInfo && !file.InfoTag()->fieldListMap().contains(names.riffInfo))
            file.InfoTag()->setFieldText(names.riffInfo, toTag(storedText(names.field)));
    }
    return file.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripNone, id3Version(look));
}

void tagXiph(const QString &path, TagLib::Ogg::XiphComment *comment, const Look &look)
{
    if (look.djData)
        comment->addField("SERATO_MARKERS_V2", seratoText(2048));
    QStringList missing;
    for (const Fields::Names &names : Fields::all()) {
        if (!comment->fieldListMap().contains(toTag(names.vorbis.first())))
            missing << names.vorbis.first();
    }
    requireStored(path, missing);
}

bool tagFlac(const QString &path, const Look &look)
{
    TagLib::FLAC::File file(TagFileName(path), false);
    file.setProperties(withFields(file.properties(), Family::Xiph));
    if (!look.cover.isEmpty())
        file.addPicture(flacPicture(look.cover));
    tagXiph(path, file.xiphComment(true), look);
    return file.save();
}

template<typename OggFile>
bool tagOgg(const QString &path, const Look &look)
{
    OggFile file(TagFileName(path), false);
    file.setProperties(withFields(file.properties(), Family::Xiph));
    if (!look.cover.isEmpty())
        file.tag()->addPicture(flacPicture(look.cover));
    tagXiph(path, file.tag(), look);
    return file.save();
}

bool tagMp4(const QString &path, const Look &look)
{
    TagLib::MP4::File file(TagFileName(path), false);
    file.setProperties(withFields(file.properties(), Family::Mp4));
    TagLib::MP4::Tag *tag = file.tag();
    for (const Fields::Names &names : Fields::all()) {
        if (!byProperty(names.field, Family::Mp4))
            tag->setItem(atomName(names.mp4.first()), TagLib::StringList(toTag(storedText(names.field))));
    }
    if (!look.cover.isEmpty()) {
        TagLib::MP4::CoverArtList covers;
        covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::JPEG,
                                            TagLib::ByteVector(look.cover.constData(), uint(look.cover.size()))));
        tag->setItem("covr", covers);
    }
    if (look.djData)
        tag->setItem("----:com.serato.dj:markers", TagLib::StringList(seratoText(2048)));
    QStringList missing;
    for (const Fields::Names &names : Fields::all()) {
        if (!tag->contains(atomName(names.mp4.first())))
            missing << names.mp4.first();
    }
    requireStored(path, missing);
    return file.save();
}

} // namespace

QString storedText(Field field)
{
    switch (field) {
    case Field::Title:
        return QStringLiteral("Night Drive");
    case Field::Artist:
        return QStringLiteral("Ana Ruiz");
    case Field::Album:
        return QStringLiteral("Late Hours");
    case Field::Year:
        return QStringLiteral("2019");
    case Field::Comment:
        return QStringLiteral("Warm-up set");
    case Field::Track:
        return QStringLiteral("3/12");
    case Field::Genre:
        return QStringLiteral("Deep House");
    case Field::Bpm:
        return QStringLiteral("124");
    case Field::Composer:
        return QStringLiteral("J. Moreno");
    case Field::Grouping:
        return QStringLiteral("Opening");
    case Field::Label:
        return QStringLiteral("Nightshift Records");
    case Field::Remixer:
        return QStringLiteral("K. Lee");
    case Field::InitialKey:
        break;
    }
    return QStringLiteral("8A");
}

QString extension(Kind kind)
{
    switch (kind) {
    case Kind::Mp3:
        return QStringLiteral("mp3");
    case Kind::Flac:
        return QStringLiteral("flac");
    case Kind::Aiff:
        return QStringLiteral("aiff");
    case Kind::M4aAac:
    case Kind::M4aAlac:
        return QStringLiteral("m4a");
    case Kind::Wav:
        return QStringLiteral("wav");
    case Kind::OggVorbis:
        return QStringLiteral("ogg");
    case Kind::OggOpus:
        break;
    }
    return QStringLiteral("opus");
}

Samples::Samples(const QString &dir)
    : m_dir(dir)
{
}

// Four seconds of stereo pink noise: lossless codecs cannot shrink it much,
// so every file has audio of a realistic size before and after its tags.
QString Samples::source()
{
    const QString path = m_dir + QStringLiteral("/source.wav");
    if (!QFile::exists(path))
        run(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                    QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-b"),
                                    QStringLiteral("16"), path, QStringLiteral("synth"), QStringLiteral("4"),
                                    QStringLiteral("pinknoise"), QStringLiteral("vol"), QStringLiteral("0.3")});
    return path;
}

QString Samples::path(Kind kind)
{
    if (m_paths.contains(kind))
        return m_paths.value(kind);
    const QString in = source();
    const QString out = QStringLiteral("%1/sample-%2.%3").arg(m_dir).arg(int(kind)).arg(extension(kind));
    const QString ffmpeg = QStringLiteral("ffmpeg");
    const QStringList ffmpegIn = {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                                  QStringLiteral("-i"), in};
    switch (kind) {
    case Kind::Mp3:
        run(QStringLiteral("lame"), {QStringLiteral("--quiet"), in, out});
        break;
    case Kind::Flac:
        run(QStringLiteral("flac"), {QStringLiteral("--silent"), QStringLiteral("-o"), out, in});
        break;
    case Kind::Aiff:
        run(QStringLiteral("sox"), {in, out});
        break;
    case Kind::M4aAac:
        // The movie header in front, as iTunes and most taggers leave it.
        run(ffmpeg, ffmpegIn + QStringList{QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-b:a"),
                                           QStringLiteral("192k"), QStringLiteral("-movflags"),
                                           QStringLiteral("+faststart"), out});
        break;
    case Kind::M4aAlac:
        run(ffmpeg, ffmpegIn + QStringList{QStringLiteral("-c:a"), QStringLiteral("alac"), out});
        break;
    case Kind::Wav:
        if (!QFile::copy(in, out))
            qFatal("cannot copy %s", qPrintable(in));
        break;
    case Kind::OggVorbis:
        run(QStringLiteral("oggenc"), {QStringLiteral("--quiet"), QStringLiteral("-o"), out, in});
        break;
    case Kind::OggOpus:
        run(QStringLiteral("opusenc"), {QStringLiteral("--quiet"), in, out});
        break;
    }
    m_paths.insert(kind, out);
    return out;
}

void tag(const QString &path, const Look &look)
{
    bool saved = false;
    switch (look.kind) {
    case Kind::Mp3:
        saved = tagMp3(path, look);
        break;
    case Kind::Flac:
        saved = tagFlac(path, look);
        break;
    case Kind::Aiff:
        saved = tagAiff(path, look);
        break;
    case Kind::M4aAac:
    case Kind::M4aAlac:
        saved = tagMp4(path, look);
        break;
    case Kind::Wav:
        saved = tagWav(path, look);
        break;
    case Kind::OggVorbis:
        saved = tagOgg<TagLib::Ogg::Vorbis::File>(path, look);
        break;
    case Kind::OggOpus:
        saved = tagOgg<TagLib::Ogg::Opus::File>(path, look);
        break;
    }
    if (!saved)
        qFatal("cannot tag %s", qPrintable(path));
}

} // namespace LibraryFiles
