#include "common/audiofixture.h"
#include "common/mp3fixture.h"
#include "common/mutagenview.h"
#include "table/mediascan.h"
#include "tags/safefile.h"
#include "tags/tagreaderandwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace A = AudioFixture;
namespace F = Mp3Fixture;
using T = TagReaderAndWriter;

namespace {

// A title that fits the padding TagLib leaves, and one that makes every tag grow.
const QString kShortTitle = QStringLiteral("Saved");
const QString kLongTitle = QString(3000, QLatin1Char('L'));

// The child: saves the title into every file of the folder, in name order,
// one line per file ("ok" or the reason), after a "ready" line.
int saveChild(const QString &dir, const QString &title)
{
    QTextStream out(stdout);
    out << "ready" << Qt::endl;
    const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const TagWriteResult result = T::writeAll(QDir(dir).filePath(name), {{QStringLiteral("Title"), title}});
        out << (result ? QStringLiteral("ok") : result.reason()) << Qt::endl;
    }
    return 0;
}

QString title(const QString &path)
{
    return T::readTitle(path);
}

struct Sample
{
    QString path;
    QByteArray audio;
};

// Files of one format in a folder of their own, with their audio's digest.
// MP3s last two minutes, as in a DJ's library: moving their audio takes long
// enough for a stop to fall in the middle of it.
QList<Sample> makeFiles(const QString &dir, AudioFormat format, int count)
{
    QList<Sample> samples;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("f%1.%2").arg(i, 2, 10, QLatin1Char('0')).arg(A::format(format).extension);
        const QString path = format == AudioFormat::Mpeg ? F::create(dir, name, 4600) : A::create(dir, name, format);
        if (path.isEmpty() || !T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("Old")}}))
            return {};
        // Copies of one sample, tagged alike: one audio digest serves all.
        samples << Sample{path, samples.isEmpty() ? A::audioDigest(path) : samples.first().audio};
    }
    return samples;
}

// Runs the child over dir, as `user` from a copy of this program beside dir
// when given (the build folder may be closed to other users); its output lines.
QStringList runChild(const QString &dir, const QString &title, const QString &user = QString())
{
    QProcess child;
    QStringList arguments{QStringLiteral("--save-child"), dir, title};
    if (user.isEmpty()) {
        child.start(QCoreApplication::applicationFilePath(), arguments);
    } else {
        const QString program = QFileInfo(dir).absolutePath() + QStringLiteral("/save-child");
        QFile::remove(program);
        QFile::copy(QCoreApplication::applicationFilePath(), program);
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                           | QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
        child.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), user, QStringLiteral("--"), program}
                                                   + arguments);
    }
    child.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("ready"));
    return lines;
}

bool isRoot()
{
    return ::geteuid() == 0;
}

} // namespace

class TestSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!MutagenView::available())
            QSKIP("python3-mutagen is not installed");
    }

    // A save killed at any moment leaves every file whole: as it was or as
    // saved, its audio byte for byte, readable by other software; what the
    // killed save left beside the files goes when the folder is added.
    void killedSavesLeaveFilesWhole_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("newTitle");
        QTest::newRow("MP3, tag fits") << int(AudioFormat::Mpeg) << kShortTitle;
        QTest::newRow("MP3, tag grows") << int(AudioFormat::Mpeg) << kLongTitle;
        QTest::newRow("FLAC") << int(AudioFormat::Flac) << kLongTitle;
        QTest::newRow("M4A") << int(AudioFormat::Mp4) << kLongTitle;
        QTest::newRow("WAV") << int(AudioFormat::Wav) << kLongTitle;
    }

    void killedSavesLeaveFilesWhole()
    {
        QFETCH(int, format);
        QFETCH(QString, newTitle);
        if (!A::available(A::format(AudioFormat(format))))
            QSKIP("the encoder for this format is not installed");
        constexpr int kFiles = 6;
        constexpr int kKills = 4;

        // How long an unstopped save of the whole folder takes, to spread the
        // kills over it.
        qint64 span = 0;
        {
            QTemporaryDir probe;
            QVERIFY(!makeFiles(probe.path(), AudioFormat(format), kFiles).isEmpty());
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-child"), probe.path(), newTitle});
            QVERIFY(child.waitForReadyRead(30000));
            QElapsedTimer clock;
            clock.start();
            QVERIFY(child.waitForFinished(60000));
            span = qMax<qint64>(clock.elapsed(), kKills);
            QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).count(QStringLiteral("ok")), kFiles);
        }

        int killedMidway = 0;
        for (int kill = 1; kill <= kKills; ++kill) {
            QTemporaryDir tmp;
            const QList<Sample> samples = makeFiles(tmp.path(), AudioFormat(format), kFiles);
            QVERIFY(!samples.isEmpty());
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-child"), tmp.path(), newTitle});
            QVERIFY(child.waitForReadyRead(30000));
            const qint64 wait = span * kill / (kKills + 1) + QRandomGenerator::global()->bounded(3);
            QTest::qSleep(qMax(1, int(wait)));
            ::kill(pid_t(child.processId()), SIGKILL);
            child.waitForFinished(10000);
            const int saved = QString::fromUtf8(child.readAllStandardOutput()).count(QStringLiteral("ok"));
            killedMidway += saved > 0 && saved < kFiles;

            for (const Sample &sample : samples) {
                const QString now = title(sample.path);
                QVERIFY2(now == QStringLiteral("Old") || now == newTitle, qPrintable(sample.path + ": " + now.left(20)));
                QCOMPARE(A::audioDigest(sample.path), sample.audio);
                QVERIFY2(!A::native(sample.path).isEmpty(), qPrintable(sample.path));
            }
            const QStringList found = MediaScan::collect({tmp.path()}).files;
            QCOMPARE(found.size(), kFiles);
            QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), kFiles);
        }
        // At least one stop fell inside the saving of the long files whose
        // tags grow (the slow case that tore files), not before or after it.
        if (AudioFormat(format) == AudioFormat::Mpeg && newTitle == kLongTitle)
            QVERIFY(killedMidway > 0);
    }

    // Permissions the user set are kept, failures say why and leave the file
    // as it was; run as an unprivileged user where the check needs one.
    void failuresSayWhyAndKeepTheFile_data()
    {
        QTest::addColumn<QString>("newTitle");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<QString>("expected"); // "ok" or the reason
        const QString readOnly = TagWriteResult{TagWriteError::ReadOnlyFile}.reason();
        const QString folder = TagWriteResult{TagWriteError::FolderNotWritable}.reason();
        QTest::newRow("read-only file, tag fits") << kShortTitle << 0444 << 0777 << readOnly;
        QTest::newRow("read-only file, tag grows") << kLongTitle << 0444 << 0777 << readOnly;
        QTest::newRow("unwritable folder, tag grows") << kLongTitle << 0644 << 0555 << folder;
        QTest::newRow("unwritable folder, tag fits in place") << kShortTitle << 0644 << 0555 << "ok";
        QTest::newRow("writable, mode kept") << kLongTitle << 0640 << 0777 << "ok";
    }

    void failuresSayWhyAndKeepTheFile()
    {
        QFETCH(QString, newTitle);
        QFETCH(int, fileMode);
        QFETCH(int, folderMode);
        QFETCH(QString, expected);
        if (!isRoot() || QStandardPaths::findExecutable(QStringLiteral("runuser")).isEmpty())
            QSKIP("needs root and runuser to save as an unprivileged user");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("music"));
        QVERIFY(QDir().mkpath(dir));
        const QString path = F::create(dir, QStringLiteral("a.mp3"));
        QVERIFY(T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("Old")}}));
        const QByteArray before = F::hash(path);
        const QByteArray nobody = "nobody";
        QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(fileMode)) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir).constData(), mode_t(folderMode)) == 0);
        QVERIFY(::chmod(QFile::encodeName(tmp.path()).constData(), 0755) == 0);

        QCOMPARE(runChild(dir, newTitle, QString::fromLatin1(nobody)), QStringList{expected});
        ::chmod(QFile::encodeName(dir).constData(), 0755);
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
        QCOMPARE(int(info.st_mode & 07777), fileMode);
        QCOMPARE(int(info.st_uid), 65534);
        if (expected == QLatin1String("ok")) {
            QCOMPARE(title(path), newTitle);
        } else {
            QCOMPARE(F::hash(path), before);
        }
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("a.mp3")});
    }

    void hardLinksAreNeverSplit()
    {
        QTemporaryDir tmp;
        const QString path = F::create(tmp.path(), QStringLiteral("a.mp3"));
        QVERIFY(T::writeAll(path, {{QStringLiteral("Title"), QStringLiteral("Old")}}));
        const QString other = tmp.filePath(QStringLiteral("b.mp3"));
        QVERIFY(QFile::link(path, tmp.filePath(QStringLiteral("symlink.mp3"))));
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()) == 0);
        // A tag that fits is written into the one file both names share.
        QVERIFY(T::writeAll(path, {{QStringLiteral("Title"), kShortTitle}}));
        QCOMPARE(title(other), kShortTitle);
        // One that grows would leave the other name with the old file.
        const QByteArray before = F::hash(path);
        QCOMPARE(T::writeAll(path, {{QStringLiteral("Title"), kLongTitle}}).error, TagWriteError::HardLinks);
        QCOMPARE(F::hash(path), before);
        QCOMPARE(F::hash(other), before);
    }

    void fullDiskLeavesTheFile()
    {
        if (!isRoot())
            QSKIP("needs root to mount a small file system");
        QTemporaryDir tmp;
        const QString mount = tmp.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(mount));
        if (::mount("tmpfs", QFile::encodeName(mount).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("cannot mount a tmpfs here");
        const QString path = F::create(mount, QStringLiteral("a.mp3"), 200);
        QVERIFY(!path.isEmpty());
        const QByteArray before = F::hash(path);
        // Fill what is left, so the new file beside it cannot be written.
        QFile filler(QDir(mount).filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
        }
        filler.close();
        const TagWriteResult result = T::writeAll(path, {{QStringLiteral("Title"), kLongTitle}});
        QCOMPARE(result.reason(), TagWriteResult{TagWriteError::DiskFull}.reason());
        QCOMPARE(F::hash(path), before);
        QCOMPARE(QDir(mount).entryList(QDir::Files).size(), 2);
        ::umount(QFile::encodeName(mount).constData());
    }

    void missingFileSaysSo()
    {
        QTemporaryDir tmp;
        QCOMPARE(T::writeAll(tmp.filePath(QStringLiteral("gone.mp3")), {{QStringLiteral("Title"), kShortTitle}}).error,
                 TagWriteError::FileMissing);
    }

    // A leftover is removed only when no save holds it.
    void leftoversGoUnlessInUse()
    {
        QTemporaryDir tmp;
        F::create(tmp.path(), QStringLiteral("a.mp3"));
        const QString left = F::create(tmp.path(), QStringLiteral("a.mp3.sonvel-save-Ab3dE9"));
        const QString busy = F::create(tmp.path(), QStringLiteral("b.mp3.sonvel-save-Zz9yX8"));
        QVERIFY(SafeFile::isLeftover(QFileInfo(left).fileName()));
        QVERIFY(!SafeFile::isLeftover(QStringLiteral("a.mp3")));
        QFile holder(busy);
        QVERIFY(holder.open(QIODevice::ReadOnly));
        QVERIFY(::flock(holder.handle(), LOCK_EX) == 0);
        const MediaScan::Result found = MediaScan::collect({tmp.path()});
        QCOMPARE(found.files, QStringList{tmp.filePath(QStringLiteral("a.mp3"))});
        QCOMPARE(found.skipped, 0);
        QVERIFY(!QFile::exists(left));
        QVERIFY(QFile::exists(busy));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--save-child") == 0)
        return saveChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestSafeSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_safesave.moc"
