#pragma once

#include <QSettings>

#include <memory>

namespace UserSettings {

// The user's own settings file, in the user's configuration folder (an INI
// file, so it reads the same on every system). Tests move it with
// QSettings::setPath().
inline std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonvel"),
                                       QStringLiteral("Sonvel"));
}

} // namespace UserSettings
