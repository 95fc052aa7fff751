// Clearing, correcting and reloading the settings records.
#pragma once

#include "config/SettingsRecords.h"
#include "platform/Files.h"

void ResetSettings(ServiceSettings& settings);
// Copies source into target, corrects target; true when a counted correction was made.
bool ValidateSettings(ServiceSettings& target, const ServiceSettings& source);
// Reloads `working` from the settings file through `snapshot` (the validated
// copy). A file that is there but cannot be read leaves both records as they
// were and returns Unreadable.
FileReadStatus ReloadSettings(ServiceSettings& working, ServiceSettings& snapshot);
// Both records as a reload from a missing file leaves them: the corrected defaults.
void LoadDefaultSettings(ServiceSettings& working, ServiceSettings& snapshot);
