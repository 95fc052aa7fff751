#include "app/ButtonInput.h"

#include <chrono>
#include <string>

#include "actions/ActionTimers.h"
#include "actions/ButtonDispatcher.h"
#include "actions/HeldInput.h"
#include "actions/HorizontalScrolling.h"
#include "actions/MacroWorker.h"
#include "app/ProcessState.h"
#include "platform/Platform.h"

namespace {

constexpr std::size_t kWorkerStackSize = 4096;
// How long a stop waits for a macro to end after its event in progress, and
// for the worker thread to end.
constexpr DWORD kMacroStopWaitMs = 1000;
constexpr DWORD kMacroStopPollMs = 10;

}  // namespace

const MessageMapEntry<ButtonInput> ButtonInput::kMessageMap[] = {
    OnTimerId<&ButtonInput::OnTimer>(),
};

bool ButtonInput::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

ButtonInput::~ButtonInput() {
    if (Scrolling() == &scrolling_) SetScrolling(nullptr);
}

void ButtonInput::Start(HWND window, ThreadRoutine worker, void* parameter) {
    window_ = window;
    actions_.SetWindow(window);
    SetScrolling(&scrolling_);
    DWORD workerId = 0;
    AllowMacroWorker();
    workerThread_ = Sys().Kernel.CreateThread(kWorkerStackSize, worker, parameter, &workerId);
    workerThreadId_ = workerId;
    WorkerThreadId.store(workerId);
}

void ButtonInput::EndEverythingHeld() {
    for (UINT_PTR timer : TakeRepeatTimers()) Sys().Windows.KillTimer(window_, timer);
    // A macro still playing could press a key again after the release.
    StopMacros();
    // Waited for in real time: the macro's thread runs on its own clock. The
    // messages other threads send meanwhile are answered.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMacroStopWaitMs);
    while (!WaitForMacrosToEnd(std::chrono::milliseconds(kMacroStopPollMs)) &&
           std::chrono::steady_clock::now() < deadline)
        Sys().Windows.HandleSentMessages();
    MacroRunFlag.store(0);
    ForgetButtonPresses();
    const int released = ReleaseHeldKeysAndButtons();
    if (released > 0)
        Sys().Kernel.OutputDebugStringW(
            TextFromUtf8("released " + std::to_string(released) + " held keys and buttons\n"));
}

void ButtonInput::Stop() {
    EndEverythingHeld();
    if (workerThread_ == nullptr) return;
    // Nothing is left for the worker: its loop ends at the quit, or at its
    // start when it has no queue yet to post the quit to.
    AskMacroWorkerToEnd();
    Sys().Windows.PostThreadMessageW(workerThreadId_, WM_QUIT, 0, 0);
    Sys().Kernel.WaitForSingleObject(workerThread_, kMacroStopWaitMs);
    Sys().Kernel.CloseHandle(workerThread_);
    workerThread_ = nullptr;
}

int ButtonInput::RunMacroWorker() { return ::RunMacroWorker(actions_); }

void ButtonInput::OnTimer(UINT_PTR id, BOOL& handled) {
    HandleActionTimer(id);
    handled = FALSE;  // every tick goes on to default processing
}
