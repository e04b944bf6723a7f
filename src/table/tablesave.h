#pragma once

#include "table/failurereport.h"

#include <functional>

class MediaFileTableWidget;
class RowRecords;

namespace TableSave {

struct Report
{
    FailureReport failures;  // files not written, or not all of their edits
    FailureReport leftAlone; // a typed track or year that is none, per field

    bool isClean() const { return failures.isEmpty() && leftAlone.isEmpty(); }
    // What the user is told of a save that was not clean.
    QString message() const;
};

// Writes what each changed row's record says changed and shows the outcome
// in its cells: the file's name and path as they now are. progress hears of
// the rows saved so far whenever events were let through.
Report saveChanged(MediaFileTableWidget *table, RowRecords &records,
                          const std::function<void(int saved, int total)> &progress);

} // namespace TableSave
