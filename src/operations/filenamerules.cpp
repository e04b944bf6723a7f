#include "operations/filenamerules.h"

#include "tags/audioformat.h"

#include <QFileInfo>

namespace FileNameRules {

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

RenameTarget targetForTypedName(const QString &currentPath, const QString &newName)
{
    const QString extension = AudioFormats::extensionOf(QFileInfo(currentPath).fileName());
    QString baseName = newName;
    if (!extension.isEmpty() && baseName.endsWith(extension, Qt::CaseInsensitive))
        baseName.chop(extension.size());
    return targetForBaseName(currentPath, baseName);
}

RenameTarget targetForBaseName(const QString &currentPath, const QString &baseName)
{
    if (!isSafeBaseName(baseName))
        return {};
    const QFileInfo current(currentPath);
    return {true, current.absolutePath() + QLatin1Char('/') + baseName
                      + AudioFormats::extensionOf(current.fileName())};
}

} // namespace FileNameRules
