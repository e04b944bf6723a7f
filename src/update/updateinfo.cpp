#include "update/updateinfo.h"

#include <QJsonDocument>
#include <QVariantMap>

QString osWord(int kind)
{
    switch (kind) {
    case OsKind::Windows:
        return QStringLiteral("win");
    case OsKind::MacOs:
        return QStringLiteral("mac");
    default:
        return QString();
    }
}

UpdateInfo parseUpdateAnswer(const QByteArray &json, bool &accepted)
{
    const QVariantMap answer = QJsonDocument::fromJson(json).toVariant().toMap();
    accepted = answer.value(QStringLiteral("success")).toString().trimmed().toLower() == QLatin1String("true");
    if (!accepted)
        return UpdateInfo();

    const QVariantMap result = answer.value(QStringLiteral("result")).toMap();
    UpdateInfo info;
    info.version = result.value(QStringLiteral("appversion")).toString();
    info.downloadPath = result.value(QStringLiteral("downloadPath")).toString();
    const QString os = result.value(QStringLiteral("osVersion")).toString();
    if (os == QLatin1String("mac"))
        info.os = OsKind::MacOs;
    else if (os == QLatin1String("win"))
        info.os = OsKind::Windows;
    info.forceUpdate = result.value(QStringLiteral("forceUpdate")).toString() == QLatin1String("true");
    return info;
}

bool isNewerVersion(const QString &offered, const QString &current)
{
    return current.toDouble() < offered.toDouble();
}
