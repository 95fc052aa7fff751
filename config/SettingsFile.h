// The settings file config.ini in the data folder, shared with the
// configuration program and the tray program.
#pragma once

#include <cstdint>

#include "config/SettingsRecords.h"

void ReadAllSettings(ServiceSettings& settings);
void WriteAllSettings(const ServiceSettings& settings);
void ReloadActiveProfile(ServiceSettings& settings);
void WritePlug(std::int32_t plug);
void WriteActiveProfile(std::int32_t profile);
void WritePollingRate(std::int32_t pollingRate);
