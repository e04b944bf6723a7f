#pragma once

#include <QStringList>

// Finds the audio files in what the user hands over (dropped files and folders,
// a picked folder, the command line). Widget-free.
namespace MediaScan {

struct Result
{
    QStringList files;   // every audio file once, sorted by path
    int skipped = 0;     // other files met on the way
    QStringList missing; // given paths that do not exist
};

// Whether the name ends in an audio format's extension, in any case
// ("Song.FLAC"). Only the name: the table refuses content that is no audio.
bool isAudioName(const QString &path);

// Whether any of the paths is a folder or an audio file; decides whether a drag
// may drop, without walking folders.
bool holdsMedia(const QStringList &paths);

// What adding tells the user when not every file found was listed: how many
// were added, how many were passed over by their name, and which were refused
// because their content is no audio of a known format. Empty when all were.
QString addingMessage(int added, int skippedByName, const QStringList &refused);

// Folders are searched recursively. Files a stopped save left beside the
// files it saved are removed on the way, unless a save still writes them. A folder reached twice (a link to a
// parent, say) is walked once, a file reached twice listed once; folders that
// cannot be read are passed over.
Result collect(const QStringList &paths);

} // namespace MediaScan
