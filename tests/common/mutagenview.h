#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

// An independent reader's view of a file's ID3v2 tag (mutagen, from Debian's
// python3-mutagen): what other tag software will see.
namespace MutagenView {

// False when the system interpreter cannot import mutagen; tests skip then.
bool available();

// {"version": [2, minor, 0], "frames": [{"id", "text", "desc", "mime", "type", "encoding"}]},
// frames as stored (a 2.3 tag keeps its 2.3 frames).
QJsonObject view(const QString &path);
QList<QJsonObject> framesWithId(const QJsonObject &view, const QString &id);
QStringList frameIds(const QString &path);
// The first text of the first frame with the id, empty without one.
QString text(const QString &path, const QString &id);

// Whether mutagen finds an ID3 tag (v2 in front, or v1 at the end) in a file
// of any format.
bool hasId3(const QString &path);

} // namespace MutagenView
