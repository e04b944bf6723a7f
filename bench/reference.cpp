#include "corpus.h"

#include "tags/tagfilename.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

namespace {

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

QByteArray bytesOf(const TagLib::ByteVector &data)
{
    return QByteArray(data.data(), int(data.size()));
}

QByteArray firstPicture(const TagLib::ID3v2::Tag *tag)
{
    if (!tag || tag->frameListMap()["APIC"].isEmpty())
        return QByteArray();
    return bytesOf(static_cast<const TagLib::ID3v2::AttachedPictureFrame *>(tag->frameListMap()["APIC"].front())->picture());
}

QByteArray firstPicture(const TagLib::List<TagLib::FLAC::Picture *> &pictures)
{
    return pictures.isEmpty() ? QByteArray() : bytesOf(pictures.front()->data());
}

// TagLib 1.13 has no format-neutral picture access: each format's own.
QByteArray firstPicture(TagLib::File *file)
{
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file))
        return firstPicture(mpeg->ID3v2Tag());
    if (auto *aiff = dynamic_cast<TagLib::RIFF::AIFF::File *>(file))
        return firstPicture(aiff->tag());
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(file))
        return firstPicture(wav->ID3v2Tag());
    if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(file))
        return firstPicture(flac->pictureList());
    if (auto *mp4 = dynamic_cast<TagLib::MP4::File *>(file)) {
        const TagLib::MP4::CoverArtList covers = mp4->tag()->item("covr").toCoverArtList();
        return covers.isEmpty() ? QByteArray() : bytesOf(covers.front().data());
    }
    if (auto *xiph = dynamic_cast<TagLib::Ogg::XiphComment *>(file->tag()))
        return firstPicture(xiph->pictureList());
    return QByteArray();
}

} // namespace

namespace Reference {

double kid3Read(const QStringList &files)
{
    const QString kid3 = QStandardPaths::findExecutable(QStringLiteral("kid3-cli"));
    if (kid3.isEmpty() || files.isEmpty())
        return -1;
    QStringList arguments = {QStringLiteral("-c"), QStringLiteral("select first"), QStringLiteral("-c"),
                             QStringLiteral("get all")};
    for (int i = 1; i < files.size(); ++i)
        arguments << QStringLiteral("-c") << QStringLiteral("select next") << QStringLiteral("-c")
                  << QStringLiteral("get all");
    arguments << QFileInfo(files.first()).absolutePath();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(kid3, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    return seconds(timer);
}

double taglibRead(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    qint64 sink = 0;
    for (const QString &path : files) {
        // Tags only, as the table reads them.
        const TagLib::FileRef file(TagFileName(path), false);
        if (file.isNull())
            continue;
        for (const auto &property : file.file()->properties()) {
            for (const TagLib::String &value : property.second)
                sink += value.size();
        }
        sink += firstPicture(file.file()).size();
    }
    return sink >= 0 ? seconds(timer) : -1;
}

double decodeCovers(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    qint64 sink = 0;
    for (const QString &path : files) {
        const TagLib::FileRef file(TagFileName(path), false);
        const QImage cover = file.isNull() ? QImage() : QImage::fromData(firstPicture(file.file()));
        if (!cover.isNull())
            sink += cover.scaled(400, 400, Qt::KeepAspectRatio, Qt::SmoothTransformation).width();
    }
    return sink >= 0 ? seconds(timer) : -1;
}

double taglibSave(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < files.size(); ++i) {
        TagLib::FileRef file(TagFileName(files.at(i)), false);
        if (file.isNull())
            continue;
        file.tag()->setTitle(TagLib::String(Corpus::title("TagLib", i).toStdString()));
        file.save();
    }
    return seconds(timer);
}

} // namespace Reference
