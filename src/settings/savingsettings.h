#pragma once

#include "tags/savingoptions.h"

class QSettings;

// The saving options as the user's settings file keeps them ("saving/...",
// readable text values); a missing or unknown value reads as the default.
namespace SavingSettings {

SavingOptions load(const QSettings &settings);
void store(QSettings &settings, const SavingOptions &options);

} // namespace SavingSettings
