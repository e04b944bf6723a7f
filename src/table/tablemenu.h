#pragma once

class MediaFileTableWidget;
class QMenu;
class QWidget;
class TableUndo;

// The table's right-click menu: the history's next steps, then the cell
// commands, each enabled only where it applies to the selection.
namespace TableMenu {

// The menu as things stand; the caller owns it.
QMenu *create(MediaFileTableWidget *table, TableUndo *history, QWidget *parent = nullptr);
// Shows it on a right-click in the table.
void attach(MediaFileTableWidget *table, TableUndo *history);

} // namespace TableMenu
