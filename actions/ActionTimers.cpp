#include "actions/ActionTimers.h"

#include "actions/ButtonDispatcher.h"
#include "actions/InputConventions.h"
#include "actions/MediaFunction.h"

bool HandleActionTimer(UINT_PTR id) {
    CMediaFunction media;
    switch (id) {
        case kVolumeUpTimerId: media.TapVolumeUp(); return true;
        case kVolumeDownTimerId: media.TapVolumeDown(); return true;
        case kTabTapTimerId: TapKey(VK_TAB); return true;
        default: return false;
    }
}
