#include "common/mutagenview.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace MutagenView {

namespace {

// Debian's mutagen lives with the system interpreter, whatever comes first on PATH.
const QString kPython = QStringLiteral("/usr/bin/python3");

const char *const kDump = R"(
import json, sys
from mutagen.id3 import ID3
tag = ID3(sys.argv[1], load_v1=False, translate=False)
frames = []
for f in tag.values():
    d = {"id": f.FrameID}
    if hasattr(f, "text"):
        d["text"] = [str(t) for t in f.text]
    for name in ("desc", "mime"):
        if hasattr(f, name):
            d[name] = str(getattr(f, name))
    if hasattr(f, "type"):
        d["type"] = int(f.type)
    if hasattr(f, "encoding"):
        d["encoding"] = int(f.encoding)
    frames.append(d)
print(json.dumps({"version": list(tag.version), "frames": frames}))
)";

} // namespace

bool available()
{
    QProcess probe;
    probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import mutagen")});
    return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

QJsonObject view(const QString &path)
{
    QProcess python;
    python.start(kPython, {QStringLiteral("-c"), QString::fromLatin1(kDump), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return QJsonObject();
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QList<QJsonObject> framesWithId(const QJsonObject &view, const QString &id)
{
    QList<QJsonObject> found;
    for (const QJsonValue &frame : view.value(QStringLiteral("frames")).toArray()) {
        if (frame.toObject().value(QStringLiteral("id")).toString() == id)
            found << frame.toObject();
    }
    return found;
}

QStringList frameIds(const QString &path)
{
    QStringList ids;
    for (const QJsonValue &frame : view(path).value(QStringLiteral("frames")).toArray())
        ids << frame.toObject().value(QStringLiteral("id")).toString();
    return ids;
}

QString text(const QString &path, const QString &id)
{
    const QList<QJsonObject> frames = framesWithId(view(path), id);
    return frames.isEmpty() ? QString()
                            : frames.first().value(QStringLiteral("text")).toArray().at(0).toString();
}

bool hasId3(const QString &path)
{
    const char *const probe = R"(
import sys
from mutagen.id3 import ID3, ID3NoHeaderError
try:
    ID3(sys.argv[1])
    print("yes")
except ID3NoHeaderError:
    print("no")
)";
    QProcess python;
    python.start(kPython, {QStringLiteral("-c"), QString::fromLatin1(probe), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        qWarning() << python.readAllStandardError();
    return python.readAllStandardOutput().trimmed() != "no";
}

} // namespace MutagenView
