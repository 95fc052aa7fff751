// Clearing, correcting and reloading the settings records.
#pragma once

#include "config/SettingsRecords.h"

void ResetSettings(ServiceSettings& settings);
// Copies source into target, corrects target; true when a counted correction was made.
bool ValidateSettings(ServiceSettings& target, const ServiceSettings& source);
// Reloads `working` from the settings file through `snapshot` (the validated copy).
void ReloadSettings(ServiceSettings& working, ServiceSettings& snapshot);
