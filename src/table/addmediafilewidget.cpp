#include "table/addmediafilewidget.h"

#include "operations/filenamepattern.h"
#include "operations/filenamerules.h"
#include "operations/textoperations.h"
#include "table/coverartdisplaybox.h"
#include "table/failurereport.h"
#include "table/mediafileitemdelegate.h"
#include "table/mediafiletablewidget.h"
#include "table/tablehelpers.h"
#include "tags/tagreadahead.h"
#include "tags/tagreaderandwriter.h"
#include "theme/vrfontprovider.h"
#include "widgets/processingbox.h"
#include "widgets/vrnotification.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QSet>
#include <QVBoxLayout>

#include <optional>

namespace {

using TagColumns::Kind;

const QString &kCoverArt = TagColumns::key(Kind::Cover);
const QString &kFileName = TagColumns::key(Kind::FileName);
const QString &kLocation = TagColumns::key(Kind::Location);

QLabel *newCoverLabel(const QImage &image)
{
    auto *label = new QLabel;
    label->setPixmap(QPixmap::fromImage(image));
    label->setAlignment(Qt::AlignAbsolute);
    return label;
}

} // namespace

AddMediaFileWidget::AddMediaFileWidget(QWidget *parent)
    : QWidget(parent)
    , m_tags(new TagReaderAndWriter(this))
{
    createTable();

    QPalette palette = this->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QColor(252, 252, 252, 255));
    setPalette(palette);
    setAutoFillBackground(true);

    createActions();

    // The one place that learns what the bars were last told.
    connect(this, &AddMediaFileWidget::someChangesHappen, this, [this](bool changed) {
        m_unsavedChanges = changed;
    });
}

void AddMediaFileWidget::createTable()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_table = new MediaFileTableWidget(this);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSortingEnabled(true);
    m_table->setWordWrap(true);
    m_table->setColumnCount(TagColumns::count());
    m_table->setColumnWidth(TagColumns::position(Kind::Cover), 200);
    m_table->setFont(VrFontProvider::font13(QFont::Normal));
    m_table->setHorizontalHeaderLabels(TagColumns::keys());
    m_table->setColumnHidden(TagColumns::position(Kind::Location), true);
    layout->addWidget(m_table);

    m_table->setItemDelegate(new MediaFileItemDelegate(m_table));
    m_table->horizontalHeader()->setSectionsMovable(false);
    m_table->horizontalHeader()->setProperty("resSize", QStringLiteral("small"));

    connect(m_table, &QTableWidget::cellPressed, this, &AddMediaFileWidget::getInitialClickedItem);
    connect(m_table, &QTableWidget::cellEntered, this, &AddMediaFileWidget::copyValueInItems);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &AddMediaFileWidget::tableSelectionChanged);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &AddMediaFileWidget::doubleClickedOnCell);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionMoved, this, &AddMediaFileWidget::columnMoved);
    connect(m_table, &QTableWidget::itemChanged, this, &AddMediaFileWidget::someItemChanged);
    connect(m_table, &MediaFileTableWidget::listEmptyOrNot, this, &AddMediaFileWidget::getListStatusDuringDeletion);
    connect(m_table, &MediaFileTableWidget::coverArtDeleted, this, &AddMediaFileWidget::someChangesHappen);
    connect(m_table, &MediaFileTableWidget::delButtonClicked, this, &AddMediaFileWidget::getWhenDelClicked);
    connect(m_table, &MediaFileTableWidget::deletionCompleted, this, &AddMediaFileWidget::whenDeleteCompleted);
    connect(m_table, &MediaFileTableWidget::coverCleared, this, [this](int row) {
        setCoverBorder(coverLabel(row), true);
        markCoverChanged(row);
    });
    connect(m_table, &MediaFileTableWidget::rowRemoved, this, [this](const QString &location) {
        m_changes.remove(location);
        forgetPressedCell();
    });
    // Presses that miss every cell, and the end of a drag.
    m_table->viewport()->installEventFilter(this);
}

void AddMediaFileWidget::createActions()
{
    m_copyAction = new QAction(tr("Copy Action"), this);
    m_copyAction->setShortcut(QKeySequence(tr("Ctrl+c"), QKeySequence::NativeText));
    addAction(m_copyAction);
    m_pasteAction = new QAction(tr("Paste Action"), this);
    m_pasteAction->setShortcut(QKeySequence(tr("Ctrl+v"), QKeySequence::NativeText));
    addAction(m_pasteAction);
    connect(m_copyAction, &QAction::triggered, this, &AddMediaFileWidget::copyActionFired);
    connect(m_pasteAction, &QAction::triggered, this, &AddMediaFileWidget::pasteActionFired);
}

int AddMediaFileWidget::columnOf(const QString &key) const
{
    return m_table->columnOf(key);
}

QString AddMediaFileWidget::locationOf(int row) const
{
    return m_table->locationOf(row);
}

QLabel *AddMediaFileWidget::coverLabel(int row) const
{
    return qobject_cast<QLabel *>(m_table->cellWidget(row, columnOf(kCoverArt)));
}

void AddMediaFileWidget::markCoverChanged(int row)
{
    if (!m_saving)
        m_changes.markCover(locationOf(row));
}

void AddMediaFileWidget::getMediaList(QStringList list)
{
    m_pendingMediaList = list;
    m_processingBox = new ProcessingBox(this);
    connect(m_processingBox, &ProcessingBox::sendASignal, this, &AddMediaFileWidget::initiating_Populating_Table);
    m_processingBox->exec();
    delete m_processingBox;
    m_processingBox = nullptr;
}

void AddMediaFileWidget::initiating_Populating_Table()
{
    populate(m_pendingMediaList);
    m_pendingMediaList.clear();
}

void AddMediaFileWidget::populate(const QStringList &paths)
{
    m_selectionTracking = 1;
    if (paths.isEmpty())
        return;

    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    QSet<QString> listed;
    const int locationColumn = columnOf(kLocation);
    for (int r = 0; r < m_table->rowCount(); ++r) {
        if (const QTableWidgetItem *item = m_table->item(r, locationColumn))
            listed.insert(item->text());
    }
    QStringList added;
    for (const QString &path : paths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (listed.contains(absolute))
            continue;
        listed.insert(absolute);
        added.append(absolute);
    }

    {
        SortingPause pause(m_table);
        const QSignalBlocker blocker(m_table);
        int row = m_table->rowCount();
        // All rows at once: inserting them one by one moves every cell after
        // them each time.
        m_table->setRowCount(row + added.size());
        if (!added.isEmpty())
            m_table->horizontalHeader()->setSectionResizeMode(columnOf(kCoverArt), QHeaderView::Fixed);
        EventPump events;
        TagReadAhead records(added);
        for (const QString &path : qAsConst(added)) {
            events.pump();
            fillRow(row++, path, records.take());
        }
    }
    m_table->setSortingEnabled(true);
    emit listPopulatesOrNot(m_table->rowCount() > 0);
}

void AddMediaFileWidget::fillRow(int row, const QString &path, const TagRecord &record)
{
    const QVector<TagColumns::Column> &columns = TagColumns::all();
    for (int c = 0; c < columns.size(); ++c) {
        switch (columns.at(c).kind) {
        case Kind::Cover:
            m_table->setCellWidget(row, c, newCoverLabel(record.cover));
            break;
        case Kind::FileName:
            m_table->setItem(row, c, new QTableWidgetItem(QFileInfo(path).fileName()));
            break;
        case Kind::Location:
            m_table->setItem(row, c, new QTableWidgetItem(path));
            break;
        case Kind::Text:
            m_table->setItem(row, c, new QTableWidgetItem(record.fields.value(columns.at(c).key)));
            break;
        }
    }
}

void AddMediaFileWidget::someItemChanged(QTableWidgetItem *item)
{
    // The save's own renames of cells are not edits.
    if (m_saving || !item)
        return;
    const QTableWidgetItem *header = m_table->horizontalHeaderItem(item->column());
    if (header && header->text() != kLocation)
        m_changes.markField(locationOf(item->row()), header->text());
    emit someChangesHappen(true);
}

void AddMediaFileWidget::columnMoved(int a, int b, int c)
{
    qDebug() << a << b << c;
}

void AddMediaFileWidget::getListStatusDuringDeletion(bool)
{
    if (m_table->rowCount() > 0)
        return;
    m_changes.clear();
    stretchColumnsOfEmptyList();
    emit listPopulatesOrNot(false);
    emit someChangesHappen(false);
}

void AddMediaFileWidget::getInitialClickedItem(int i_row, int i_col)
{
    m_pressedRow = i_row;
    m_pressedColumn = i_col;
}

void AddMediaFileWidget::stretchColumnsOfEmptyList()
{
    for (int c = 0; c < m_table->columnCount(); ++c) {
        if (m_table->horizontalHeaderItem(c)->text() != kCoverArt)
            m_table->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    }
}

// Every row gone, with all that refers to rows: edits, the pressed cell,
// sorting.
void AddMediaFileWidget::emptyTable()
{
    forgetPressedCell();
    m_selectionTracking = 0;
    m_table->setRowCount(0);
    m_changes.clear();
    stretchColumnsOfEmptyList();
    m_table->setSortingEnabled(false);
}

void AddMediaFileWidget::clearList()
{
    emptyTable();
    emit listPopulatesOrNot(false);
    emit someChangesHappen(false);
}

void AddMediaFileWidget::UndoChangesInTable()
{
    QStringList locations;
    for (int r = 0; r < m_table->rowCount(); ++r)
        locations.append(locationOf(r));
    emptyTable();
    getMediaList(locations);
    emit someChangesHappen(false);
    emit undoActionPerformed(true);
}

void AddMediaFileWidget::saveChangesToFile()
{
    m_processingBox = new ProcessingBox(this);
    connect(m_processingBox, &ProcessingBox::sendASignal, this, &AddMediaFileWidget::initiateSaveChanges);
    m_processingBox->exec();
    delete m_processingBox;
    m_processingBox = nullptr;
}

void AddMediaFileWidget::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = m_table->item(row, column))
        item->setData(Qt::DisplayRole, text);
}

// Writes only what changed in the row: a rename when "FileName" changed, the
// changed text fields, the cover when its cell changed. Returns false when
// any of it could not be done.
bool AddMediaFileWidget::saveRow(int row)
{
    QString path = locationOf(row);
    const QSet<QString> fields = m_changes.changedFields(path);
    bool ok = true;

    if (fields.contains(kFileName)) {
        const int nameColumn = columnOf(kFileName);
        const QString newName = m_table->item(row, nameColumn)->text();
        const QString currentName = QFileInfo(path).fileName();
        if (newName != currentName) {
            const FileNameRules::RenameTarget target = FileNameRules::targetForTypedName(path, newName);
            if (target.ok && target.path == path) {
                // "a" for "a.mp3": the name the file already has.
                setCell(row, nameColumn, currentName);
            } else if (target.ok && QFileInfo(path).isFile() && QFile::rename(path, target.path)) {
                setCell(row, columnOf(kLocation), target.path);
                setCell(row, nameColumn, QFileInfo(target.path).fileName());
                m_changes.rename(path, target.path);
                path = target.path;
            } else {
                // A file whose name does not end in ".mp3" is never renamed
                // and its cell keeps what was typed.
                if (path.endsWith(QLatin1String(".mp3")))
                    setCell(row, nameColumn, currentName);
                ok = false;
            }
        }
    }

    QMap<QString, QString> values;
    for (const QString &key : TagKeys::textFields()) {
        if (fields.contains(key))
            values.insert(key, m_table->item(row, columnOf(key))->text());
    }
    std::optional<QImage> cover;
    if (m_changes.coverChanged(path)) {
        const QLabel *label = coverLabel(row);
        const QPixmap pixmap = label ? label->pixmap(Qt::ReturnByValue) : QPixmap();
        cover = pixmap.isNull() ? QImage()
                                : pixmap.scaled(TagKeys::kCoverFit, TagKeys::kCoverFit, Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation)
                                      .toImage();
    }
    if (!values.isEmpty() || cover)
        ok = bool(TagReaderAndWriter::writeAll(path, values, cover)) && ok;

    if (ok)
        m_changes.remove(path);
    return ok;
}

void AddMediaFileWidget::initiateSaveChanges()
{
    if (m_table->rowCount() == 0)
        return;

    FailureReport failures;
    {
        SortingPause pause(m_table);
        m_saving = true;
        EventPump events;
        for (int r = 0; r < m_table->rowCount(); ++r) {
            events.pump();
            if (!m_changes.contains(locationOf(r)))
                continue;
            if (!saveRow(r))
                failures.addFailure(locationOf(r));
        }
        m_saving = false;
    }

    if (failures.isEmpty()) {
        VrNotification::showNotification(QStringLiteral("All changes have been successfully saved!"), Success);
        emit someChangesHappen(false);
    } else {
        // The rows stay changed, so the user can fix the cause and save again.
        VrNotification::showNotification(failures.message(QStringLiteral("saved")), Error);
    }
}

void AddMediaFileWidget::removeSeratoTags()
{
    if (m_table->rowCount() == 0) {
        VrNotification::showNotification(QStringLiteral("File list is empty. Operation can not be performed."),
                                         Warning);
        return;
    }
    FailureReport failures;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const QString location = locationOf(r);
        if (!TagReaderAndWriter::removeSeratoData(location.toUtf8().constData()))
            failures.addFailure(location);
    }
    if (failures.isEmpty())
        VrNotification::showNotification(QStringLiteral("Serato tags have been successfully removed!"), Success);
    else
        VrNotification::showNotification(failures.message(QStringLiteral("changed")), Error);
}

bool AddMediaFileWidget::refuseEmptyList()
{
    if (m_table->rowCount() > 0)
        return false;
    VrNotification::showNotification(QStringLiteral("File list is empty. Operation can not be performed."), Warning);
    return true;
}

// One pass over the chosen columns of every row. Writing goes through the
// items with the table's signals open, so each cell that really changes is
// tracked like a hand edit; a cell given its own text again reports nothing.
void AddMediaFileWidget::rewriteColumns(const QStringList &columns,
                                        const std::function<QString(const QString &)> &rewrite)
{
    SortingPause pause(m_table);
    for (int r = 0; r < m_table->rowCount(); ++r) {
        for (int c = 0; c < m_table->columnCount(); ++c) {
            if (!columns.contains(m_table->horizontalHeaderItem(c)->text()))
                continue;
            if (QTableWidgetItem *item = m_table->item(r, c))
                item->setData(Qt::DisplayRole, rewrite(item->text()));
        }
    }
}

void AddMediaFileWidget::findAndReplace(QStringList &fields, QString match, QString replacetext)
{
    if (refuseEmptyList())
        return;
    rewriteColumns(fields, [&](const QString &text) {
        if (!text.contains(match, Qt::CaseSensitive))
            return text;
        return QString(text).replace(match, replacetext, Qt::CaseSensitive);
    });
    VrNotification::showNotification(QStringLiteral("All Text has been successfully replaced!"), Success);
}

void AddMediaFileWidget::removeExtraSpaces(QStringList &columns)
{
    if (refuseEmptyList())
        return;
    rewriteColumns(columns, [](const QString &text) { return text.simplified(); });
    VrNotification::showNotification(QStringLiteral("All extra spaces have been successfully removed!"), Success);
}

void AddMediaFileWidget::formatText(QString option, QStringList &columns)
{
    if (refuseEmptyList())
        return;
    rewriteColumns(columns, [&](const QString &text) {
        return option == QLatin1String("Capitalize") ? toTitleCase(text) : TextOperations::formatText(option, text);
    });
    VrNotification::showNotification(QStringLiteral("Selected fields text is converted to \"%1\" successfully!")
                                         .arg(TextOperations::conversionName(option)),
                                     Success);
}

QString AddMediaFileWidget::toTitleCase(QString text)
{
    const QString converted = TextOperations::toTitleCase(text);
    qDebug().noquote() << converted;
    return converted;
}

void AddMediaFileWidget::getTagsAndSepToRename(QStringList &tagslist, QString sep)
{
    if (refuseEmptyList())
        return;
    FailureReport failures;
    {
        SortingPause pause(m_table);
        for (int r = 0; r < m_table->rowCount(); ++r) {
            QStringList values;
            for (const QString &tag : qAsConst(tagslist)) {
                for (int c = 0; c < m_table->columnCount(); ++c) {
                    if (m_table->horizontalHeaderItem(c)->text() == tag && m_table->item(r, c))
                        values.append(m_table->item(r, c)->text());
                }
            }
            // A row without a usable value for every tag keeps its name, as
            // the confirmation told the user.
            const QString baseName = FileNamePattern::baseNameFromValues(values, sep, tagslist.size());
            if (baseName.isEmpty())
                continue;
            const QString location = locationOf(r);
            const FileNameRules::RenameTarget target = FileNameRules::targetForBaseName(location, baseName);
            if (!target.ok || target.path == location)
                continue;
            if (!renameRowFile(baseName, location, r))
                failures.addFailure(location);
        }
    }
    if (failures.isEmpty())
        VrNotification::showNotification(
            QStringLiteral("File rename operation has been successfully completed for all possible rows!"), Success);
    else
        VrNotification::showNotification(failures.message(QStringLiteral("renamed")), Warning);
}

bool AddMediaFileWidget::renameRowFile(QString newBaseName, QString location, int row)
{
    const FileNameRules::RenameTarget target = FileNameRules::targetForBaseName(location, newBaseName);
    // Only the listed file is ever moved, never a folder put in its place.
    if (!target.ok || !QFileInfo(location).isFile() || !QFile::rename(location, target.path))
        return false;
    {
        // Not an edit: the file on disk already has its new name.
        const QSignalBlocker blocker(m_table);
        setCell(row, columnOf(kLocation), target.path);
        setCell(row, columnOf(kFileName), QFileInfo(target.path).fileName());
    }
    m_changes.rename(location, target.path);
    return true;
}

void AddMediaFileWidget::getTagListAndSep_To_FetchFromFile(QStringList &tagslist, QString sep)
{
    if (refuseEmptyList())
        return;
    {
        SortingPause pause(m_table);
        for (int r = 0; r < m_table->rowCount(); ++r) {
            for (int c = 0; c < m_table->columnCount(); ++c) {
                if (m_table->horizontalHeaderItem(c)->text() == kFileName && m_table->item(r, c))
                    fillTagsFromFileName(m_table->item(r, c)->text(), tagslist, sep, r);
            }
        }
    }
    VrNotification::showNotification(QStringLiteral("Operation has been successfully performed!"), Success);
}

void AddMediaFileWidget::fillTagsFromFileName(QString fileName, QStringList &tags, QString sep, int row)
{
    const auto values = FileNamePattern::valuesFromFileName(fileName, tags, sep);
    for (const auto &value : values) {
        for (int c = 0; c < m_table->columnCount(); ++c) {
            if (m_table->horizontalHeaderItem(c)->text() == value.first)
                setCell(row, c, value.second);
        }
    }
}

void AddMediaFileWidget::forgetPressedCell()
{
    m_pressedRow = -1;
    m_pressedColumn = -1;
}

// Sorting stays off from the press to the release of a drag: a value copied
// into the sorted column would otherwise move rows under the pointer.
void AddMediaFileWidget::holdSortingForDrag(bool hold)
{
    if (!hold)
        m_dragPause.reset();
    else if (!m_dragPause)
        m_dragPause.emplace(m_table);
}

bool AddMediaFileWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            // Qt also reports cells entered by a drag that began on empty
            // space below the last row; such a drag must copy nothing.
            const auto *press = static_cast<QMouseEvent *>(event);
            if (!m_table->indexAt(press->pos()).isValid())
                forgetPressedCell();
            else
                holdSortingForDrag(true);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            holdSortingForDrag(false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AddMediaFileWidget::copyValueInItems(int row, int col)
{
    if (m_pressedRow < 0 || m_pressedRow >= m_table->rowCount() || m_pressedColumn < 0
        || m_pressedColumn >= m_table->columnCount())
        return;
    const QString key = m_table->horizontalHeaderItem(col)->text();
    if (key == kFileName || key == kLocation)
        return;
    if (col != m_pressedColumn || row == m_pressedRow)
        return;
    if (key == kCoverArt) {
        const QLabel *pressed = coverLabel(m_pressedRow);
        if (!pressed)
            return;
        const QImage picture = pressed->pixmap(Qt::ReturnByValue).toImage();
        m_table->installCoverLabel(row, QPixmap::fromImage(picture), false);
        markCoverChanged(row);
    } else {
        const QTableWidgetItem *source = m_table->item(m_pressedRow, col);
        QTableWidgetItem *target = m_table->item(row, col);
        if (!source || !target)
            return;
        target->setData(Qt::DisplayRole, source->text());
    }
    emit someChangesHappen(true);
}

void AddMediaFileWidget::copyActionFired()
{
    const QModelIndexList selected = m_table->selectionModel()->selectedIndexes();
    if (selected.size() != 1)
        return;
    const QModelIndex index = selected.first();
    if (m_table->horizontalHeaderItem(index.column())->text() == kCoverArt) {
        if (const QLabel *label = coverLabel(index.row()))
            m_copiedPicture = label->pixmap(Qt::ReturnByValue).toImage();
    } else if (const QTableWidgetItem *item = m_table->item(index.row(), index.column())) {
        m_copiedText = item->text();
    }
}

void AddMediaFileWidget::pasteActionFired()
{
    const QModelIndexList selected = m_table->selectionModel()->selectedIndexes();
    if (selected.size() != 1)
        return;
    const QModelIndex index = selected.first();
    const QString key = m_table->horizontalHeaderItem(index.column())->text();
    if (key == kLocation)
        return;
    const SortingPause pause(m_table);
    if (key == kCoverArt) {
        if (m_copiedPicture.isNull())
            return;
        installChangedCover(index.row(), m_copiedPicture);
        emit someChangesHappen(true);
    } else if (!m_copiedText.isEmpty()) {
        if (QTableWidgetItem *item = m_table->item(index.row(), index.column()))
            item->setData(Qt::DisplayRole, m_copiedText);
    }
}

void AddMediaFileWidget::installChangedCover(int row, const QImage &image)
{
    setCoverBorder(m_table->installCoverLabel(row, QPixmap::fromImage(image), true), true);
    markCoverChanged(row);
}

void AddMediaFileWidget::getSearchPattern(QString pattern)
{
    if (m_table->rowCount() == 0)
        return;
    const QSignalBlocker blocker(m_table);
    const QBrush plain(QColor(252, 252, 252, 255));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        for (int c = 0; c < m_table->columnCount(); ++c) {
            if (m_table->horizontalHeaderItem(c)->text() == kCoverArt)
                continue;
            if (QTableWidgetItem *item = m_table->item(r, c))
                item->setData(Qt::BackgroundRole, plain);
        }
    }
    if (pattern.isEmpty())
        return;
    const QList<QTableWidgetItem *> found = m_table->findItems(pattern, Qt::MatchContains);
    for (QTableWidgetItem *item : found)
        item->setData(Qt::BackgroundRole, QBrush(Qt::yellow));
}

void AddMediaFileWidget::changeTableView(int a)
{
    if (m_table->rowCount() == 0)
        return;
    for (int c = 0; c < m_table->columnCount(); ++c) {
        const bool cover = m_table->horizontalHeaderItem(c)->text() == kCoverArt;
        if (a == 1) {
            if (cover)
                m_table->horizontalHeader()->resizeSection(c, 200);
            else
                m_table->resizeColumnToContents(c);
        } else if (a == 2) {
            m_table->horizontalHeader()->resizeSection(c, cover ? 200 : 100);
        }
    }
}

void AddMediaFileWidget::getWhenDelClicked()
{
    m_selectionTracking = 0;
}

void AddMediaFileWidget::whenDeleteCompleted()
{
    m_selectionTracking = 1;
}

void AddMediaFileWidget::setCoverBorder(QLabel *label, bool blue)
{
    if (!label)
        return;
    label->setStyleSheet(blue ? QStringLiteral("border: 2px solid blue") : QStringLiteral("border: 0px"));
    if (blue)
        m_blueCovers.append(label);
}

// Only the labels that carry a border are reset: restyling every cover of a
// long list on each selection change made selecting sluggish.
void AddMediaFileWidget::tableSelectionChanged()
{
    if (m_selectionTracking != 1)
        return;
    const QList<QPointer<QLabel>> bordered = m_blueCovers;
    m_blueCovers.clear();
    for (const QPointer<QLabel> &label : bordered) {
        if (label)
            label->setStyleSheet(QStringLiteral("border: 0px"));
    }
    const int coverColumn = columnOf(kCoverArt);
    const QModelIndexList selected = m_table->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (index.column() == coverColumn)
            setCoverBorder(coverLabel(index.row()), true);
    }
}

void AddMediaFileWidget::doubleClickedOnCell(int row, int col)
{
    if (m_table->horizontalHeaderItem(col)->text() != kCoverArt)
        return;
    m_coverBoxRow = row;
    m_coverBoxColumn = col;
    const int size = CoverArtDisplayBox::kPreviewSize;
    const QLabel *label = coverLabel(row);
    QImage shown = label ? label->pixmap(Qt::ReturnByValue)
                               .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .toImage()
                         : QImage();
    if (shown.isNull())
        shown = QPixmap(QStringLiteral(":/images/cover image not found.jpg"))
                    .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .toImage();

    auto *box = new CoverArtDisplayBox;
    connect(box, &CoverArtDisplayBox::passCoverPicFileLoc, this, &AddMediaFileWidget::getCoverPicLocation);
    box->setImage(shown);
    box->raise();
    box->exec();
    delete box;
}

void AddMediaFileWidget::getCoverPicLocation(QString &loc)
{
    QImage picture(loc);
    if (picture.isNull() || m_coverBoxRow < 0 || m_coverBoxRow >= m_table->rowCount())
        return;
    // Held like every cover cell: fitted to 400 x 400, never enlarged.
    if (picture.width() > TagKeys::kCoverFit || picture.height() > TagKeys::kCoverFit)
        picture = picture.scaled(TagKeys::kCoverFit, TagKeys::kCoverFit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    installChangedCover(m_coverBoxRow, picture);
    emit someChangesHappen(true);
}
