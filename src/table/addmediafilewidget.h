#pragma once

#include "table/changeset.h"
#include "table/tablehelpers.h"
#include "tags/tagfields.h"

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class MediaFileTableWidget;
class ProcessingBox;
class QAction;
class QLabel;
class QTableWidgetItem;
class TagReaderAndWriter;

// Owns the media table, the editing buffer over the MP3 files: fills it from
// files, tracks what changed, saves, undoes and clears.
class AddMediaFileWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AddMediaFileWidget(QWidget *parent = nullptr);

    MediaFileTableWidget *table() const { return m_table; }

    // Column index of the column whose header text is key, or -1.
    int columnOf(const QString &key) const;
    QString locationOf(int row) const;

    // Whether the list holds unsaved changes, as last reported through
    // someChangesHappen.
    bool hasUnsavedChanges() const { return m_unsavedChanges; }
    const ChangeSet &changes() const { return m_changes; }

    // Records a change of the row's cover cell, so the next save writes it.
    void markCoverChanged(int row);

    void removeSeratoTags();

    void removeExtraSpaces(QStringList &columns);
    void formatText(QString option, QStringList &columns);
    QString toTitleCase(QString text);
    bool renameRowFile(QString newBaseName, QString location, int row);
    void fillTagsFromFileName(QString fileName, QStringList &tags, QString sep, int row);

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

private:
    void createTable();
    void createActions();
    void populate(const QStringList &paths);
    void fillRow(int row, const QString &path, const TagRecord &record);
    bool saveRow(int row);
    void setCell(int row, int column, const QString &text);
    QLabel *coverLabel(int row) const;
    void stretchColumnsOfEmptyList();
    void emptyTable();
    bool refuseEmptyList();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void forgetPressedCell();
    void holdSortingForDrag(bool hold);
    void setCoverBorder(QLabel *label, bool blue);
    void installChangedCover(int row, const QImage &image);
    void rewriteColumns(const QStringList &columns, const std::function<QString(const QString &)> &rewrite);

    MediaFileTableWidget *m_table = nullptr;
    TagReaderAndWriter *m_tags = nullptr;
    ProcessingBox *m_processingBox = nullptr;
    QStringList m_pendingMediaList;
    int m_pressedRow = -1;
    int m_pressedColumn = -1;
    QString m_copiedText;
    QImage m_copiedPicture;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    int m_coverBoxRow = -1;
    int m_coverBoxColumn = -1;
    int m_selectionTracking = 0;

    std::optional<SortingPause> m_dragPause;
    QList<QPointer<QLabel>> m_blueCovers;

    ChangeSet m_changes;
    bool m_unsavedChanges = false;
    bool m_saving = false;
};
