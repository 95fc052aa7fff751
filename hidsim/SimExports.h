// The exported entry points of our HidDevice.dll (ordinals 2 to 9) and
// HIDApi.dll (twelve names). They forward to the active simulated library:
// inside the DLLs one created on first use, on the host the one a test set.
#pragma once

#include "hidsim/SimHidLibrary.h"

// The library the exports act on; null when none (every export then does
// nothing and returns 0). Defined by the build: the DLL or the host module.
SimHidLibrary* ActiveSimLibrary();

extern "C" {
int HidSim_Open(HWND window, UINT message);
int HidSim_Close();
int HidSim_WriteData(DWORD deviceId, const BYTE* bytes, DWORD length);
int HidSim_WriteCommand(DWORD deviceId, const BYTE* bytes, DWORD length);
int HidSim_ReadReply(DWORD deviceId, BYTE* buffer, DWORD length);
int HidSim_SetMatch(const DWORD* matchRecord);
int HidSim_SetCallback(HidInputCallback callback);
int HidSim_ReadNotice(LPARAM notice, _DEVICE_STATE* record);

// HIDApi.dll: each takes one buffer pointer. Only the last two named in the
// service are called; the rest answer 0 and touch nothing.
int OpenUSB(BYTE* buffer);
int WriteUSB(BYTE* buffer);
int ReadUSB(BYTE* buffer);
int SetFeature(BYTE* buffer);
int GetFeature(BYTE* buffer);
int CloseUSB(BYTE* buffer);
int InitUSB(BYTE* buffer);
int LoadPCtimer(BYTE* buffer);
int EncodeSecrecy_V11(BYTE* frame);
int DecodeSecrecy_V11(BYTE* frame);
int change_PCTimer(BYTE* buffer);
int SavePCtimerWithInDLL(BYTE* buffer);
}
