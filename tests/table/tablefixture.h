#pragma once

#include "common/mp3fixture.h"
#include "common/notifications.h"
#include "table/addmediafilewidget.h"
#include "table/covercolumn.h"
#include "table/mediafiletablewidget.h"
#include "tags/fields.h"
#include "tags/tagcolumns.h"
#include "tags/tagreaderandwriter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <QTableWidgetItem>

#include <functional>

// Reads and edits the media table the way the rest of the program sees it:
// by column header text, never by a column number.
namespace TableFixture {

namespace F = Mp3Fixture;

// A real MP3 holding a title and an artist, and a front cover when given.
inline QString makeTrack(const QString &dir, const QString &name, const QString &title,
                         const QString &artist, const QByteArray &cover = QByteArray())
{
    const QString path = F::create(dir, name);
    QList<TagLib::ID3v2::Frame *> frames = {F::textFrame("TIT2", title), F::textFrame("TPE1", artist)};
    if (!cover.isEmpty())
        frames << F::pictureFrame(cover);
    return !path.isEmpty() && F::addFrames(path, frames) ? path : QString();
}

// A file as taggers leave them: a full date, a track with its total, a plain
// and a described comment, two pictures, and none of the DJ frames (BPM, key,
// composer, grouping, label, remixer).
inline QString makeDetailed(const QString &dir, const QString &name)
{
    const QString path = F::create(dir, name);
    const bool ok = !path.isEmpty()
        && F::addFrames(path, {F::textFrame("TIT2", QStringLiteral("Night Drive")),
                               F::textFrame("TPE1", QStringLiteral("Ana Ruiz")),
                               F::textFrame("TALB", QStringLiteral("Late Hours")),
                               F::textFrame("TDRC", QStringLiteral("2019-05-03")),
                               F::textFrame("TRCK", QStringLiteral("3/12")),
                               F::textFrame("TCON", QStringLiteral("Deep House")),
                               F::commentFrame(QStringLiteral("Warm-up set")),
                               F::commentFrame(QStringLiteral(" 00000000 00000210 000007E4"),
                                               QStringLiteral("iTunSMPB")),
                               F::txxxFrame(QStringLiteral("REPLAYGAIN_TRACK_GAIN"), QStringLiteral("-6.20 dB")),
                               F::pictureFrame(F::encode(F::image(300, 300, Qt::darkCyan)), 3),
                               F::pictureFrame(F::encode(F::image(64, 64, Qt::yellow)), 4)});
    return ok ? path : QString();
}

inline int column(const AddMediaFileWidget &widget, const QString &key)
{
    const QTableWidget *table = widget.table();
    for (int c = 0; c < table->columnCount(); ++c) {
        const QTableWidgetItem *header = table->horizontalHeaderItem(c);
        if (header && header->text() == key)
            return c;
    }
    return -1;
}

inline QString cell(const AddMediaFileWidget &widget, int row, const QString &key)
{
    const QTableWidgetItem *item = widget.table()->item(row, column(widget, key));
    return item ? item->text() : QStringLiteral("<no item>");
}

inline QString location(const AddMediaFileWidget &widget, int row)
{
    return cell(widget, row, QStringLiteral("Location"));
}

inline QStringList columnTexts(const AddMediaFileWidget &widget, const QString &key)
{
    QStringList texts;
    for (int r = 0; r < widget.table()->rowCount(); ++r)
        texts << cell(widget, r, key);
    return texts;
}

inline int rowOf(const AddMediaFileWidget &widget, const QString &path)
{
    for (int r = 0; r < widget.table()->rowCount(); ++r) {
        if (location(widget, r) == path)
            return r;
    }
    return -1;
}

// An edit as the delegate makes it: through the item, with signals open.
inline bool edit(AddMediaFileWidget &widget, int row, const QString &key, const QString &text)
{
    QTableWidgetItem *item = widget.table()->item(row, column(widget, key));
    if (!item)
        return false;
    item->setData(Qt::DisplayRole, text);
    return true;
}

inline QLabel *coverLabel(const AddMediaFileWidget &widget, int row)
{
    return qobject_cast<QLabel *>(widget.table()->cellWidget(row, column(widget, QStringLiteral("CoverArt"))));
}

// Covers come after their rows, decoded off the GUI thread.
inline bool coversShown(const AddMediaFileWidget &widget)
{
    return QTest::qWaitFor([&widget] { return !widget.table()->covers()->pending(); }, 10000);
}

inline QSize coverSize(const AddMediaFileWidget &widget, int row)
{
    const QLabel *label = coverLabel(widget, row);
    if (!label)
        return QSize(-2, -2);
    const QPixmap pixmap = label->pixmap(Qt::ReturnByValue);
    return pixmap.isNull() ? QSize() : pixmap.size();
}

// The frame lines whose id is not among ids, sorted: what a save that wrote
// only ids must leave exactly as it was.
inline QStringList framesOtherThan(const QString &path, const QStringList &ids)
{
    QStringList kept;
    for (const QString &line : F::frameDump(path)) {
        if (!ids.contains(line.left(4)))
            kept << line;
    }
    kept.sort();
    return kept;
}

inline QStringList frameIds(const QStringList &keys)
{
    QStringList ids;
    for (const QString &key : keys)
        ids << QString::fromLatin1(Fields::of(*Fields::fromKey(key)).id3);
    return ids;
}

// Whether the audio frames came through a save unharmed and still close the
// file, ahead of any ID3v1 tag.
inline bool audioIntact(const QString &path)
{
    const QByteArray bytes = F::readBytes(path);
    return bytes.chopped(F::id3v1(path).size()).endsWith(F::silentAudio());
}

inline QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

struct Track
{
    Track(const QString &name, const QString &title, const QString &artist, const QSize &cover = QSize(),
          const QColor &colour = Qt::red, bool detailed = false)
        : name(name), title(title), artist(artist), cover(cover), colour(colour), detailed(detailed)
    {
    }

    QString name;
    QString title;
    QString artist;
    QSize cover; // invalid: no picture
    QColor colour;
    bool detailed; // made by makeDetailed, title and artist ignored
};

inline QList<Track> plainThree()
{
    return {{"a.mp3", "Alpha", "Ana"}, {"b.mp3", "Bravo", "Bea"}, {"c.mp3", "Charlie", "Cleo"}};
}

// a.mp3 with a 300 x 300 red cover, b.mp3 without, c.mp3 with a 120 x 80
// green one.
inline QList<Track> threeWithCovers()
{
    return {{"a.mp3", "Alpha", "Ana", QSize(300, 300), Qt::red},
            {"b.mp3", "Bravo", "Bea"},
            {"c.mp3", "Charlie", "Cleo", QSize(120, 80), Qt::green}};
}

inline QList<Track> detailedTracks(const QStringList &names)
{
    QList<Track> tracks;
    for (const QString &name : names)
        tracks.append({name, QString(), QString(), QSize(), Qt::red, true});
    return tracks;
}

// The start of every table test: real files in a folder of their own, made in
// order, their hashes as made, and a table owner to list them in.
class PopulatedTable
{
public:
    explicit PopulatedTable(const QList<Track> &tracks = plainThree())
    {
        for (const Track &track : tracks) {
            const QByteArray cover = track.cover.isValid()
                ? F::encode(F::image(track.cover.width(), track.cover.height(), track.colour))
                : QByteArray();
            paths << (track.detailed ? makeDetailed(dir.path(), track.name)
                                     : makeTrack(dir.path(), track.name, track.title, track.artist, cover));
            hashes << F::hash(paths.last());
        }
    }

    // Files made some other way, one call per file.
    PopulatedTable(int count, const std::function<QString(const QString &dir, int file)> &make)
    {
        for (int i = 0; i < count; ++i) {
            paths << make(dir.path(), i);
            hashes << F::hash(paths.last());
        }
    }

    bool made() const { return dir.isValid() && !paths.contains(QString()); }

    // Through the processing overlay, as the toolbar hands them over; all
    // files unless told which.
    bool list(const QStringList &which = QStringList())
    {
        widget.getMediaList(which.isEmpty() ? paths : which);
        return made() && widget.table()->rowCount() > 0 && coversShown();
    }

    bool coversShown() { return TableFixture::coversShown(widget); }

    bool show()
    {
        widget.resize(1200, 600);
        widget.show();
        QApplication::setActiveWindow(&widget);
        return QTest::qWaitForWindowActive(&widget);
    }
    bool listAndShow() { return list() && show(); }

    int row(int file) const { return rowOf(widget, paths.at(file)); }
    QString cell(int file, const QString &key) const { return TableFixture::cell(widget, row(file), key); }
    bool edit(int file, const QString &key, const QString &text)
    {
        return TableFixture::edit(widget, row(file), key, text);
    }
    // The unsaved changes per file, as "file:Key,Key[+cover]".
    QStringList recorded() const
    {
        QStringList described;
        for (int i = 0; i < paths.size(); ++i) {
            if (!widget.records().isChanged(paths.at(i)))
                continue;
            QStringList fields = widget.records().changedFields(paths.at(i)).values();
            fields.sort();
            described << QStringLiteral("%1:%2%3").arg(i).arg(
                fields.join(QLatin1Char(',')),
                widget.records().coverChanged(paths.at(i)) ? QStringLiteral("+cover") : QString());
        }
        return described;
    }
    bool unchanged(int file) const { return F::hash(paths.at(file)) == hashes.at(file); }
    bool noneWritten() const
    {
        for (int i = 0; i < paths.size(); ++i) {
            if (!unchanged(i))
                return false;
        }
        return true;
    }
    // Edits given as "file:Key=text".
    bool editAll(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QString token = step.section(QLatin1Char('='), 0, 0);
            if (!edit(token.section(QLatin1Char(':'), 0, 0).toInt(), token.section(QLatin1Char(':'), 1),
                      step.section(QLatin1Char('='), 1)))
                return false;
        }
        return true;
    }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QStringList paths;
    QList<QByteArray> hashes;
    AddMediaFileWidget widget;
};

// Whether every row shows its own file: name, title and artist as stored.
inline bool rowsShowTheirFiles(const AddMediaFileWidget &widget)
{
    for (int r = 0; r < widget.table()->rowCount(); ++r) {
        const QString path = location(widget, r);
        if (cell(widget, r, QStringLiteral("FileName")) != QFileInfo(path).fileName()
            || cell(widget, r, QStringLiteral("Title")) != TagReaderAndWriter::readTitle(path)
            || cell(widget, r, QStringLiteral("Artist")) != TagReaderAndWriter::readArtist(path))
            return false;
    }
    return true;
}

// The style sheet a changed or selected cover's label carries.
inline QString changedCoverStyle()
{
    return QStringLiteral("border: 2px solid blue");
}

// Colours after a JPEG round trip.
inline bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
}

// Emissions of a bool signal, in order.
inline QList<bool> boolValues(const QSignalSpy &spy)
{
    QList<bool> list;
    for (const QList<QVariant> &args : spy)
        list << args.at(0).toBool();
    return list;
}

inline const QString &savedText()
{
    static const QString text = QStringLiteral("All changes have been successfully saved!");
    return text;
}

inline QString failureText(int count, const QString &firstPath, const QString &reason)
{
    const QString files = count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
    return QStringLiteral("%1 could not be saved. First: %2 (%3)").arg(files, firstPath, reason);
}

} // namespace TableFixture
