#include "app/WriteGate.h"

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "platform/Platform.h"

namespace {

constexpr UINT kKeptMessages[] = {
    kMsgReadStage,       kMsgFullWrite,          kMsgSetPollingRate, kMsgSetLiftOff,
    kMsgWriteStages,     kMsgSetStateByte,       kMsgSetLogoLight,   kMsgSetUniversalScroll,
    kMsgNoAction,        kMsgAdoptDeviceImage,   kMsgReloadSettings, kMsgMouseData,
    WM_WTSSESSION_CHANGE, WM_CLOSE,
};
constexpr UINT_PTR kKeptTimers[] = {
    kPeriodicTimerId,      kReadBackStep1TimerId, kReadBackStep2TimerId,
    kReadBackStep3TimerId, kReadBackStep4TimerId, kReadBackStep5TimerId,
};

}  // namespace

bool KeptDuringWrite(UINT message, WPARAM wParam) {
    if (message == WM_TIMER) {
        for (UINT_PTR id : kKeptTimers)
            if (id == wParam) return true;
        return false;
    }
    for (UINT kept : kKeptMessages)
        if (kept == message) return true;
    return false;
}

bool WriteGate::Keep(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!active_ || !KeptDuringWrite(message, wParam)) return false;
    if (kept_.size() >= kMostKept) {
        Sys().Kernel.OutputDebugStringW(u"full write: too many messages waiting, one dropped\n");
        return true;
    }
    kept_.push_back(KeptMessage{message, wParam, lParam});
    return true;
}

void WriteGate::End(const std::function<void(const KeptMessage&)>& handle) {
    active_ = false;
    if (handing_) return;  // the loop further up hands on what comes next
    handing_ = true;
    while (!kept_.empty()) {
        const KeptMessage next = kept_.front();
        kept_.pop_front();
        handle(next);
    }
    handing_ = false;
}
