#include "app/DeviceReadBack.h"

#include <cstdio>
#include <cstring>

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "app/ReadBackChain.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"
#include "device/ReadBackCollector.h"
#include "platform/Platform.h"

namespace {

// Bytes of a block that one completed collection fills.
constexpr std::size_t kShortCollected = kReadBackReports * kReportSize;
constexpr std::size_t kBulkCollected = kBulkReadBackReports * kReportSize;
static_assert(kShortCollected <= kShortSlotSize && kReadBackBlockSize == kShortSlotSize, "block fits a slot");
static_assert(kBulkCollected <= kBulkSlotSize && kBulkReadBackSize == kBulkSlotSize, "buffer fits a slot");

}  // namespace

const MessageMapEntry<DeviceReadBack> DeviceReadBack::kMessageMap[] = {
    OnTimerId<&DeviceReadBack::OnTimer>(),
    OnWParam<&DeviceReadBack::OnAdoptDeviceImage>(kMsgAdoptDeviceImage),
};

bool DeviceReadBack::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

void DeviceReadBack::FeedInputReport(InputRoutes& routes, DWORD identifier, const BYTE* report, DWORD length) {
    const bool shortBefore = device_.ShortReadPending();
    const bool bulkBefore = device_.BulkReadPending();
    device_.HandleInputReport(&routes, identifier, report, length);
    // Only the last of the four answers completes the collection; a report
    // that comes too late ends it without data.
    const bool shortComplete =
        !device_.ShortReadPending() && device_.ShortReadBackState() == ReadBackState::Complete;
    progress_.ReportHandled(ReadBackCollection::Short, shortBefore, !shortComplete);
    progress_.ReportHandled(ReadBackCollection::Bulk, bulkBefore, device_.BulkReadPending());
}

void DeviceReadBack::OnTimer(UINT_PTR id, BOOL& handled) {
    handled = FALSE;  // every tick goes on to default processing
    const ReadBackStep* step = FindReadBackStep(id);
    if (step == nullptr) return;
    const bool shortCollection = step->WaitsFor == ReadBackCollection::Short;
    // Asking the collector also ends a four-report collection whose answers
    // are overdue; the step then goes on with nothing read.
    const bool busy = shortCollection ? device_.ShortReadBackState() == ReadBackState::Pending
                                      : device_.BulkReadPending();
    const CollectionWait wait = progress_.Take(step->WaitsFor, busy);
    if (wait == CollectionWait::Busy) return;  // the timer stays: tried again in 100 ms

    Sys().Windows.KillTimer(window_, step->TimerId);
    const bool read = wait == CollectionWait::EndedWithData;
    if (shortCollection) {
        const auto block = ReadBack.Block();
        std::memcpy(slots_.Short[step->Slot].data(), block.data(), block.size());
        slots_.ShortFilled[step->Slot] = read ? kShortCollected : 0;
    } else {
        const auto bulk = ReadBack.BulkBlock();
        std::memcpy(slots_.Bulk[step->Slot].data(), bulk.data(), bulk.size());
        slots_.BulkFilled[step->Slot] = read ? kBulkCollected : 0;
    }

    switch (step->Then) {
    case ReadBackNext::Query: device_.ReadBackQuery(); break;
    case ReadBackNext::RequestShort: device_.RequestReadBack(); break;
    case ReadBackNext::Finish: Finish(); break;
    }
    if (step->Arms != 0) Sys().Windows.SetTimer(window_, step->Arms, kReadBackStepMs);
}

void DeviceReadBack::Finish() {
    ServiceSettings image = settings_.DeviceImage();
    DecodeDeviceButtons(slots_, image, fields_);
    settings_.SetDeviceImage(image);
    settings_.ReloadSettings();
    // One debug line per button that differs, then the end of the read-back.
    const auto differences = ListButtonDifferences(image, fields_, settings_.Working());
    for (const ButtonDifference& d : differences) {
        char line[96];
        std::snprintf(line, sizeof line, "READBACK:profile=%d,button=%d,stored=%u,read=%u,macro=%d", d.Profile,
                      d.Button, static_cast<unsigned>(d.StoredFunc), static_cast<unsigned>(d.ReadFunc),
                      d.MacroDiffers ? 1 : 0);
        Sys().Kernel.OutputDebugStringW(TextFromUtf8(line));
    }
    char done[48];
    std::snprintf(done, sizeof done, "READBACK:done,differ=%zu", differences.size());
    Sys().Kernel.OutputDebugStringW(TextFromUtf8(done));
    if (!CompareDeviceImage(image, fields_, settings_.Working()))
        PostToSibling(kReadBackProgramTitle, kNotifyDeviceImageDiffers, 0);
}

LRESULT DeviceReadBack::OnAdoptDeviceImage(WPARAM, BOOL&) {
    // Adopted into the file as it is now: what the configuration program
    // stored since the last reload stays, and nothing that lives only in
    // memory (a held resolution clutch's stage) is written.
    if (!settings_.ReloadSettings()) {
        Sys().Kernel.OutputDebugStringW(u"AdoptDeviceImage: the settings file could not be read, nothing adopted\n");
        return 0;
    }
    const ServiceSettings image = settings_.DeviceImage();
    const DeviceImageFields fields = fields_;
    settings_.UpdateWorking([&](ServiceSettings& working) { AdoptDeviceImage(image, fields, working); });
    if (!settings_.WriteAllSettings()) {
        // Memory goes back to what the file holds; nobody hears of an adoption.
        settings_.ReloadSettings();
        Sys().Kernel.OutputDebugStringW(u"AdoptDeviceImage: the settings file could not be written, nothing adopted\n");
        return 0;
    }
    settings_.CopyWorkingToSnapshot();
    PostToSibling(kReadBackProgramTitle, kNotifyDeviceImageAdopted, 0);
    return 0;
}
