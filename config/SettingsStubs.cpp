// Placeholders until the settings file and validation land.
#include "config/SettingsFile.h"
#include "config/SettingsValidation.h"

void ReadAllSettings(ServiceSettings&) {}
void WriteAllSettings(const ServiceSettings&) {}
void ReloadActiveProfile(ServiceSettings&) {}
void WritePlug(std::int32_t) {}
void WriteActiveProfile(std::int32_t) {}
void WritePollingRate(std::int32_t) {}
void ResetSettings(ServiceSettings&) {}
bool ValidateSettings(ServiceSettings& target, const ServiceSettings& source) {
    target = source;
    return false;
}
void ReloadSettings(ServiceSettings&, ServiceSettings&) {}
