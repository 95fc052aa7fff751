// What the sibling programs receive from the service on its recurring roads,
// named once for a host test and its Wine twin (the host test renders each
// post as the fake records it; the Wine test looks for it in the stand-in's
// log of that title).
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/Messages.h"
#include "contract/Names.h"
#include "platform/WinTypes.h"

// One message posted to the top-level window of a sibling, found by title.
struct PeerPost {
    const char16_t* Title;
    std::uint32_t Message;
    std::uintptr_t WParam;
};

// Shut-down: the configuration program, then the tray program, are asked to close.
constexpr PeerPost kShutDownPosts[] = {
    {kConfigProgramTitle, WM_CLOSE, 0},
    {kTrayProgramTitle, WM_CLOSE, 0},
};

// The end of a full write: the configuration program hears that it is done.
constexpr PeerPost kFullWritePosts[] = {
    {kConfigProgramTitle, kNotifyFullWriteDone, 0},
};
