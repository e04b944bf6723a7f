#include "app/application.h"

#include "app/command.h"
#include "app/commandhandler.h"
#include "app/mainwindow.h"
#include "app/mediaintake.h"
#include "settings/savingsettings.h"
#include "settings/settingsdialog.h"
#include "settings/usersettings.h"
#include "table/addmediafilewidget.h"
#include "theme/geometryprovider.h"
#include "update/updatedialog.h"
#include "update/updater.h"
#include "widgets/sonvelmessagebox.h"
#include "widgets/vrnotification.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <utility>

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    CommandHandler::instance()->addObserver(this);
}

Application::~Application()
{
    CommandHandler::instance()->removeObserver(this);
    delete m_updater;
    delete m_mainWindow;
}

bool Application::loadFont(const QString &resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Could not open font file";
        return false;
    }
    const QByteArray data = file.readAll();
    file.close();
    if (QFontDatabase::addApplicationFontFromData(data) == -1) {
        qDebug() << "Could not add font to application";
        return false;
    }
    qDebug() << "Font added successfully";
    return true;
}

void Application::recordScreenMetrics()
{
    const double ratio = devicePixelRatio();
    QScreen *screen = primaryScreen();
    const double physicalDpi = screen ? screen->physicalDotsPerInch() : 96.0;
    const double logicalDpi = screen ? screen->logicalDotsPerInch() : 96.0;

    qDebug().nospace() << "Device Pixel Ratio: " << ratio;
    qDebug().nospace() << "DPI: " << physicalDpi;

    GeometryProvider::setDevicePixelRatio(ratio);
    GeometryProvider::setPhysicalDpi(physicalDpi);
    GeometryProvider::setLogicalDpi(logicalDpi);
}

void Application::applyStyleSheet()
{
    QFile file(QStringLiteral(":/Sonvel.qss"));
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    setStyleSheet(QString::fromLatin1(bytes.constData()));
}

void Application::start()
{
    SavingOptions::setCurrent(SavingSettings::load(*UserSettings::open()));
    m_mainWindow = new MainWindow(nullptr);
    QTimer::singleShot(100, this, &Application::openApplication);
    m_updater = new Updater;
}

void Application::openApplication()
{
    if (!m_mainWindow)
        return;
    m_mainWindow->restoreLayout();
    m_mainWindow->show();
    if (!m_startupPaths.isEmpty())
        QTimer::singleShot(0, this, &Application::addStartupPaths);
    if (m_updater)
        m_updater->checkForUpdate();
}

void Application::addStartupPaths()
{
    const QStringList paths = std::exchange(m_startupPaths, {});
    if (!m_mainWindow)
        return;
    for (const QString &missing : m_mainWindow->intake()->addPaths(paths))
        std::fprintf(stderr, "sonvel: no such file or folder: %s\n", qPrintable(QDir::toNativeSeparators(missing)));
}

// Installing closes the program, so unsaved edits need the user's word.
bool Application::confirmUpdateInstall() const
{
    if (!m_mainWindow || !m_mainWindow->mediaWidget()->hasUnsavedChanges())
        return true;
    SonvelMessageBox box;
    box.setMessage(QStringLiteral("warning"),
                   QStringLiteral("An update is ready to install. Installing closes Sonvel and your unsaved "
                                  "changes will be lost. Install now?"));
    return box.exec() == QDialog::Accepted;
}

void Application::handleCommand(Command &command)
{
    switch (command.id) {
    case Commands::UpdateDialogVisibility:
        if (!command.parameters.value(Commands::ShowDialog).toBool())
            return;
        if (command.parameters.value(Commands::CloseDialog).toBool()) {
            if (m_updateDialog)
                m_updateDialog->close();
            return;
        }
        if (!m_updateDialog)
            m_updateDialog = new UpdateDialog(m_mainWindow);
        m_updateDialog->show();
        return;
    case Commands::UpdateDownloadProgress:
        if (m_updateDialog) {
            const int total = static_cast<int>(command.parameters.value(Commands::BytesTotal).toLongLong());
            const int received = static_cast<int>(command.parameters.value(Commands::BytesReceived).toLongLong());
            m_updateDialog->setProgress(0, total, received);
        }
        return;
    case Commands::Quit:
        QCoreApplication::quit();
        return;
    case Commands::OpenSettings: {
        // A new dialog per request, deleted after it closes rather than kept
        // as a hidden child for every opening.
        SettingsDialog dialog(m_mainWindow);
        if (m_mainWindow)
            connect(&dialog, &SettingsDialog::resetLayoutRequested, m_mainWindow, &MainWindow::resetLayout);
        dialog.exec();
        return;
    }
    case Commands::ConfirmUpdateInstall:
        command.result = confirmUpdateInstall();
        return;
    case Commands::ShowErrorNotification:
        VrNotification::showNotification(command.parameters.value(Commands::NotificationText).toString(), Error);
        return;
    default:
        return;
    }
}
