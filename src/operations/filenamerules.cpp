#include "operations/filenamerules.h"

#include <QFileInfo>

namespace FileNameRules {

namespace {
const QString kExtension = QStringLiteral(".mp3");
}

bool isSafeBaseName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
#ifdef Q_OS_WIN
    static const QString forbidden = QStringLiteral("<>:\"|?*");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return false;
    }
#endif
    return !name.contains(QChar(0));
}

bool isRenamable(const QString &currentPath)
{
    return currentPath.endsWith(kExtension);
}

RenameTarget targetForTypedName(const QString &currentPath, const QString &newName)
{
    if (!isRenamable(currentPath))
        return {};
    const QString name = newName.endsWith(kExtension) ? newName : newName + kExtension;
    if (!isSafeBaseName(name.left(name.size() - kExtension.size())))
        return {};
    return {true, QFileInfo(currentPath).absolutePath() + QLatin1Char('/') + name};
}

RenameTarget targetForBaseName(const QString &currentPath, const QString &baseName)
{
    if (!isRenamable(currentPath) || !isSafeBaseName(baseName))
        return {};
    return {true, QFileInfo(currentPath).absolutePath() + QLatin1Char('/') + baseName + kExtension};
}

} // namespace FileNameRules
