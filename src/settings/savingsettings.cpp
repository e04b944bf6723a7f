#include "settings/savingsettings.h"

#include <QSettings>

namespace SavingSettings {

namespace {

const QString kVersionKey = QStringLiteral("saving/id3v2Version");
const QString kId3v1Key = QStringLiteral("saving/id3v1Copy");
const QString kCoversKey = QStringLiteral("saving/covers");

using Version = SavingOptions::Id3v2Version;
using Copy = SavingOptions::Id3v1Copy;
using Covers = SavingOptions::Covers;

const QList<QPair<Version, QString>> kVersions = {{Version::V24, QStringLiteral("2.4")},
                                                  {Version::V23, QStringLiteral("2.3")}};
const QList<QPair<Copy, QString>> kCopies = {{Copy::AlwaysWrite, QStringLiteral("always")},
                                             {Copy::KeepAsFound, QStringLiteral("keep")},
                                             {Copy::Remove, QStringLiteral("remove")}};
const QList<QPair<Covers, QString>> kCovers = {{Covers::FitTo400, QStringLiteral("fit400")},
                                               {Covers::KeepAsChosen, QStringLiteral("asChosen")}};

template <typename Enum>
Enum fromText(const QList<QPair<Enum, QString>> &table, const QString &text, Enum fallback)
{
    for (const auto &entry : table) {
        if (entry.second == text)
            return entry.first;
    }
    return fallback;
}

template <typename Enum>
QString toText(const QList<QPair<Enum, QString>> &table, Enum value)
{
    for (const auto &entry : table) {
        if (entry.first == value)
            return entry.second;
    }
    return QString();
}

} // namespace

SavingOptions load(const QSettings &settings)
{
    const SavingOptions defaults;
    SavingOptions options;
    options.id3v2Version = fromText(kVersions, settings.value(kVersionKey).toString(), defaults.id3v2Version);
    options.id3v1Copy = fromText(kCopies, settings.value(kId3v1Key).toString(), defaults.id3v1Copy);
    options.covers = fromText(kCovers, settings.value(kCoversKey).toString(), defaults.covers);
    return options;
}

void store(QSettings &settings, const SavingOptions &options)
{
    settings.setValue(kVersionKey, toText(kVersions, options.id3v2Version));
    settings.setValue(kId3v1Key, toText(kCopies, options.id3v1Copy));
    settings.setValue(kCoversKey, toText(kCovers, options.covers));
    settings.sync();
}

} // namespace SavingSettings
