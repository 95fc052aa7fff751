// Every command the service writes into the mouse or reads back from it.
// Each runs the device guard first (except ProbeDevice) and returns its
// no-device result, its no-collection result, or its result when done.
// Waits are plain sleeps on the calling thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "config/SettingsRecords.h"
#include "device/DeviceLink.h"
#include "device/ProgressSink.h"

// --- plain rules of the command bytes ---
// Report-rate code of index r: 3 for 0, 1 for 1, 0 for anything else.
std::uint8_t PollingRateCode(std::int32_t r);
// Stage argument clamped to 0..4.
std::uint8_t ClampStage(std::int32_t n);
// LEDLogoEnable as sent: 4 goes out as 0xFF, others as their low byte.
std::uint8_t LogoWireValue(std::int32_t ledLogoEnable);

// --- operations: results 0 / 0 / 1 unless said ---
// Sends the code of rate index r. `storeRate` (may be null) is called with r
// once the mouse is known to be there, before the code goes out: the caller
// keeps r in its settings there. The caller reloads the settings first.
std::int32_t SetPollingRate(const DeviceLink& link, std::int32_t r, void (*storeRate)(std::int32_t r));
std::int32_t WriteButtonTable(const DeviceLink& link, const ProfileRecord& profile);
// The same, moving `progress` (may be null) from `from` towards `to` as the
// table's and the macro area's reports go out and their waits pass.
std::int32_t WriteButtonTable(const DeviceLink& link, const ProfileRecord& profile, ProgressSink* progress,
                              int from, int to);
std::int32_t WriteResolutionStages(const DeviceLink& link, const ProfileRecord& profile,
                                   std::int32_t stage);
std::int32_t SetUniversalScroll(const DeviceLink& link, const ProfileRecord& profile);
std::int32_t SetLiftOff(const DeviceLink& link, std::int32_t value);
std::int32_t SelectResolutionStage(const DeviceLink& link, std::int32_t stage);
std::int32_t SetLogoLight(const DeviceLink& link, const ProfileRecord& profile);
std::int32_t SetStateByte(const DeviceLink& link, std::int32_t value);
// No guard: true when reply byte 1 or 2 is nonzero.
bool ProbeDevice();
// -1 / 0 / decoded reply byte 1.
std::int32_t ReadBackQuery(const DeviceLink& link);
// -1 / 0 / 0. Arms the four-report collection (shortReadBusy) and shows the
// system wait cursor.
std::int32_t RequestReadBack(const DeviceLink& link, std::atomic<std::int32_t>& shortReadBusy);
// -1 / 0 / reply byte 2.
std::int32_t ReadResolutionStage(const DeviceLink& link);
// The whole profile: button table and macros, logo, universal scroll,
// stages and current stage, lift-off; progress 20, then steps towards 50 while
// the table and the macros go out, then 50, 60, 80.
std::int32_t ApplyProfileToDevice(const DeviceLink& link, const ProfileRecord& profile,
                                  ProgressSink* progress);
