#include "device/HidApiBinding.h"

#include "device/DeviceProtocol.h"
#include "platform/Platform.h"

HidApiBindingTable HidApiBinding;

namespace {

// Where each entry point is kept, in the order of kHidApiEntryNames.
constexpr void* HidApiBindingTable::*kSlots[kHidApiEntryCount] = {
    &HidApiBindingTable::OpenUSB,           &HidApiBindingTable::WriteUSB,
    &HidApiBindingTable::ReadUSB,           &HidApiBindingTable::SetFeature,
    &HidApiBindingTable::GetFeature,        &HidApiBindingTable::CloseUSB,
    &HidApiBindingTable::InitUSB,           &HidApiBindingTable::LoadPCtimer,
    &HidApiBindingTable::EncodeSecrecy_V11, &HidApiBindingTable::DecodeSecrecy_V11,
    &HidApiBindingTable::change_PCTimer,    &HidApiBindingTable::SavePCtimerWithInDLL,
};

}  // namespace

void BindHidApi() {
    HidApiBinding = HidApiBindingTable{};
    HidApiBinding.Module = Sys().Kernel.LoadLibraryW(u"HIDApi.dll");
    for (std::size_t i = 0; i < kHidApiEntryCount; ++i)
        HidApiBinding.*kSlots[i] = Sys().Kernel.GetProcAddress(HidApiBinding.Module, kHidApiEntryNames[i]);
}

void CallSavePCtimerWithInDLL() {
    if (HidApiBinding.SavePCtimerWithInDLL == nullptr) return;
    // Offsets 1 to 8 of a zeroed 9-byte frame.
    std::uint8_t frame[9] = {};
    reinterpret_cast<HidApiBufferFunction>(HidApiBinding.SavePCtimerWithInDLL)(frame + 1);
}

void CallDecodeSecrecy(std::uint8_t* frame) {
    if (HidApiBinding.DecodeSecrecy_V11 == nullptr) return;
    reinterpret_cast<HidApiBufferFunction>(HidApiBinding.DecodeSecrecy_V11)(frame);
}
