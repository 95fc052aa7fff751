#include "hidsim/SimExports.h"

extern "C" {

int HidSim_Open(HWND window, UINT message) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->Open(window, message) : 0;
}

int HidSim_Close() {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->Close() : 0;
}

int HidSim_WriteData(DWORD deviceId, const BYTE* bytes, DWORD length) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->WriteData(deviceId, bytes, length) : 0;
}

int HidSim_WriteCommand(DWORD deviceId, const BYTE* bytes, DWORD length) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->WriteCommand(deviceId, bytes, length) : 0;
}

int HidSim_ReadReply(DWORD deviceId, BYTE* buffer, DWORD length) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->ReadReply(deviceId, buffer, length) : 0;
}

int HidSim_SetMatch(const DWORD* matchRecord) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->SetMatch(matchRecord) : 0;
}

int HidSim_SetCallback(HidInputCallback callback) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->SetCallback(callback) : 0;
}

int HidSim_ReadNotice(LPARAM notice, _DEVICE_STATE* record) {
    SimHidLibrary* library = ActiveSimLibrary();
    return library ? library->ReadNotice(notice, record) : 0;
}

}  // extern "C"
