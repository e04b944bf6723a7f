#pragma once

#include <QObject>
#include <QString>

// Runs a downloaded installer and waits for it.
class UpdateInstaller : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Reports through exactly one of the two signals before it returns.
    void install(const QString &program);

signals:
    // The installer ran; it counts as a success when it exits with status 1.
    void sgInstallationFinished(bool success);
    void sgInstallerNotStarted(QString reason);

public slots:
    void installationFinished(bool success);
};
