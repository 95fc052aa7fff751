// The configuration programs' single-setting messages (0x4D6, 0x4DF,
// 0x4E2 to 0x4E6, 0x677) and the one the service accepts and ignores
// (0x504). Each runs on the main thread, one at a time; the waits are plain
// sleeps that hold the thread.
#pragma once

#include <cstdint>

#include "framework/MessageMap.h"

class DeviceSession;
class SettingsStore;

class ControlMessages {
public:
    ControlMessages(SettingsStore& settings, DeviceSession& device) : settings_(settings), device_(device) {}

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Sends report-rate index `rateIndex` to the mouse and, when it was
    // there, keeps it as PollingRate in the settings file.
    std::int32_t SetPollingRate(std::int32_t rateIndex);

private:
    LRESULT OnReadStage(WPARAM wParam, BOOL& handled);
    LRESULT OnSetPollingRate(WPARAM wParam, BOOL& handled);
    LRESULT OnSetLiftOff(WPARAM wParam, BOOL& handled);
    LRESULT OnWriteStages(WPARAM wParam, BOOL& handled);
    LRESULT OnSetStateByte(WPARAM wParam, BOOL& handled);
    LRESULT OnSetLogoLight(WPARAM wParam, BOOL& handled);
    LRESULT OnSetUniversalScroll(WPARAM wParam, BOOL& handled);
    LRESULT OnNoAction(WPARAM wParam, BOOL& handled);
    LRESULT OnReloadSettings(WPARAM wParam, BOOL& handled);
    static const MessageMapEntry<ControlMessages> kMessageMap[];

    SettingsStore& settings_;
    DeviceSession& device_;
};
