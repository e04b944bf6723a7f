#include "corpus.h"

#include "common/mp3fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <unistd.h>

namespace F = Mp3Fixture;

namespace {

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

bool saveAs23(const QString &path)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
                     TagLib::File::DoNotDuplicate);
}

// Templates by (cover kind, version, DJ data): index = cover * 4 + (v23 ? 2 : 0) + (dj ? 1 : 0).
QStringList makeTemplates(const QString &dir)
{
    const QList<QByteArray> covers = {F::busyCoverJpeg(500), F::busyCoverJpeg(1500), QByteArray()};
    QStringList templates;
    for (int c = 0; c < covers.size(); ++c) {
        for (int variant = 0; variant < 4; ++variant) {
            const QString path = F::create(dir, QStringLiteral("template-%1-%2.bin").arg(c).arg(variant));
            bool ok = !path.isEmpty() && F::addFullTags(path, covers.at(c));
            if (variant & 1)
                ok = ok && F::addFrames(path, {F::geobFrame(QStringLiteral("Serato Markers2"), QByteArray(2048, 'm')),
                                               F::geobFrame(QStringLiteral("Serato Overview"), QByteArray(4096, 'o'))});
            if (variant & 2)
                ok = ok && saveAs23(path);
            if (!ok)
                qFatal("cannot make the corpus templates in %s", qPrintable(dir));
            templates << path;
        }
    }
    return templates;
}

} // namespace

namespace Corpus {

QStringList make(const QString &dir, int n, bool links)
{
    const QStringList templates = makeTemplates(dir);
    QStringList files;
    for (int i = 0; i < n; ++i) {
        const int cover = i % 2 == 0 ? 0 : (i % 4 == 1 ? 1 : 2);
        const int variant = (i % 10 == 9 ? 1 : 0) + ((i / 4) % 2 == 1 ? 2 : 0);
        const QString source = templates.at(cover * 4 + variant);
        files << QStringLiteral("%1/%2.mp3").arg(dir).arg(i, 6, 10, QLatin1Char('0'));
        const bool made = links ? ::link(QFile::encodeName(source).constData(), QFile::encodeName(files.last()).constData()) == 0
                                : QFile::copy(source, files.last());
        if (!made)
            qFatal("cannot make %s", qPrintable(files.last()));
    }
    return files;
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace Corpus

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
        TagLib::MPEG::File file(QFile::encodeName(path).constData());
        const TagLib::Tag *tag = file.tag();
        sink += tag->title().size() + tag->artist().size() + tag->album().size() + tag->comment().size()
            + tag->genre().size() + tag->year() + tag->track();
        for (const TagLib::ID3v2::Frame *frame : file.ID3v2Tag(true)->frameList()) {
            if (const auto *picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame))
                sink += picture->picture().size();
            else
                sink += frame->toString().size();
        }
    }
    return sink >= 0 ? seconds(timer) : -1;
}

double taglibSave(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < files.size(); ++i) {
        TagLib::MPEG::File file(QFile::encodeName(files.at(i)).constData());
        file.tag()->setTitle(TagLib::String(QStringLiteral("Reference %1").arg(i).toStdString()));
        file.save();
    }
    return seconds(timer);
}

} // namespace Reference
