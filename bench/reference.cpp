#include "corpus.h"

#include "tags/tagfilename.h"

#include <QElapsedTimer>
#include <QFileInfo>
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

qint64 pictureBytes(const TagLib::ID3v2::Tag *tag)
{
    qint64 bytes = 0;
    if (!tag)
        return bytes;
    for (const TagLib::ID3v2::Frame *frame : tag->frameListMap()["APIC"])
        bytes += static_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame)->picture().size();
    return bytes;
}

qint64 pictureBytes(const TagLib::List<TagLib::FLAC::Picture *> &pictures)
{
    qint64 bytes = 0;
    for (const TagLib::FLAC::Picture *picture : pictures)
        bytes += picture->data().size();
    return bytes;
}

// TagLib 1.13 has no format-neutral picture access: each format's own.
qint64 pictureBytes(TagLib::File *file)
{
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file))
        return pictureBytes(mpeg->ID3v2Tag());
    if (auto *aiff = dynamic_cast<TagLib::RIFF::AIFF::File *>(file))
        return pictureBytes(aiff->tag());
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(file))
        return pictureBytes(wav->ID3v2Tag());
    if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(file))
        return pictureBytes(flac->pictureList());
    if (auto *mp4 = dynamic_cast<TagLib::MP4::File *>(file)) {
        qint64 bytes = 0;
        for (const TagLib::MP4::CoverArt &cover : mp4->tag()->item("covr").toCoverArtList())
            bytes += cover.data().size();
        return bytes;
    }
    if (auto *xiph = dynamic_cast<TagLib::Ogg::XiphComment *>(file->tag()))
        return pictureBytes(xiph->pictureList());
    return 0;
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
        sink += pictureBytes(file.file());
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
        file.tag()->setTitle(TagLib::String(QStringLiteral("Reference %1").arg(i).toStdString()));
        file.save();
    }
    return seconds(timer);
}

} // namespace Reference
