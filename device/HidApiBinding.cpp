#include "device/HidApiBinding.h"

#include "platform/Platform.h"

HidApiBindingTable HidApiBinding;

namespace {

struct EntryPoint {
    const char* name;
    void* HidApiBindingTable::*slot;
};

constexpr EntryPoint kEntryPoints[] = {
    {"OpenUSB", &HidApiBindingTable::OpenUSB},
    {"WriteUSB", &HidApiBindingTable::WriteUSB},
    {"ReadUSB", &HidApiBindingTable::ReadUSB},
    {"SetFeature", &HidApiBindingTable::SetFeature},
    {"GetFeature", &HidApiBindingTable::GetFeature},
    {"CloseUSB", &HidApiBindingTable::CloseUSB},
    {"InitUSB", &HidApiBindingTable::InitUSB},
    {"LoadPCtimer", &HidApiBindingTable::LoadPCtimer},
    {"EncodeSecrecy_V11", &HidApiBindingTable::EncodeSecrecy_V11},
    {"DecodeSecrecy_V11", &HidApiBindingTable::DecodeSecrecy_V11},
    {"change_PCTimer", &HidApiBindingTable::change_PCTimer},
    {"SavePCtimerWithInDLL", &HidApiBindingTable::SavePCtimerWithInDLL},
};

}  // namespace

void BindHidApi() {
    HidApiBinding = HidApiBindingTable{};
    HidApiBinding.Module = Sys().Kernel.LoadLibraryW(u"HIDApi.dll");
    for (const auto& entry : kEntryPoints)
        HidApiBinding.*entry.slot = Sys().Kernel.GetProcAddress(HidApiBinding.Module, entry.name);
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
