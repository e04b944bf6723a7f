#include "update/installerplatform.h"

#include "update/updateinfo.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace InstallerPlatform {

int systemKind()
{
#ifdef Q_OS_WIN
    return OsKind::Windows;
#else
    return OsKind::Unknown;
#endif
}

Run runInstaller(const QString &absolutePath)
{
#ifdef Q_OS_WIN
    const QString program = QDir::toNativeSeparators(absolutePath);
#else
    // A downloaded file never carries the execute permission here.
    QFile::setPermissions(absolutePath, QFile::permissions(absolutePath) | QFile::ExeOwner);
    const QString program = absolutePath;
#endif
    QProcess process;
    process.setProgram(program);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QIODevice::ReadOnly);

    Run run;
    if (!process.waitForStarted(-1)) {
        run.errorText = process.errorString();
        return run;
    }
    run.started = true;
    process.waitForFinished(-1);
    run.exitCode = process.exitCode();
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    return run;
}

} // namespace InstallerPlatform
