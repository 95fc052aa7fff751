#include "hidsim/host/SimulatedMouse.h"

#include <atomic>
#include <map>
#include <string>

#include "hidsim/SimExports.h"

namespace {

std::atomic<SimHidLibrary*> gActive{nullptr};

}  // namespace

SimHidLibrary* ActiveSimLibrary() { return gActive.load(); }

class SimulatedMouse::Notifier final : public SimNotifier {
public:
    explicit Notifier(FakePlatform& fake) : fake_(fake) {}
    void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        fake_.windows.SendMessageW(window, message, wParam, lParam);
    }
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        fake_.windows.PostMessageW(window, message, wParam, lParam);
    }

private:
    FakePlatform& fake_;
};

SimulatedMouse::SimulatedMouse(FakePlatform& fake, const SimMouseConfig& config)
    : notifier_(std::make_unique<Notifier>(fake)),
      library_(std::make_unique<SimHidLibrary>(
          *notifier_, [&fake] { return fake.Now(); }, config.Plugged)) {
    library_->SetAnswers(config.Answers);
    if (config.HidDeviceLibrary) {
        std::map<WORD, void*> ordinals = {
            {kOrdinalOpen, reinterpret_cast<void*>(&HidSim_Open)},
            {kOrdinalClose, reinterpret_cast<void*>(&HidSim_Close)},
            {kOrdinalWriteData, reinterpret_cast<void*>(&HidSim_WriteData)},
            {kOrdinalWriteCommand, reinterpret_cast<void*>(&HidSim_WriteCommand)},
            {kOrdinalReadReply, reinterpret_cast<void*>(&HidSim_ReadReply)},
            {kOrdinalSetMatch, reinterpret_cast<void*>(&HidSim_SetMatch)},
            {kOrdinalSetCallback, reinterpret_cast<void*>(&HidSim_SetCallback)}};
        for (WORD missing : config.MissingOrdinals) ordinals.erase(missing);
        fake.kernel.AddModule(u"HidDevice.dll", {}, std::move(ordinals));
    }
    if (config.HidApiLibrary) {
        // The twelve names, in the order of kHidApiEntryNames.
        void* const exports[kHidApiEntryCount] = {
            reinterpret_cast<void*>(&OpenUSB),           reinterpret_cast<void*>(&WriteUSB),
            reinterpret_cast<void*>(&ReadUSB),           reinterpret_cast<void*>(&SetFeature),
            reinterpret_cast<void*>(&GetFeature),        reinterpret_cast<void*>(&CloseUSB),
            reinterpret_cast<void*>(&InitUSB),           reinterpret_cast<void*>(&LoadPCtimer),
            reinterpret_cast<void*>(&EncodeSecrecy_V11), reinterpret_cast<void*>(&DecodeSecrecy_V11),
            reinterpret_cast<void*>(&change_PCTimer),    reinterpret_cast<void*>(&SavePCtimerWithInDLL)};
        std::map<std::string, void*> named;
        for (std::size_t i = 0; i < kHidApiEntryCount; ++i) named[kHidApiEntryNames[i]] = exports[i];
        for (const std::string& missing : config.MissingHidApiEntries) named.erase(missing);
        fake.kernel.AddModule(u"HIDApi.dll", std::move(named));
    }
    gActive.store(library_.get());
}

SimulatedMouse::~SimulatedMouse() {
    SimHidLibrary* self = library_.get();
    gActive.compare_exchange_strong(self, nullptr);
}
