// The USB helper library HIDApi.dll, loaded by name at start-up. Twelve entry
// points are resolved; only two are ever called, and an entry point that
// could not be resolved is skipped, never called.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/WinTypes.h"

struct HidApiBindingTable {
    HMODULE Module = nullptr;
    void* OpenUSB = nullptr;
    void* WriteUSB = nullptr;
    void* ReadUSB = nullptr;
    void* SetFeature = nullptr;
    void* GetFeature = nullptr;
    void* CloseUSB = nullptr;
    void* InitUSB = nullptr;
    void* LoadPCtimer = nullptr;
    void* EncodeSecrecy_V11 = nullptr;
    void* DecodeSecrecy_V11 = nullptr;
    void* change_PCTimer = nullptr;
    void* SavePCtimerWithInDLL = nullptr;
};

// The library's entry points, resolved once on the main thread before the
// mouse is opened; read-only afterwards.
extern HidApiBindingTable HidApiBinding;

// Both called entry points take one pointer to a buffer and return an int.
using HidApiBufferFunction = int (*)(std::uint8_t* buffer);

// Loads "HIDApi.dll" and resolves the twelve names in order.
void BindHidApi();
// Calls SavePCtimerWithInDLL with eight zero bytes, when it was resolved.
void CallSavePCtimerWithInDLL();
// Transforms a 9-byte report frame in place; does nothing when unresolved.
void CallDecodeSecrecy(std::uint8_t* frame);
