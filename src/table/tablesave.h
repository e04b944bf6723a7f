#pragma once

#include "table/failurereport.h"

#include <functional>

class MediaFileTableWidget;
class RowRecords;

namespace TableSave {

// Writes what each changed row's record says changed and shows the outcome
// in its cells: the file's name and path as they now are. progress hears of
// the rows saved so far whenever events were let through.
FailureReport saveChanged(MediaFileTableWidget *table, RowRecords &records,
                          const std::function<void(int saved, int total)> &progress);

} // namespace TableSave
