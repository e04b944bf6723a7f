#include "settings/usersettings.h"

#include <QDir>
#include <QFileInfo>

namespace UserSettings {

namespace {
const QString kLastAddFolder = QStringLiteral("adding/lastFolder");
}

std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonvel"),
                                       QStringLiteral("Sonvel"));
}

QString lastAddFolder()
{
    const QString folder = open()->value(kLastAddFolder).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath();
}

void rememberAddFolder(const QString &folder)
{
    open()->setValue(kLastAddFolder, folder);
}

} // namespace UserSettings
