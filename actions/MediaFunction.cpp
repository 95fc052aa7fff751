#include "actions/MediaFunction.h"

#include "actions/InputConventions.h"

void CMediaFunction::TapPlayPause() { TapKey(VK_MEDIA_PLAY_PAUSE); }
void CMediaFunction::TapPreviousTrack() { TapKey(VK_MEDIA_PREV_TRACK); }
void CMediaFunction::TapNextTrack() { TapKey(VK_MEDIA_NEXT_TRACK); }
void CMediaFunction::TapVolumeUp() { TapKey(VK_VOLUME_UP); }
void CMediaFunction::TapVolumeDown() { TapKey(VK_VOLUME_DOWN); }
void CMediaFunction::TapMute() { TapKey(VK_VOLUME_MUTE); }
