#pragma once

#include "operations/bpmvalue.h"
#include "operations/musickey.h"

#include "table/rowrecords.h"
#include "tags/tagfields.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <memory>

class BulkTextPasses;
class MediaFileTableWidget;
class ProcessingBox;
class QAction;
class QTableWidgetItem;
class TableUndo;
class TagReaderAndWriter;

// Owns the media table, the editing buffer over the MP3 files: fills it from
// files, keeps a record per row of what changed, saves, undoes and clears.
class AddMediaFileWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AddMediaFileWidget(QWidget *parent = nullptr);
    ~AddMediaFileWidget() override;

    MediaFileTableWidget *table() const { return m_table; }

    // Column index of the column with this key, or -1.
    int columnOf(const QString &key) const;
    QString locationOf(int row) const;

    // Whether the list holds unsaved changes, as last reported through
    // someChangesHappen.
    bool hasUnsavedChanges() const { return m_unsavedChanges; }
    const RowRecords &records() const { return m_records; }
    TableUndo *history() const { return m_history; }

    // Gives the row a new cover (a null picture clears it), for the next
    // save to write.
    void replaceCover(int row, const QImage &picture);

    void removeSeratoTags();

    void removeExtraSpaces(QStringList &columns);
    void formatText(QString option, QStringList &columns);
    QString toTitleCase(QString text);
    bool renameRowFile(QString newBaseName, QString location, int row);
    void fillTagsFromFileName(QString fileName, QStringList &tags, QString sep, int row);

    // Lists the files and tells the user what was not listed: the files a
    // scan passed over by their name, and those whose content is no audio it
    // edits (a text file with an audio name), which are never listed.
    void addMedia(const QStringList &files, int skippedByName);

signals:
    void listPopulatesOrNot(bool a);
    void someChangesHappen(bool x);
    void undoActionPerformed(bool k);

public slots:
    void getMediaList(QStringList list);
    void initiating_Populating_Table();
    void someItemChanged(QTableWidgetItem *item);
    void columnMoved(int a, int b, int c);
    void getListStatusDuringDeletion(bool b);
    void getInitialClickedItem(int i_row, int i_col);
    void clearList();
    void UndoChangesInTable();
    void saveChangesToFile();
    void initiateSaveChanges();
    void findAndReplace(QStringList &fields, QString match, QString replacetext);
    void copyValueInItems(int row, int col);
    void copyActionFired();
    void pasteActionFired();
    void getSearchPattern(QString pattern);
    void changeTableView(int a);
    void getWhenDelClicked();
    void whenDeleteCompleted();
    void doubleClickedOnCell(int row, int col);
    void getCoverPicLocation(QString &loc);
    void tableSelectionChanged();
    void getTagsAndSepToRename(QStringList &tagslist, QString sep);
    void getTagListAndSep_To_FetchFromFile(QStringList &tagslist, QString sep);
    // One undoable step each, from the side panel: a text, or a cover (a
    // null picture removes them), on the given rows.
    void setFieldOfRows(const QString &key, const QString &text, const QList<int> &rows);
    void setCoverOfRows(const QImage &picture, const QList<int> &rows);
    // Each one undoable step over every row.
    void convertKeys(KeyNotation notation);
    void normaliseBpm(BpmValue::Precision precision, std::optional<BpmValue::Range> fold);

private:
    void createTable();
    void createActions();
    void reportUnsavedState();
    void runUnderOverlay(void (AddMediaFileWidget::*work)(), int steps = 0, bool stoppable = false);
    void showProgress(int done, int total);
    void populate(const QStringList &paths);
    void emptyTable();

    MediaFileTableWidget *m_table = nullptr;
    TagReaderAndWriter *m_tags = nullptr;
    ProcessingBox *m_processingBox = nullptr;
    QStringList m_pendingMediaList;
    QStringList m_refused; // files of the last adding whose content is no audio it edits
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    int m_coverBoxRow = -1;
    int m_coverBoxColumn = -1;
    int m_selectionTracking = 0;

    RowRecords m_records;
    std::unique_ptr<BulkTextPasses> m_passes;
    TableUndo *m_history = nullptr;
    bool m_unsavedChanges = false;
    bool m_saving = false;
};
