#pragma once

#include <QString>

// What a new file name may be: renaming (from the "FileName" cell or from
// tags) only ever gives a file another name in its own folder.
namespace FileNameRules {

// False for a name that is empty, "." or "..", or holds a path separator (on
// Windows also a character the file system forbids in names).
bool isSafeBaseName(const QString &name);

// Only a file whose name ends in ".mp3" (lower case) is ever renamed.
bool isRenamable(const QString &currentPath);

struct RenameTarget
{
    bool ok = false;
    QString path; // the full target path when ok
};

// The target for a name typed into the "FileName" cell: ".mp3" (lower case)
// is appended unless the name already ends with it; the name without it must
// be safe. The file must currently end in ".mp3" too.
RenameTarget targetForTypedName(const QString &currentPath, const QString &newName);

// The target for a base name built from tag values: <folder>/<base>.mp3.
RenameTarget targetForBaseName(const QString &currentPath, const QString &baseName);

} // namespace FileNameRules
