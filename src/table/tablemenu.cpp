#include "table/tablemenu.h"

#include "table/mediafiletablewidget.h"
#include "table/tableundo.h"

#include <QAction>
#include <QMenu>

#include <functional>
#include <memory>

namespace TableMenu {

QMenu *create(MediaFileTableWidget *table, TableUndo *history, QWidget *parent)
{
    // A drag begun by the right-click's own press ends here.
    history->end();
    auto *menu = new QMenu(parent);
    menu->addAction(history->undoAction());
    menu->addAction(history->redoAction());
    menu->addSeparator();
    const auto add = [menu, table](const QString &text, bool enabled, const std::function<void()> &command) {
        QAction *action = menu->addAction(text);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, table, command);
    };
    add(QObject::tr("Copy"), table->canCopy(), [table] { table->copySelectedCell(); });
    add(QObject::tr("Paste"), table->canPaste(), [table] { table->pasteIntoSelectedCell(); });
    add(QObject::tr("Clear"), table->canClearCells(), [table] { table->clearSelectedCells(); });
    add(QObject::tr("Remove from List"), table->canRemoveRows(), [table] { table->removeSelectedRows(); });
    return menu;
}

void attach(MediaFileTableWidget *table, TableUndo *history)
{
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(table, &QWidget::customContextMenuRequested, history, [table, history](const QPoint &pos) {
        const std::unique_ptr<QMenu> menu(create(table, history, table));
        menu->exec(table->viewport()->mapToGlobal(pos));
    });
}

} // namespace TableMenu
