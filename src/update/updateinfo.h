#pragma once

#include <QByteArray>
#include <QString>

// What the web service offers; every field is empty, 0 or false when the
// check failed.
struct UpdateInfo
{
    QString version;
    QString downloadPath;
    int os = 0; // 1 Windows, 2 macOS, 0 anything else
    bool forceUpdate = false;
};

// Operating-system kinds as the web service names them.
namespace OsKind {
enum Kind {
    Unknown = 0,
    Windows = 1,
    MacOs = 2,
};
} // namespace OsKind

// The word the service expects for kind, or an empty string for a kind it
// has no installers for.
QString osWord(int kind);

// Reads a "getupdate" answer. accepted is false (and the record empty) unless
// the answer's "success" field reads true.
UpdateInfo parseUpdateAnswer(const QByteArray &json, bool &accepted);

// Versions compare as decimal numbers, so "1.10" equals "1.1" and text that
// is no number counts as 0.
bool isNewerVersion(const QString &offered, const QString &current);
