#include "app/SiblingPrograms.h"

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "contract/Names.h"
#include "config/DataFolder.h"
#include "platform/Platform.h"

void PostToSibling(const char16_t* title, UINT message, WPARAM wParam) {
    if (HWND sibling = Sys().Windows.FindWindowW(Text(), title))
        Sys().Windows.PostMessageW(sibling, message, wParam, 0);
}

void LaunchTrayProgram() {
    Sys().Shell.ShellExecuteW(nullptr, u"open", ProgramFolder() + kTrayProgramFile, Text(), Text(), SW_SHOW);
}

void CloseTrayProgram() { PostToSibling(kTrayProgramTitle, WM_CLOSE, 0); }

void NotifyMouseRemoved() { PostToSibling(kConfigProgramTitle, kNotifyMouseRemoved, 0); }
