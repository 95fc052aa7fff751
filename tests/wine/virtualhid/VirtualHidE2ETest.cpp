// The virtual mouse through the Windows HID stack: a client finds both collections
// with SetupDi and hid.dll, writes to the device, reads what it produces, and sees
// them go on an unplug. Each case plugs a fresh mouse and unplugs it at the end.
#include <windows.h>
#include <winioctl.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include "tools/virtualhid/VirtualHidControl.h"
#include "tools/virtualhid/VirtualHidMouse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const GUID kControlGuid = VHID_CONTROL_GUID_INIT;

struct Collection {
    std::wstring path;
    unsigned short usage = 0;
    HIDP_CAPS caps = {};
};

std::vector<std::wstring> Paths(const GUID& guid) {
    std::vector<std::wstring> paths;
    HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return paths;
    SP_DEVICE_INTERFACE_DATA item = {};
    item.cbSize = sizeof(item);
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &guid, i, &item); ++i) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &item, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
        std::vector<BYTE> buffer(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(*detail);
        if (SetupDiGetDeviceInterfaceDetailW(set, &item, detail, size, nullptr, nullptr))
            paths.push_back(detail->DevicePath);
    }
    SetupDiDestroyDeviceInfoList(set);
    return paths;
}

HANDLE OpenHid(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

// The mouse's collections as a client matches them: vendor and product from the
// attributes, usage from the capabilities.
std::vector<Collection> MouseCollections() {
    GUID hid;
    HidD_GetHidGuid(&hid);
    std::vector<Collection> found;
    for (const auto& path : Paths(hid)) {
        HANDLE h = OpenHid(path);
        if (h == INVALID_HANDLE_VALUE) continue;
        HIDD_ATTRIBUTES attributes = {};
        attributes.Size = sizeof(attributes);
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        Collection c;
        c.path = path;
        if (HidD_GetAttributes(h, &attributes) && attributes.VendorID == vmouse::kVendor &&
            attributes.ProductID == vmouse::kProduct && HidD_GetPreparsedData(h, &preparsed)) {
            if (HidP_GetCaps(preparsed, &c.caps) == HIDP_STATUS_SUCCESS) {
                c.usage = c.caps.Usage;
                found.push_back(c);
            }
            HidD_FreePreparsedData(preparsed);
        }
        CloseHandle(h);
    }
    return found;
}

// Waits (bounded, not timed: the bound only ends a hung case) for `count` collections.
std::vector<Collection> WaitForCollections(size_t count) {
    std::vector<Collection> found;
    for (int i = 0; i < 1000; ++i) {
        found = MouseCollections();
        if (found.size() == count) break;
        Sleep(10);
    }
    return found;
}

const Collection* ByUsage(const std::vector<Collection>& all, unsigned short usage) {
    for (const auto& c : all)
        if (c.usage == usage) return &c;
    return nullptr;
}

bool Control(HANDLE control, DWORD code, const void* in, DWORD inLength, void* out, DWORD outLength) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD got = 0;
    BOOL ok = DeviceIoControl(control, code, const_cast<void*>(in), inLength, out, outLength, &got, &overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(overlapped.hEvent, 10000) != WAIT_OBJECT_0) CancelIoEx(control, &overlapped);
        ok = GetOverlappedResult(control, &overlapped, &got, TRUE);
    }
    CloseHandle(overlapped.hEvent);
    return ok != FALSE;
}

class VirtualHidTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto paths = Paths(kControlGuid);
        ASSERT_FALSE(paths.empty()) << "the virtual HID bus is not installed";
        control_ = CreateFileW(paths[0].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(control_, INVALID_HANDLE_VALUE);
        Unplug(); // a case that failed half way may have left the mouse plugged
        ASSERT_TRUE(WaitForCollections(0).empty());
        for (unsigned long slot : {vmouse::kCommandSlot, vmouse::kDataSlot}) {
            VHID_PLUG plug = vmouse::PlugRecord(slot, VHID_FLAG_FORWARD_OUT);
            ASSERT_TRUE(Control(control_, IOCTL_VHID_PLUG, &plug, sizeof(plug), nullptr, 0));
        }
        collections_ = WaitForCollections(2);
        ASSERT_EQ(collections_.size(), 2u);
    }
    void TearDown() override {
        if (control_ == INVALID_HANDLE_VALUE) return;
        Unplug();
        CloseHandle(control_);
    }
    void Unplug() {
        for (unsigned long slot : {vmouse::kCommandSlot, vmouse::kDataSlot}) {
            VHID_SLOT which = {slot};
            Control(control_, IOCTL_VHID_UNPLUG, &which, sizeof(which), nullptr, 0);
        }
    }
    HANDLE control_ = INVALID_HANDLE_VALUE;
    std::vector<Collection> collections_;
};

TEST_F(VirtualHidTest, BothCollectionsMatchByUsageWithNineByteReports) {
    for (unsigned short usage : {0xFF01, 0xFF00}) {
        const Collection* c = ByUsage(collections_, usage);
        ASSERT_NE(c, nullptr) << std::hex << usage;
        EXPECT_EQ(c->caps.UsagePage, 0xFF00);
        EXPECT_EQ(c->caps.InputReportByteLength, 9);
        EXPECT_EQ(c->caps.OutputReportByteLength, 9);
        EXPECT_EQ(c->caps.FeatureReportByteLength, 9);
    }
}

// Each kind of write reaches the device with its 8 data bytes; the device's input
// report reaches an overlapped read on the other collection with report ID 0 first.
TEST_F(VirtualHidTest, WritesReachTheDeviceAndItsInputReachesTheReader) {
    const Collection* command = ByUsage(collections_, 0xFF01);
    const Collection* data = ByUsage(collections_, 0xFF00);
    ASSERT_TRUE(command && data);
    HANDLE commandHandle = OpenHid(command->path);
    HANDLE dataHandle = OpenHid(data->path);
    ASSERT_NE(commandHandle, INVALID_HANDLE_VALUE);
    ASSERT_NE(dataHandle, INVALID_HANDLE_VALUE);

    struct Case {
        const char* name;
        unsigned long kind;
    };
    const Case cases[] = {{"WriteFile", VHID_KIND_WRITE}, {"HidD_SetFeature", VHID_KIND_SET_FEATURE},
                          {"HidD_SetOutputReport", VHID_KIND_SET_OUTPUT}};
    unsigned char seed = 0x10;
    for (const auto& c : cases) {
        unsigned char frame[9] = {0, 0x07, 0x44, seed, 1, 2, 3, 4, 5};
        BOOL sent = FALSE;
        if (c.kind == VHID_KIND_WRITE) {
            OVERLAPPED overlapped = {};
            overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            DWORD written = 0;
            sent = WriteFile(commandHandle, frame, sizeof(frame), &written, &overlapped) ||
                   (GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(commandHandle, &overlapped, &written, TRUE));
            CloseHandle(overlapped.hEvent);
        } else if (c.kind == VHID_KIND_SET_FEATURE) {
            sent = HidD_SetFeature(commandHandle, frame, sizeof(frame));
        } else {
            sent = HidD_SetOutputReport(commandHandle, frame, sizeof(frame));
        }
        ASSERT_TRUE(sent) << c.name << " " << GetLastError();
        VHID_SLOT which = {vmouse::kCommandSlot};
        VHID_REPORT report = {};
        ASSERT_TRUE(Control(control_, IOCTL_VHID_WAIT_OUTPUT, &which, sizeof(which), &report, sizeof(report)))
            << c.name;
        EXPECT_EQ(report.kind, c.kind) << c.name;
        EXPECT_EQ(report.reportId, 0u) << c.name;
        ASSERT_EQ(report.length, 8u) << c.name;
        EXPECT_EQ(std::memcmp(report.data, frame + 1, 8), 0) << c.name;
        ++seed;
    }
    // A feature report written is what the device answers to a read of it.
    unsigned char feature[9] = {};
    ASSERT_TRUE(HidD_GetFeature(commandHandle, feature, sizeof(feature)));
    const unsigned char expectedFeature[9] = {0, 0x07, 0x44, 0x11, 1, 2, 3, 4, 5};
    EXPECT_EQ(std::memcmp(feature, expectedFeature, 9), 0);

    HidD_FlushQueue(dataHandle);
    VHID_REPORT input = {};
    input.slot = vmouse::kDataSlot;
    input.kind = VHID_KIND_INPUT;
    input.length = 8;
    const unsigned char press[8] = {0x07, 0x42, 0x00, 0x04, 0x01, 0, 0, 0};
    std::memcpy(input.data, press, 8);
    ASSERT_TRUE(Control(control_, IOCTL_VHID_INJECT, &input, sizeof(input), nullptr, 0));
    unsigned char got[9] = {};
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD read = 0;
    BOOL ok = ReadFile(dataHandle, got, sizeof(got), &read, &overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(overlapped.hEvent, 10000) != WAIT_OBJECT_0) CancelIoEx(dataHandle, &overlapped);
        ok = GetOverlappedResult(dataHandle, &overlapped, &read, TRUE);
    }
    CloseHandle(overlapped.hEvent);
    ASSERT_TRUE(ok);
    ASSERT_EQ(read, 9u);
    EXPECT_EQ(got[0], 0);
    EXPECT_EQ(std::memcmp(got + 1, press, 8), 0);
    CloseHandle(commandHandle);
    CloseHandle(dataHandle);
}

// An unplug fails a pending read (with whatever code: Wine and Windows differ) and
// takes both collections off the list.
TEST_F(VirtualHidTest, UnplugFailsThePendingReadAndRemovesBothCollections) {
    const Collection* data = ByUsage(collections_, 0xFF00);
    ASSERT_NE(data, nullptr);
    HANDLE h = OpenHid(data->path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    HidD_FlushQueue(h);
    unsigned char got[9] = {};
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(h, got, sizeof(got), &read, &overlapped));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
    Unplug();
    if (WaitForSingleObject(overlapped.hEvent, 10000) != WAIT_OBJECT_0) CancelIoEx(h, &overlapped);
    EXPECT_FALSE(GetOverlappedResult(h, &overlapped, &read, TRUE));
    CloseHandle(overlapped.hEvent);
    CloseHandle(h);
    EXPECT_TRUE(WaitForCollections(0).empty());
    EXPECT_EQ(OpenHid(data->path), INVALID_HANDLE_VALUE);
}

} // namespace
