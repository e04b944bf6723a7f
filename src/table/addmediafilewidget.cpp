#include "table/addmediafilewidget.h"

#include "table/bulktextpasses.h"
#include "table/coverartdisplaybox.h"
#include "table/covercolumn.h"
#include "table/coveroriginals.h"
#include "table/failurereport.h"
#include "table/mediafiletablewidget.h"
#include "table/mediascan.h"
#include "table/rowsave.h"
#include "table/tablehelpers.h"
#include "table/tablemenu.h"
#include "table/tablesave.h"
#include "table/tableundo.h"
#include "tags/tagreaderandwriter.h"
#include "widgets/processingbox.h"
#include "widgets/vrnotification.h"

#include <QAction>
#include <QDebug>
#include <QHeaderView>
#include <QVBoxLayout>

using TagColumns::Kind;

AddMediaFileWidget::AddMediaFileWidget(QWidget *parent)
    : QWidget(parent)
    , m_tags(new TagReaderAndWriter(this))
{
    createTable();
    m_passes = std::make_unique<BulkTextPasses>(m_table, &m_records);
    m_history = new TableUndo(m_table, &m_records, m_passes.get(), this);
    connect(m_history, &TableUndo::changed, this, &AddMediaFileWidget::reportUnsavedState);
    connect(m_history, &TableUndo::rowsRestored, this, [this] { emit listPopulatesOrNot(true); });
    TableMenu::attach(m_table, m_history);

    // The stylesheet paints the background of a plain widget subclass only
    // when asked to.
    setAttribute(Qt::WA_StyledBackground);

    createActions();

    // The one place that learns what the bars were last told.
    connect(this, &AddMediaFileWidget::someChangesHappen, this, [this](bool changed) {
        m_unsavedChanges = changed;
    });
}

// The table outlives the records while the widget's children go, and still
// paints and sorts on the way out: it must not reach into them then.
AddMediaFileWidget::~AddMediaFileWidget()
{
    m_table->setMarks({});
    m_table->setCoverPresence({});
    m_table->covers()->setOverride({});
}

void AddMediaFileWidget::createTable()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_table = new MediaFileTableWidget(this);
    m_table->setUpColumns();
    layout->addWidget(m_table);

    connect(m_table, &QTableWidget::cellPressed, this, &AddMediaFileWidget::getInitialClickedItem);
    connect(m_table, &QTableWidget::cellEntered, this, &AddMediaFileWidget::copyValueInItems);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &AddMediaFileWidget::tableSelectionChanged);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &AddMediaFileWidget::doubleClickedOnCell);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionMoved, this, &AddMediaFileWidget::columnMoved);
    connect(m_table, &QTableWidget::itemChanged, this, &AddMediaFileWidget::someItemChanged);
    connect(m_table, &MediaFileTableWidget::listEmptyOrNot, this, &AddMediaFileWidget::getListStatusDuringDeletion);
    connect(m_table, &MediaFileTableWidget::delButtonClicked, this, &AddMediaFileWidget::getWhenDelClicked);
    connect(m_table, &MediaFileTableWidget::deletionCompleted, this, &AddMediaFileWidget::whenDeleteCompleted);
    connect(m_table, &MediaFileTableWidget::rowRemoved, this, [this](const QString &location) {
        m_records.remove(location);
    });
    m_table->setCoverPresence([this](const QString &location) { return m_records.record(location).hasCover(); });
    m_table->setMarks({[this](const QString &location, const QString &key) { return m_records.isFieldEdited(location, key); },
                       [this](const QString &location) { return m_records.saveFailure(location); }});
    m_table->covers()->setOverride([this](const QString &location) -> std::optional<QImage> {
        const RowRecord record = m_records.record(location);
        if (record.cover == RowRecord::Cover::AsRead)
            return std::nullopt;
        return record.picture;
    });
}

// Only a change of state is news to the bars.
void AddMediaFileWidget::reportUnsavedState()
{
    const bool unsaved = m_records.hasChanges();
    if (unsaved != m_unsavedChanges)
        emit someChangesHappen(unsaved);
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

void AddMediaFileWidget::replaceCover(int row, const QImage &picture)
{
    m_table->installCoverLabel(row, QPixmap::fromImage(picture), true);
    m_history->coverChanged(row, picture);
}

void AddMediaFileWidget::runUnderOverlay(void (AddMediaFileWidget::*work)(), int steps, bool stoppable)
{
    m_processingBox = new ProcessingBox(this);
    m_processingBox->setProgress(0, steps);
    m_processingBox->setStoppable(stoppable && steps >= ProcessingBox::kProgressFrom);
    connect(m_processingBox, &ProcessingBox::sendASignal, this, work);
    m_processingBox->exec();
    delete m_processingBox;
    m_processingBox = nullptr;
}

void AddMediaFileWidget::showProgress(int done, int total)
{
    if (m_processingBox)
        m_processingBox->setProgress(done, total);
}

void AddMediaFileWidget::getMediaList(QStringList list)
{
    addMedia(list, 0);
}

void AddMediaFileWidget::addMedia(const QStringList &files, int skippedByName)
{
    const int before = m_table->rowCount();
    m_refused.clear();
    if (!files.isEmpty()) {
        m_pendingMediaList = files;
        runUnderOverlay(&AddMediaFileWidget::initiating_Populating_Table, files.size(), true);
    }
    const QString message = MediaScan::addingMessage(m_table->rowCount() - before, skippedByName, m_refused);
    if (!message.isEmpty())
        VrNotification::showNotification(message, m_refused.isEmpty() ? Info : Warning);
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

    const QStringList added = m_records.unlisted(paths);
    const QStringList refused = m_table->appendRows(
        added,
        [this, &added](int done) {
            showProgress(done, added.size());
            return !m_processingBox || !m_processingBox->stopRequested();
        },
        [this](const QString &path, const TagRecord &record) { m_records.add(path, record.fields, record.hasCover); });
    m_refused += refused;
    m_table->sortAgain();
    emit listPopulatesOrNot(m_table->rowCount() > 0);
}

void AddMediaFileWidget::someItemChanged(QTableWidgetItem *item)
{
    // The save's own renames of cells are not edits.
    if (m_saving || !item)
        return;
    m_history->cellChanged(item->row(), item->column());
}

void AddMediaFileWidget::columnMoved(int a, int b, int c)
{
    qDebug() << a << b << c;
}

void AddMediaFileWidget::getListStatusDuringDeletion(bool)
{
    if (m_table->rowCount() > 0)
        return;
    m_records.clear();
    m_table->stretchColumnsOfEmptyList();
    emit listPopulatesOrNot(false);
    emit someChangesHappen(false);
}

void AddMediaFileWidget::getInitialClickedItem(int i_row, int i_col)
{
    m_table->setPressedCell(i_row, i_col);
    m_history->begin(tr("Drag-Copy %1").arg(TagColumns::all().at(i_col).key));
}

// Every row gone, with all that refers to rows: records, the pressed cell.
// The sort column stays, for the rows added next.
void AddMediaFileWidget::emptyTable()
{
    m_table->forgetPressedCell();
    m_selectionTracking = 0;
    m_table->setRowCount(0);
    m_table->forgetCovers();
    m_records.clear();
    m_history->clear();
    CoverOriginals::clear();
    m_table->stretchColumnsOfEmptyList();
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
    runUnderOverlay(&AddMediaFileWidget::initiateSaveChanges, m_records.changedCount());
}

void AddMediaFileWidget::initiateSaveChanges()
{
    if (m_table->rowCount() == 0)
        return;
    m_saving = true;
    const TableSave::Report report = TableSave::saveChanged(m_table, m_records, [this](int done, int total) {
        showProgress(done, total);
    });
    m_saving = false;
    if (report.isClean())
        VrNotification::showNotification(QStringLiteral("All changes have been successfully saved!"), Success);
    else
        VrNotification::showNotification(report.message(), report.failures.isEmpty() ? Warning : Error);
    m_history->clear();
    // Cells lose their edited mark; failed rows show theirs.
    m_table->viewport()->update();
    // A row that failed stays changed, so the user can fix the cause and save
    // again.
    if (!m_records.hasChanges())
        emit someChangesHappen(false);
}

void AddMediaFileWidget::removeSeratoTags()
{
    m_passes->removeSeratoTags();
}

void AddMediaFileWidget::findAndReplace(QStringList &fields, QString match, QString replacetext)
{
    m_history->step(tr("Find and Replace"), [&] { m_passes->findAndReplace(fields, match, replacetext); });
}

void AddMediaFileWidget::removeExtraSpaces(QStringList &columns)
{
    m_history->step(tr("Remove Extra Spaces"), [&] { m_passes->removeExtraSpaces(columns); });
}

void AddMediaFileWidget::formatText(QString option, QStringList &columns)
{
    m_history->step(option, [&] { m_passes->formatText(option, columns); });
}

QString AddMediaFileWidget::toTitleCase(QString text)
{
    return BulkTextPasses::toTitleCase(text);
}

void AddMediaFileWidget::getTagsAndSepToRename(QStringList &tagslist, QString sep)
{
    m_history->end();
    m_history->renamed(m_passes->renameFromTags(tagslist, sep));
}

bool AddMediaFileWidget::renameRowFile(QString newBaseName, QString location, int row)
{
    return m_passes->renameRowFile(newBaseName, location, row).isEmpty();
}

void AddMediaFileWidget::getTagListAndSep_To_FetchFromFile(QStringList &tagslist, QString sep)
{
    m_history->step(tr("Tags from File Names"), [&] { m_passes->tagsFromFileNames(tagslist, sep); });
}

void AddMediaFileWidget::setFieldOfRows(const QString &key, const QString &text, const QList<int> &rows)
{
    const int column = TagColumns::position(key);
    const QString name = text.isEmpty() ? tr("Clear %1 in %n Rows", nullptr, rows.size()).arg(key)
                                        : tr("Set %1 in %n Rows", nullptr, rows.size()).arg(key);
    m_history->step(name, [&] {
        for (int row : rows)
            m_table->setCellText(row, column, text);
    });
}

void AddMediaFileWidget::setCoverOfRows(const QImage &picture, const QList<int> &rows)
{
    const QImage fitted = RowSave::fitForTable(picture);
    const QString name = picture.isNull() ? tr("Remove Covers of %n Rows", nullptr, rows.size())
                                          : tr("Set Cover of %n Rows", nullptr, rows.size());
    m_history->step(name, [&] {
        for (int row : rows) {
            m_history->coverChanged(row, fitted);
            m_table->showCoverIfLabelled(row, fitted, true);
        }
    });
    m_table->covers()->scheduleRefresh();
}

void AddMediaFileWidget::convertKeys(KeyNotation notation)
{
    m_history->step(tr("Convert Keys to %1").arg(MusicKey::notationName(notation)),
                    [&] { m_passes->convertKeys(notation); });
}

void AddMediaFileWidget::normaliseBpm(BpmValue::Precision precision, std::optional<BpmValue::Range> fold)
{
    m_history->step(tr("Normalise BPM"), [&] { m_passes->normaliseBpm(precision, fold); });
}

void AddMediaFileWidget::fillTagsFromFileName(QString fileName, QStringList &tags, QString sep, int row)
{
    m_passes->fillTagsFromFileName(fileName, tags, sep, row);
}

void AddMediaFileWidget::copyValueInItems(int row, int col)
{
    if (m_table->dragCopyTo(row, col))
        reportUnsavedState();
}

void AddMediaFileWidget::copyActionFired()
{
    m_table->copySelectedCell();
}

void AddMediaFileWidget::pasteActionFired()
{
    m_table->pasteIntoSelectedCell();
}

void AddMediaFileWidget::getSearchPattern(QString pattern)
{
    m_table->markMatches(pattern);
}

void AddMediaFileWidget::changeTableView(int a)
{
    m_table->resizeColumnsForView(a);
}

void AddMediaFileWidget::getWhenDelClicked()
{
    m_selectionTracking = 0;
}

void AddMediaFileWidget::whenDeleteCompleted()
{
    m_selectionTracking = 1;
}

void AddMediaFileWidget::tableSelectionChanged()
{
    if (m_selectionTracking == 1)
        m_table->highlightSelectedCovers();
}

void AddMediaFileWidget::doubleClickedOnCell(int row, int col)
{
    if (col != TagColumns::position(Kind::Cover))
        return;
    m_coverBoxRow = row;
    m_coverBoxColumn = col;
    auto *box = new CoverArtDisplayBox;
    connect(box, &CoverArtDisplayBox::passCoverPicFileLoc, this, &AddMediaFileWidget::getCoverPicLocation);
    box->setCover(QPixmap::fromImage(m_table->coverPicture(row)));
    box->raise();
    box->exec();
    delete box;
}

void AddMediaFileWidget::getCoverPicLocation(QString &loc)
{
    const QImage picture = CoverOriginals::load(loc);
    if (picture.isNull() || m_coverBoxRow < 0 || m_coverBoxRow >= m_table->rowCount())
        return;
    m_history->step(tr("Replace Artwork"), [&] { replaceCover(m_coverBoxRow, RowSave::fitForTable(picture)); });
}
