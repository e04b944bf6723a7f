#include "update/updateinstaller.h"

#include "update/installerplatform.h"

#include <QDebug>

void UpdateInstaller::install(const QString &program)
{
    const InstallerPlatform::Run run = InstallerPlatform::runInstaller(program);
    if (!run.started) {
        qDebug().noquote() << QStringLiteral("Could not start the update installer %1: %2").arg(program, run.errorText);
        emit sgInstallerNotStarted(run.errorText);
        return;
    }
    qDebug().nospace() << "Update res: " << run.exitCode;
    installationFinished(!run.crashed && run.exitCode == 1);
}

void UpdateInstaller::installationFinished(bool success)
{
    emit sgInstallationFinished(success);
}
