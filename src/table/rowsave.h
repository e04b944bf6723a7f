#pragma once

#include "operations/filenamerules.h"
#include "table/failurereport.h"

#include <QImage>
#include <QMap>
#include <QString>

#include <optional>

// One row's unsaved edit, as the save writes it.
struct RowEdit
{
    QString path;
    std::optional<QString> fileName; // what the "FileName" cell holds, when it was edited
    QMap<QString, QString> fields;   // the edited text fields: column key -> text
    std::optional<QImage> cover;     // a new cover; a null image removes every picture
};

struct RowSaveOutcome
{
    QString path;             // where the file is now
    QString failure;          // why not all of it was stored; empty when it was
    bool keepChanges = false; // the row stays unsaved, so a later save tries again
    // Edited fields not written because the file cannot store their text (a
    // track or a year that is none): the file keeps its own, the row its edit.
    QStringList leftAlone;

    bool ok() const { return failure.isEmpty(); }
};

// The save of one row, widget-free: renames the file when its name was
// edited (keeping its extension), then writes the edited fields and the
// cover in one save, the cover as the saving options say (fitted, or kept as
// chosen from its original in CoverOriginals). A refused or failed rename
// keeps the row unsaved; its other edits are still written.
namespace RowSave {

RowSaveOutcome save(const RowEdit &edit);

// Moves the file at from to target; empty when done, else why not.
QString rename(const QString &from, const FileNameRules::RenameTarget &target);

// Covers fitted to be stored are fitted into the 400 x 400 square, small ones
// enlarged; the table holds them fitted into it, never enlarged, each with
// the original of the picture it was made from.
QImage fitForStorage(const QImage &picture);
QImage fitForTable(const QImage &picture);

// Removes the DJ software's data from each file; says which could not be changed.
FailureReport removeDjData(const QStringList &locations);

} // namespace RowSave
