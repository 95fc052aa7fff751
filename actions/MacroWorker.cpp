#include "actions/MacroWorker.h"

#include "platform/Platform.h"

int MacroWorker() {
    // Every message is taken from the queue so that it never fills.
    MSG msg{};
    while (Sys().Windows.GetMessageW(&msg) > 0) {
    }
    return 0;
}
