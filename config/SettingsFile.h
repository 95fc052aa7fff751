// The settings file config.ini in the data folder, shared with the
// configuration program and the tray program.
#pragma once

#include <cstdint>
#include <memory>

#include "config/IniFile.h"
#include "config/SettingsRecords.h"

// Each operation binds a fresh accessor to DataFolder() + "config.ini".
void ReadAllSettings(ServiceSettings& settings);
void WriteAllSettings(const ServiceSettings& settings);
void ReloadActiveProfile(ServiceSettings& settings);
void WritePlug(std::int32_t plug);
void WriteActiveProfile(std::int32_t profile);
void WritePollingRate(std::int32_t pollingRate);

// The same operations on a given file accessor.
void ReadAllSettings(IniFile& file, ServiceSettings& settings);
void WriteAllSettings(IniFile& file, const ServiceSettings& settings);
// Reads the Setting section and the active slot. A Profile outside 0 to 5 is
// taken, and stored, as 0.
void ReloadActiveProfile(IniFile& file, ServiceSettings& settings);
// The 81 writes of one slot in the order of the full write (GROUP keys, then
// each button's section and data block).
void WriteProfileSlot(IniFile& file, int slot, const ProfileRecord& profile);
