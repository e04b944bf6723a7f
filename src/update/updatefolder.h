#pragma once

#include <QDateTime>
#include <QString>

// Name of a fresh download folder: "update" and a hash of the moment.
QString updateFolderName(const QDateTime &moment);

// The file name part of a download address, "Sonvel.exe" when it has none.
QString installerFileName(const QString &downloadAddress);

// The folder that holds the download folders, ending in "/".
QString updateBaseFolder();

// Removes folder with everything in it; true when it is gone or never was.
// An empty or relative path is refused (false): it would name the working
// directory or something below it.
bool removeDirectoryRecursively(const QString &folder);
