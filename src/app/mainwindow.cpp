#include "app/mainwindow.h"

#include "app/lowerlevelwidget.h"
#include "app/mediaintake.h"
#include "app/topsectionwidget.h"
#include "app/windowplacement.h"
#include "operations/globalreplacebox.h"
#include "operations/keysandbpmbox.h"
#include "operations/panelmode.h"
#include "settings/usersettings.h"
#include "table/addmediafilewidget.h"
#include "table/mediafiletablewidget.h"
#include "table/selectionpanel.h"
#include "table/tableundo.h"
#include "widgets/sonvelmessagebox.h"
#include "widgets/vrnotification.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
MainWindow *s_instance = nullptr;

QSize primaryAvailableSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableSize() : QSize(1024, 768);
}
} // namespace

std::function<MainWindow::CloseAnswer(QWidget *parent)> MainWindow::askBeforeClosing = [](QWidget *parent) {
    SonvelMessageBox box(parent);
    box.setMessage(QStringLiteral("warning"),
                   QStringLiteral("You have unsaved changes. Save them before closing?"));
    box.offerSaving();
    switch (box.exec()) {
    case SonvelMessageBox::Confirmed:
        return CloseAnswer::Save;
    case SonvelMessageBox::Discarded:
        return CloseAnswer::Discard;
    default:
        return CloseAnswer::Cancel;
    }
};

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_toolbar = new TopSectionWidget(this);
    m_mediaWidget = new AddMediaFileWidget(this);
    m_bottomBar = new LowerLevelWidget(this);
    m_operationPanel = new GlobalReplaceBox(this);
    m_intake = new MediaIntake(this, m_mediaWidget);

    connect(m_toolbar, &TopSectionWidget::passMediaList, m_mediaWidget, &AddMediaFileWidget::getMediaList);
    connect(m_toolbar, &TopSectionWidget::passMediaPaths, m_intake, &MediaIntake::addPaths);
    connect(m_toolbar, &TopSectionWidget::globalReplaceClicked, this, &MainWindow::showOrHideReplaceBox);
    connect(m_toolbar, &TopSectionWidget::removeSpaceClicked, this, &MainWindow::removeExtraSpaceClicked);
    connect(m_toolbar, &TopSectionWidget::removeSeratoClicked, this, &MainWindow::seratoRemoval);
    connect(m_toolbar, &TopSectionWidget::formatClicked, this, &MainWindow::showFormat);
    connect(m_toolbar, &TopSectionWidget::rename_FilesClicked, this, &MainWindow::renameFile_Clicked);
    connect(m_toolbar, &TopSectionWidget::tagFromFilesClicked, this, &MainWindow::tagsFromFiles_Clicked);
    connect(m_toolbar, &TopSectionWidget::keysAndBpmClicked, this,
            [this] { togglePanel(5, KeysAndBpm, QStringLiteral("Keys")); });
    connect(m_toolbar, &TopSectionWidget::SearchPattern, m_mediaWidget, &AddMediaFileWidget::getSearchPattern);
    connect(m_toolbar, &TopSectionWidget::changeView, m_mediaWidget, &AddMediaFileWidget::changeTableView);
    connect(m_mediaWidget, &AddMediaFileWidget::listPopulatesOrNot, this, &MainWindow::listPopulated);
    connect(m_mediaWidget, &AddMediaFileWidget::someChangesHappen, m_bottomBar, &LowerLevelWidget::changesOccoured);
    connect(m_mediaWidget, &AddMediaFileWidget::undoActionPerformed, this, &MainWindow::undoActionCompleted);
    connect(m_bottomBar, &LowerLevelWidget::clearList, m_mediaWidget, &AddMediaFileWidget::clearList);
    connect(m_bottomBar, &LowerLevelWidget::undoAllChanges, m_mediaWidget, &AddMediaFileWidget::UndoChangesInTable);
    connect(m_bottomBar, &LowerLevelWidget::saveAllChanges, m_mediaWidget, &AddMediaFileWidget::saveChangesToFile);
    connect(m_operationPanel, &GlobalReplaceBox::replaceText, m_mediaWidget, &AddMediaFileWidget::findAndReplace);
    connect(m_operationPanel, &GlobalReplaceBox::passFieldToRemoveSpaces, this, &MainWindow::getFieldList);
    connect(m_operationPanel, &GlobalReplaceBox::passDataToPerformFormatting, this, &MainWindow::getDataToFormatText);
    connect(m_operationPanel, &GlobalReplaceBox::passTagsAndSepToRename, m_mediaWidget,
            &AddMediaFileWidget::getTagsAndSepToRename);
    connect(m_operationPanel, &GlobalReplaceBox::passDataToFetchTags_FromFilename, m_mediaWidget,
            &AddMediaFileWidget::getTagListAndSep_To_FetchFromFile);
    connect(m_operationPanel->keysAndBpmBox(), &KeysAndBpmBox::convertKeys, m_mediaWidget,
            &AddMediaFileWidget::convertKeys);
    connect(m_operationPanel->keysAndBpmBox(), &KeysAndBpmBox::normaliseBpm, m_mediaWidget,
            &AddMediaFileWidget::normaliseBpm);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar, 0, Qt::AlignTop);
    layout->addWidget(m_operationPanel);
    createSidePanel();
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_bottomBar, 0, Qt::AlignBottom);
    m_operationPanel->hide();

    setCentralWidget(central);
    m_firstHeaderState = m_mediaWidget->table()->horizontalHeader()->saveState();
    s_instance = this;
    VrNotification::setHost(this);
    setUnifiedTitleAndToolBarOnMac(true);
    setWindowTitle(QStringLiteral("Sonvel: Manage Your Music Tags"));
}

// Only tests build a second window; a pointer to a destroyed one must not
// outlive it.
MainWindow::~MainWindow()
{
    if (s_instance == this)
        s_instance = nullptr;
}

MainWindow *MainWindow::instance()
{
    return s_instance;
}

// The table and the side panel share the width; the panel keeps its own
// when the window grows.
void MainWindow::createSidePanel()
{
    m_selectionPanel = new SelectionPanel(m_mediaWidget->table());
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_mediaWidget);
    m_splitter->addWidget(m_selectionPanel);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setCollapsible(1, false);
    const UserSettings::SidePanel remembered = UserSettings::sidePanel();
    m_splitter->setSizes({4 * remembered.width, remembered.width});
    m_selectionPanel->setVisible(remembered.visible);
    m_toolbar->setSidePanelChecked(remembered.visible);

    connect(m_selectionPanel, &SelectionPanel::fieldSet, m_mediaWidget, &AddMediaFileWidget::setFieldOfRows);
    connect(m_selectionPanel, &SelectionPanel::coverSet, m_mediaWidget, &AddMediaFileWidget::setCoverOfRows);
    connect(m_mediaWidget->history(), &TableUndo::changed, m_selectionPanel, &SelectionPanel::scheduleRefresh);
    connect(m_toolbar, &TopSectionWidget::sidePanelToggled, this, &MainWindow::setSidePanelVisible);
    connect(m_splitter, &QSplitter::splitterMoved, this, &MainWindow::rememberSidePanel);

    m_sidePanelAction = new QAction(tr("Selection Panel"), this);
    m_sidePanelAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_sidePanelAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_sidePanelAction);
    connect(m_sidePanelAction, &QAction::triggered, this,
            [this] { setSidePanelVisible(!m_selectionPanel->isVisible()); });
}

void MainWindow::setSidePanelVisible(bool visible)
{
    m_selectionPanel->setVisible(visible);
    m_toolbar->setSidePanelChecked(visible);
    if (visible)
        m_selectionPanel->scheduleRefresh();
    rememberSidePanel();
}

void MainWindow::rememberSidePanel()
{
    UserSettings::SidePanel panel = UserSettings::sidePanel();
    panel.visible = m_selectionPanel->isVisibleTo(this);
    if (panel.visible && m_splitter->sizes().value(1) > 0)
        panel.width = m_splitter->sizes().value(1);
    UserSettings::rememberSidePanel(panel);
}

void MainWindow::listPopulated(bool x)
{
    if (!x)
        m_toolbar->setViewToggleChecked(false);
    m_bottomBar->setClearButtonVisible(x);
    m_toolbar->setViewToggleVisible(x);
}

// Pressing the button of the operation the panel already shows closes it;
// another operation's button switches the panel without closing it.
void MainWindow::togglePanel(int operation, int mode, const QString &keyword)
{
    m_toolbar->uncheckOtherOperations(operation);
    if (m_operationPanel->isVisible() && m_operationPanel->headingText().contains(keyword, Qt::CaseSensitive)) {
        m_operationPanel->hide();
        return;
    }
    m_operationPanel->setMode(mode);
    m_operationPanel->show();
}

void MainWindow::showOrHideReplaceBox()
{
    togglePanel(0, FindReplace, QStringLiteral("replace"));
}

void MainWindow::removeExtraSpaceClicked()
{
    togglePanel(1, ExtraSpaces, QStringLiteral("extra"));
}

void MainWindow::showFormat()
{
    togglePanel(2, FormatText, QStringLiteral("Format"));
}

void MainWindow::renameFile_Clicked()
{
    togglePanel(3, RenameFiles, QStringLiteral("Rename"));
}

void MainWindow::tagsFromFiles_Clicked()
{
    togglePanel(4, TagsFromFiles, QStringLiteral("Get tags from"));
}

void MainWindow::getFieldList(QStringList &list)
{
    m_mediaWidget->removeExtraSpaces(list);
}

void MainWindow::getDataToFormatText(QString type, QStringList &list)
{
    m_mediaWidget->formatText(type, list);
}

void MainWindow::undoActionCompleted(bool d)
{
    if (d)
        m_toolbar->setViewToggleChecked(false);
}

void MainWindow::seratoRemoval()
{
    m_seratoConfirmation = new SonvelMessageBox;
    m_seratoConfirmation->setMessage(
        QStringLiteral("warning"),
        QStringLiteral("This operation will remove all the info stored by the Serato DJ in the file including "
                       "your Serato Cue points and beatgrid.\n\nDo You want to proceed?"));
    if (m_seratoConfirmation->exec() == 1)
        m_mediaWidget->removeSeratoTags();
    delete m_seratoConfirmation;
    m_seratoConfirmation = nullptr;
}

// Closing with unsaved edits would drop them without a word, where clearing
// and undoing at least ask.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    rememberLayout();
    QMainWindow::closeEvent(event);
}

bool MainWindow::mayClose()
{
    if (!m_mediaWidget->hasUnsavedChanges())
        return true;
    switch (askBeforeClosing(this)) {
    case CloseAnswer::Discard:
        return true;
    case CloseAnswer::Save:
        m_mediaWidget->saveChangesToFile();
        // A row that failed to save stays changed; closing would lose it.
        return !m_mediaWidget->hasUnsavedChanges();
    case CloseAnswer::Cancel:
        break;
    }
    return false;
}

void MainWindow::restoreLayout()
{
    const UserSettings::WindowLayout layout = UserSettings::windowLayout();
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    setGeometry(restoredMainWindowGeometry(layout.geometry, screens, primaryAvailableSize()));
    if (layout.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    // A state from a build with other columns is refused and the first
    // layout stays.
    if (!layout.header.isEmpty() && !m_mediaWidget->table()->horizontalHeader()->restoreState(layout.header))
        m_mediaWidget->table()->horizontalHeader()->restoreState(m_firstHeaderState);
    applySort(layout.sortColumn, layout.sortOrder);
}

void MainWindow::rememberLayout() const
{
    const QHeaderView *header = m_mediaWidget->table()->horizontalHeader();
    UserSettings::WindowLayout layout;
    layout.maximised = isMaximized();
    layout.geometry = layout.maximised ? normalGeometry() : geometry();
    layout.header = header->saveState();
    layout.sortColumn = header->sortIndicatorSection();
    layout.sortOrder = header->sortIndicatorOrder();
    UserSettings::rememberWindowLayout(layout);
}

void MainWindow::resetLayout()
{
    UserSettings::forgetWindowLayout();
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setGeometry(initialMainWindowGeometry(primaryAvailableSize()));
    m_mediaWidget->table()->horizontalHeader()->restoreState(m_firstHeaderState);
    applySort(-1, Qt::AscendingOrder);
}

// Rows are only sorted when there are some; an empty table just shows the
// order that rows added later will take.
void MainWindow::applySort(int column, Qt::SortOrder order)
{
    MediaFileTableWidget *table = m_mediaWidget->table();
    if (column >= 0 && column < table->columnCount() && table->rowCount() > 0)
        table->sortBy(column, order);
    else
        table->horizontalHeader()->setSortIndicator(column < table->columnCount() ? column : -1, order);
}
