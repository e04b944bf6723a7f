#pragma once

#include "operations/bpmvalue.h"
#include "operations/filenamerules.h"
#include "operations/musickey.h"
#include "table/failurereport.h"
#include "table/renamepreview.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class MediaFileTableWidget;
class RowRecords;

struct FileRename
{
    QString from;
    QString to;
};

// The operation panel's passes over every row of the table: rewriting the
// chosen columns' texts, renaming files from their tags and filling tags from
// file names, each telling the user how it went. They change cells; the
// table's owner tracks the edits.
class BulkTextPasses
{
public:
    BulkTextPasses(MediaFileTableWidget *table, RowRecords *records);

    // Tells the user when the list is empty.
    bool refuseEmptyList() const;

    // Acts on the files at once, not on the table.
    void removeSeratoTags();

    void findAndReplace(const QStringList &columns, const QString &match, const QString &replacement);
    void removeExtraSpaces(const QStringList &columns);
    // option: "Capitalize", "Upper Case" or "Lower Case".
    void formatText(const QString &option, const QStringList &columns);
    static QString toTitleCase(const QString &text);

    // Every InitialKey that reads as a key, written in notation; every BPM
    // that reads as a tempo, rounded (and folded into a range). Cells that
    // hold no key or tempo are left as they are, and counted for the user.
    void convertKeys(KeyNotation notation);
    void normaliseBpm(BpmValue::Precision precision, std::optional<BpmValue::Range> fold);

    // Writing goes through the items with the table's signals open, so each
    // cell that really changes is tracked like a hand edit; a cell given its
    // own text again reports nothing.
    void rewriteColumns(const QStringList &columns, const std::function<QString(const QString &)> &rewrite);

    struct Rewritten
    {
        int changed = 0;
        int unread = 0; // cells convert could not read, left as they are
    };
    // One column's cells through convert; blank cells are passed over.
    Rewritten rewriteReadable(const QString &column,
                              const std::function<std::optional<QString>(const QString &)> &convert);

    // Both show their preview (PreviewDialog::ask) first and, when the user
    // goes ahead, change exactly the rows it listed as changing. The renames
    // done, in order.
    QVector<FileRename> renameFromTags(const QStringList &tags, const QString &separator);
    // Empty when done, else why not.
    QString renameRowFile(const QString &newBaseName, const QString &location, int row);

    void tagsFromFileNames(const QStringList &tags, const QString &separator);
    void fillTagsFromFileName(const QString &fileName, const QStringList &tags, const QString &separator, int row);

private:
    // The rows' names and the cells of the pattern's tags.
    QVector<RenamePreview::RowTexts> rowTexts(const QStringList &tags) const;
    bool askToGoOn(const RenamePreview::Preview &preview, const QString &nothingToDo) const;
    QVector<FileRename> renameRows(const RenamePreview::Preview &preview, FailureReport &failures);
    void fillRows(const RenamePreview::Preview &preview);
    QHash<QString, int> rowsByLocation() const;
    QString moveRowFile(const QString &location, const FileNameRules::RenameTarget &target, int row);
    void setCell(int row, int column, const QString &text);

    MediaFileTableWidget *m_table;
    RowRecords *m_records;
};
