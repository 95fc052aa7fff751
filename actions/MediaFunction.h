// Media and volume key taps. Created on the stack for one action; no state.
#pragma once

class CMediaFunction {
public:
    void TapPlayPause();      // VK_MEDIA_PLAY_PAUSE
    void TapPreviousTrack();  // VK_MEDIA_PREV_TRACK
    void TapNextTrack();      // VK_MEDIA_NEXT_TRACK
    void TapVolumeUp();       // VK_VOLUME_UP
    void TapVolumeDown();     // VK_VOLUME_DOWN
    void TapMute();           // VK_VOLUME_MUTE
};
