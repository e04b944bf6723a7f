#pragma once

#include <QString>

// What differs between the systems when it comes to running an installer.
namespace InstallerPlatform {

// The operating-system kind to ask the web service for: only Windows has
// installers this program can run.
int systemKind();

struct Run
{
    bool started = false;
    int exitCode = -1;
    bool crashed = false;
    QString errorText;
};

// Starts the installer as a program of its own (no shell, so blanks and shell
// characters in the path are harmless) and blocks until it ends.
Run runInstaller(const QString &absolutePath);

} // namespace InstallerPlatform
