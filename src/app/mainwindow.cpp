#include "app/mainwindow.h"

#include "app/lowerlevelwidget.h"
#include "app/topsectionwidget.h"
#include "table/addmediafilewidget.h"
#include "widgets/sonvelmessagebox.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace {
MainWindow *s_instance = nullptr;
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_toolbar = new TopSectionWidget(this);
    m_mediaWidget = new AddMediaFileWidget(this);
    m_bottomBar = new LowerLevelWidget(this);

    connect(m_toolbar, &TopSectionWidget::passMediaList, m_mediaWidget, &AddMediaFileWidget::getMediaList);
    connect(m_toolbar, &TopSectionWidget::removeSeratoClicked, this, &MainWindow::seratoRemoval);
    connect(m_mediaWidget, &AddMediaFileWidget::listPopulatesOrNot, this, &MainWindow::listPopulated);
    connect(m_mediaWidget, &AddMediaFileWidget::someChangesHappen, m_bottomBar, &LowerLevelWidget::changesOccoured);
    connect(m_mediaWidget, &AddMediaFileWidget::undoActionPerformed, this, &MainWindow::undoActionCompleted);
    connect(m_bottomBar, &LowerLevelWidget::clearList, m_mediaWidget, &AddMediaFileWidget::clearList);
    connect(m_bottomBar, &LowerLevelWidget::undoAllChanges, m_mediaWidget, &AddMediaFileWidget::UndoChangesInTable);
    connect(m_bottomBar, &LowerLevelWidget::saveAllChanges, m_mediaWidget, &AddMediaFileWidget::saveChangesToFile);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar, 0, Qt::AlignTop);
    layout->addWidget(m_mediaWidget);
    layout->addWidget(m_bottomBar, 0, Qt::AlignBottom);

    setCentralWidget(central);
    s_instance = this;
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

void MainWindow::listPopulated(bool x)
{
    if (!x)
        m_toolbar->setViewToggleChecked(false);
    m_bottomBar->setClearButtonVisible(x);
    m_toolbar->setViewToggleVisible(x);
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
    if (m_mediaWidget->hasUnsavedChanges()) {
        SonvelMessageBox box;
        box.setMessage(QStringLiteral("warning"),
                       QStringLiteral("You have unsaved changes. Close without saving?"));
        if (box.exec() != 1) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}
