#include "app/ButtonInput.h"

#include "actions/ActionTimers.h"
#include "actions/HorizontalScrolling.h"
#include "actions/MacroWorker.h"
#include "app/ProcessState.h"
#include "platform/Platform.h"

namespace {

constexpr std::size_t kWorkerStackSize = 4096;

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
    actions_.SetWindow(window);
    SetScrolling(&scrolling_);
    DWORD workerId = 0;
    workerThread_ = Sys().Kernel.CreateThread(kWorkerStackSize, worker, parameter, &workerId);
    WorkerThreadId.store(workerId);
}

int ButtonInput::RunMacroWorker() { return ::RunMacroWorker(actions_); }

void ButtonInput::OnTimer(UINT_PTR id, BOOL& handled) {
    HandleActionTimer(id);
    handled = FALSE;  // every tick goes on to default processing
}
