#pragma once

#include "tags/tagwriteresult.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The file-system calls a save that cannot tear a file needs, for POSIX and
// Windows: writes that reach the disk before they count, a new file put in
// place of the old one in one atomic rename, and failures told apart
// (read-only file, unwritable folder, full disk).
namespace SafeFile {

struct Run
{
    qint64 offset = 0;
    QByteArray bytes;
};

// Writes each run over the file's bytes at its offset, in one call each; a
// run at the end adds to the file.
TagWriteError overwrite(const QString &path, const std::vector<Run> &runs);

// A new file beside target, in the same folder, that takes target's place.
// Its name says whose it is ("Track.mp3.sonvel-save-Ab3dE9"); it is removed
// unless it replaced target.
class Replacement
{
public:
    explicit Replacement(const QString &target);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Refuses a target that is read-only, or has other hard links (they
    // would keep the old file), or whose folder takes no new file.
    TagWriteError open();
    TagWriteError write(const QByteArray &bytes);
    // Flushes the new file to disk, with target's permissions (and owner
    // and group where allowed).
    TagWriteError finish();
    QString path() const { return m_path; }
    // Renames the new file over target and flushes the folder.
    TagWriteError replaceTarget();

private:
    const QString m_target;
    QString m_path;
    qintptr m_handle = -1;
    bool m_replaced = false;
};

// A file such a save left behind when the program was stopped half way.
bool isLeftover(const QString &fileName);
// Removes it, unless a save still writes it.
bool removeLeftover(const QString &path);

} // namespace SafeFile
