#pragma once

#include <QMap>
#include <QVariant>

// A request sent over the command bus. Observers may answer through result.
struct Command
{
    int id = 0;
    QMap<int, QVariant> parameters;
    bool result = false;
};

// Command ids, and the parameter keys they use.
namespace Commands {
enum Id {
    UpdateDialogVisibility = 9,
    UpdateDownloadProgress = 10,
    Quit = 14,
    OpenSettings = 17,
    // Answered through result: true when installing an update may close the
    // program now.
    ConfirmUpdateInstall = 20,
    ShowErrorNotification = 21, // text in NotificationText
};
enum Key {
    CloseDialog = 3,
    InstallSucceeded = 3, // with Quit
    BytesTotal = 7,
    BytesReceived = 8,
    ShowDialog = 9,
    NotificationText = 11,
};
} // namespace Commands
