#pragma once

#include <QString>

// What a new file name may be: renaming (from the "FileName" cell or from
// tags) only ever gives a file another name in its own folder, and keeps the
// extension the name has (as written: ".FLAC" stays ".FLAC").
namespace FileNameRules {

// False for a name that is empty, "." or "..", or holds a path separator (on
// Windows also a character the file system forbids in names).
bool isSafeBaseName(const QString &name);

struct RenameTarget
{
    bool ok = false;
    QString path; // the full target path when ok
};

// The target for a name typed into the "FileName" cell: the current name's
// extension is appended, after dropping it from the typed name's end if there
// (in any case: "Intro.flac" on "a.FLAC" gives "Intro.FLAC"); any other
// ending stays part of the name. What is left must be safe.
RenameTarget targetForTypedName(const QString &currentPath, const QString &newName);

// The target for a base name built from tag values: <folder>/<base><extension>.
RenameTarget targetForBaseName(const QString &currentPath, const QString &baseName);

} // namespace FileNameRules
