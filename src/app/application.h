#pragma once

#include "app/commandobserver.h"

#include <QApplication>

class MainWindow;
class UpdateDialog;
class Updater;

// The single QApplication of the process and the one observer of the
// command bus.
class Application : public QApplication, public CommandObserver
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    ~Application() override;

    // Start-up steps, in the order main() runs them.
    static bool loadFont(const QString &resourcePath);
    void recordScreenMetrics();
    void applyStyleSheet();
    // Files and folders named on the command line, added once the window is up.
    void setStartupPaths(const QStringList &paths) { m_startupPaths = paths; }
    void start();

    void handleCommand(Command &command) override;

    MainWindow *mainWindow() const { return m_mainWindow; }
    UpdateDialog *updateDialog() const { return m_updateDialog; }
    Updater *updater() const { return m_updater; }

public slots:
    void openApplication();

private:
    bool confirmUpdateInstall() const;
    void addStartupPaths();

    MainWindow *m_mainWindow = nullptr;
    Updater *m_updater = nullptr;
    UpdateDialog *m_updateDialog = nullptr;
    QStringList m_startupPaths;
};
