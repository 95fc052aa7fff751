// The read-back chain, one step per timer tick (515, 513, 516, 514, 517),
// and the adoption of what it read (0x672).
#include <cstdio>
#include <cstring>

#include "app/MainWindowState.h"
#include "app/Messages.h"
#include "app/MursohidDlg.h"
#include "app/ReadBackChain.h"
#include "app/ServiceNames.h"
#include "config/SettingsFile.h"
#include "device/ReadBackCollector.h"

namespace {

// Bytes of a block that one completed collection fills.
constexpr std::size_t kShortCollected = kReadBackReports * kReportSize;
constexpr std::size_t kBulkCollected = kBulkReadBackReports * kReportSize;
static_assert(kShortCollected <= kShortSlotSize && kReadBackBlockSize == kShortSlotSize, "block fits a slot");
static_assert(kBulkCollected <= kBulkSlotSize && kBulkReadBackSize == kBulkSlotSize, "buffer fits a slot");

}  // namespace

bool CMursohidDlg::HandleReadBackTimer(UINT_PTR timerId) {
    const ReadBackStep* step = FindReadBackStep(timerId);
    if (step == nullptr) return false;
    DeviceSession& device = state_->Device;
    const bool shortCollection = step->WaitsFor == ReadBackCollection::Short;
    // Asking the collector also ends a four-report collection whose answers
    // are overdue; the step then goes on with nothing read.
    const bool busy = shortCollection ? device.ShortReadBackState() == ReadBackState::Pending
                                      : device.BulkReadPending();
    const CollectionWait wait = state_->ReadBackProgress.Take(step->WaitsFor, busy);
    if (wait == CollectionWait::Busy) return true;  // the timer stays: tried again in 100 ms

    Sys().Windows.KillTimer(m_hWnd, step->TimerId);
    ReadBackSlots& slots = state_->ReadBackData;
    const bool read = wait == CollectionWait::EndedWithData;
    if (shortCollection) {
        const auto block = ReadBack.Block();
        std::memcpy(slots.Short[step->Slot].data(), block.data(), block.size());
        slots.ShortFilled[step->Slot] = read ? kShortCollected : 0;
    } else {
        const auto bulk = ReadBack.BulkBlock();
        std::memcpy(slots.Bulk[step->Slot].data(), bulk.data(), bulk.size());
        slots.BulkFilled[step->Slot] = read ? kBulkCollected : 0;
    }

    switch (step->Then) {
    case ReadBackNext::Query: device.ReadBackQuery(); break;
    case ReadBackNext::RequestShort: device.RequestReadBack(); break;
    case ReadBackNext::Finish: FinishReadBack(); break;
    }
    if (step->Arms != 0) Sys().Windows.SetTimer(m_hWnd, step->Arms, kReadBackStepMs);
    return true;
}

void CMursohidDlg::FinishReadBack() {
    ServiceSettings image = state_->Settings.DeviceImage();
    DecodeDeviceButtons(state_->ReadBackData, image, state_->ImageFields);
    state_->Settings.SetDeviceImage(image);
    ReloadSettings();
    // One debug line per button that differs, then the end of the read-back.
    const auto differences = ListButtonDifferences(image, state_->ImageFields, state_->Settings.Working());
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
    if (!CompareDeviceImage(image, state_->ImageFields, state_->Settings.Working()))
        PostToSibling(kReadBackProgramTitle, kNotifyDeviceImageDiffers, 0);
}

LRESULT CMursohidDlg::OnAdoptDeviceImage(UINT, WPARAM, LPARAM, BOOL&) {
    const ServiceSettings image = state_->Settings.DeviceImage();
    const DeviceImageFields fields = state_->ImageFields;
    state_->Settings.UpdateWorking([&](ServiceSettings& working) { AdoptDeviceImage(image, fields, working); });
    state_->Settings.WriteAllSettings();
    state_->Settings.CopyWorkingToSnapshot();
    PostToSibling(kReadBackProgramTitle, kNotifyDeviceImageAdopted, 0);
    return 0;
}
