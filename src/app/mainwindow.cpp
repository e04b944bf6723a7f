#include "app/mainwindow.h"

#include <QVBoxLayout>

namespace {
MainWindow *s_instance = nullptr;
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

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
