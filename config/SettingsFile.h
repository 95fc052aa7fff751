// The settings file config.ini in the data folder, shared with the
// configuration program and the tray program.
#pragma once

#include <cstdint>
#include <memory>

#include "config/IniFile.h"
#include "config/SettingsRecords.h"
#include "platform/Files.h"
#include "platform/WinTypes.h"

// A full read tries a file that is there but cannot be read (another
// program holds it, a scan has it open) this many times, this far apart.
constexpr int kSettingsReadAttempts = 5;
constexpr DWORD kSettingsReadRetryMs = 200;

// Each operation binds a fresh accessor to DataFolder() + "config.ini".
// Reads every key into `settings` (Read), or all defaults from a missing file
// (Missing). A file that still cannot be read after the attempts above
// leaves `settings` untouched (Unreadable).
FileReadStatus ReadAllSettings(ServiceSettings& settings);
bool WriteAllSettings(const ServiceSettings& settings);
// Runs before every button event, so it reads once and never waits: a file
// that cannot be read leaves `settings` untouched (Unreadable).
FileReadStatus ReloadActiveProfile(ServiceSettings& settings);
void WritePlug(std::int32_t plug);
void WriteActiveProfile(std::int32_t profile);
void WritePollingRate(std::int32_t pollingRate);

// The same operations on a given file accessor.
void ReadAllSettings(IniFile& file, ServiceSettings& settings);
void WriteAllSettings(IniFile& file, const ServiceSettings& settings);
// Reads the Setting section and the active slot. A Profile outside 0 to 5 is
// taken, and stored, as 0.
void ReloadActiveProfile(IniFile& file, ServiceSettings& settings);

// What ReloadActiveProfile takes from a file, on its own: the Setting
// section, the active slot (Profile, already limited to 0 to 5) and which
// button data blocks were taken. A block that is missing or damaged leaves
// the record's earlier button data in place when the read is applied.
struct ActiveProfileRead {
    std::int32_t Profile = 0;
    std::int32_t TrayEnabled = -1;
    std::int32_t MouseButtons = -1;
    std::int32_t PollingRate = -1;
    std::int32_t Mode = -1;
    ProfileRecord Slot{};
    bool BlockTaken[kButtonCount] = {};
};
// The same 87 reads as ReloadActiveProfile, into `read`.
void ReadActiveProfile(IniFile& file, ActiveProfileRead& read);
// Puts a read into `settings` as ReloadActiveProfile would have.
void ApplyActiveProfileRead(const ActiveProfileRead& read, ServiceSettings& settings);
// The 81 writes of one slot in the order of the full write (GROUP keys, then
// each button's section and data block).
void WriteProfileSlot(IniFile& file, int slot, const ProfileRecord& profile);
