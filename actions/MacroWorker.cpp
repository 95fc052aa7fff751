#include "actions/MacroWorker.h"

#include "platform/Platform.h"

int MacroWorker(CMursohidDlg*) {
    // Waits for thread messages. The macro requests are not played yet; every
    // message is taken from the queue so that it never fills.
    MSG msg{};
    while (Sys().Windows.GetMessageW(&msg) > 0) {
    }
    return 0;
}
