// The virtual HID bus's installer and controller, a test tool (see README, "The virtual mouse").
//
//   virtualhid.exe install INF      register the bus's root device and install both drivers from INF
//   virtualhid.exe uninstall INF    remove the bus, its children's devnodes, the services and the INF copies
//   virtualhid.exe wait-bus MS      wait up to MS ms for the bus's control interface (exit 1 when it never came)
//   virtualhid.exe plug             plug the mouse: interface 0 (command collection, usage 0xFF01)
//                                   and interface 1 (data collection, usage 0xFF00)
//   virtualhid.exe unplug           unplug both
//   virtualhid.exe list             every HID interface as a client sees it
//   virtualhid.exe round-trip N     with the mouse plugged: N times, an output report to the
//                                   command collection taken by this program, answered with an
//                                   input report on the data collection and read there; prints
//                                   p50, p99 and max in ms (the device's own round trip)
//
// Exit codes: 0 done, 1 failed, 2 bad arguments.
#include <windows.h>
#include <winioctl.h>
#include <setupapi.h>
#include <cfgmgr32.h>
#include <newdev.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include "tools/virtualhid/VirtualHidControl.h"
#include "tools/virtualhid/VirtualHidMouse.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const GUID kControlGuid = VHID_CONTROL_GUID_INIT;
const wchar_t kRootDevice[] = L"root\\vhidbus\\0";
const wchar_t kBusHardwareId[] = L"VHIDBUS\\BUS\0"; // a list: one item and the list's end

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

std::wstring FullPath(const wchar_t* path) {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetFullPathNameW(path, MAX_PATH, buffer, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer) : std::wstring(path);
}

std::vector<std::wstring> InterfacePaths(const GUID& guid) {
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

HANDLE OpenControl(DWORD waitMs) {
    const ULONGLONG end = GetTickCount64() + waitMs;
    for (;;) {
        for (const auto& path : InterfacePaths(kControlGuid)) {
            HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OVERLAPPED, nullptr);
            if (h != INVALID_HANDLE_VALUE) return h;
        }
        if (GetTickCount64() >= end) return INVALID_HANDLE_VALUE;
        Sleep(10);
    }
}

// One control request, waited for at most waitMs.
bool Control(HANDLE control, DWORD code, const void* in, DWORD inLength, DWORD waitMs) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent) return false;
    DWORD got = 0;
    BOOL ok = DeviceIoControl(control, code, const_cast<void*>(in), inLength, nullptr, 0, &got, &overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(overlapped.hEvent, waitMs) != WAIT_OBJECT_0) CancelIoEx(control, &overlapped);
        ok = GetOverlappedResult(control, &overlapped, &got, TRUE);
    }
    CloseHandle(overlapped.hEvent);
    return ok != FALSE;
}

// Starts the bus's service (the PnP manager starts it with the session or the install;
// this covers a session whose device start came before the service existed).
void StartBusService() {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return;
    SC_HANDLE service = OpenServiceW(manager, L"vhidbus", SERVICE_START);
    if (service) {
        StartServiceW(service, 0, nullptr);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

// The bus's control interface, waited for up to waitMs, with one start of its service halfway.
HANDLE OpenStartedControl(DWORD waitMs) {
    HANDLE control = OpenControl(waitMs / 2);
    if (control != INVALID_HANDLE_VALUE) return control;
    StartBusService();
    return OpenControl(waitMs / 2);
}

int Install(const wchar_t* inf) {
    const std::wstring infPath = FullPath(inf);
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    GUID none = {};
    // An already registered root device (a second install) is kept.
    if (SetupDiCreateDeviceInfoW(set, kRootDevice, &none, nullptr, nullptr, 0, &device)) {
        if (!SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID,
                                               reinterpret_cast<const BYTE*>(kBusHardwareId),
                                               sizeof(kBusHardwareId)) ||
            !SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device)) {
            std::fprintf(stderr, "virtualhid: registering the bus failed (%lu)\n", GetLastError());
            SetupDiDestroyDeviceInfoList(set);
            return 1;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    BOOL reboot = FALSE;
    if (!UpdateDriverForPlugAndPlayDevicesW(nullptr, L"VHIDBUS\\BUS", infPath.c_str(), INSTALLFLAG_FORCE, &reboot)) {
        std::fprintf(stderr, "virtualhid: installing the drivers failed (%lu)\n", GetLastError());
        return 1;
    }
    HANDLE control = OpenStartedControl(20000);
    if (control == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "virtualhid: the bus did not start\n");
        return 1;
    }
    CloseHandle(control);
    std::printf("installed\n");
    return 0;
}

void RemoveService(SC_HANDLE manager, const wchar_t* name) {
    SC_HANDLE service = OpenServiceW(manager, name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (!service) return;
    SERVICE_STATUS status = {};
    // The minidriver was loaded by the PnP manager: its stop fails, and the delete
    // takes effect when the session ends (a reinstall needs a new session).
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    DeleteService(service);
    CloseServiceHandle(service);
}

// Removes every devnode of the enumerator whose id contains `part` (lower case), present or not:
// children's devnodes outlive their bus with their driver key, and a later install would try
// to load the deleted minidriver service for them.
void RemoveDevnodes(const wchar_t* enumerator, const wchar_t* part) {
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, enumerator, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        wchar_t id[MAX_DEVICE_ID_LEN];
        if (!SetupDiGetDeviceInstanceIdW(set, &device, id, MAX_DEVICE_ID_LEN, nullptr)) continue;
        std::wstring lower(id);
        for (auto& c : lower) c = towlower(c);
        if (lower.find(part) != std::wstring::npos) SetupDiCallClassInstaller(DIF_REMOVE, set, &device);
    }
    SetupDiDestroyDeviceInfoList(set);
}

int Uninstall(const wchar_t* inf) {
    RemoveDevnodes(L"ROOT", L"root\\vhidbus\\");
    RemoveDevnodes(L"VHIDBUS", L"vhidbus\\");
    RemoveDevnodes(L"HID", L"vid_195d&pid_1016&mi_0"); // the collections of the bus's children
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager) {
        RemoveService(manager, L"vhidbus");
        RemoveService(manager, L"vhidmini");
        CloseServiceHandle(manager);
    }
    wchar_t copied[MAX_PATH];
    wchar_t* name = nullptr;
    const std::wstring infPath = FullPath(inf);
    if (SetupCopyOEMInfW(infPath.c_str(), nullptr, SPOST_NONE, SP_COPY_REPLACEONLY, copied, MAX_PATH, nullptr,
                         &name) &&
        name)
        SetupUninstallOEMInfW(name, SUOI_FORCEDELETE, nullptr);
    // The install also leaves the INF under its own name, which would keep matching the
    // minidriver's id with its old content after a reinstall.
    wchar_t windows[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        DeleteFileW((std::wstring(windows) + L"\\inf\\virtualhid.inf").c_str());
        DeleteFileW((std::wstring(windows) + L"\\inf\\virtualhid.pnf").c_str());
    }
    std::printf("uninstalled\n");
    return 0;
}

int WaitBus(DWORD waitMs) {
    HANDLE control = OpenStartedControl(waitMs);
    if (control == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "virtualhid: no bus\n");
        return 1;
    }
    CloseHandle(control);
    std::printf("bus ready\n");
    return 0;
}

int PlugOrUnplug(bool plug) {
    HANDLE control = OpenControl(2000);
    if (control == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "virtualhid: no bus\n");
        return 1;
    }
    bool ok = true;
    for (unsigned long slot : {vmouse::kCommandSlot, vmouse::kDataSlot}) {
        if (plug) {
            VHID_PLUG record = vmouse::PlugRecord(slot, VHID_FLAG_FORWARD_OUT);
            ok = Control(control, IOCTL_VHID_PLUG, &record, sizeof(record), 5000) && ok;
        } else {
            VHID_SLOT which = {slot};
            ok = Control(control, IOCTL_VHID_UNPLUG, &which, sizeof(which), 5000) && ok;
        }
    }
    CloseHandle(control);
    std::printf("%s %s\n", plug ? "plug" : "unplug", ok ? "ok" : "failed");
    return ok ? 0 : 1;
}

int List() {
    GUID hid;
    HidD_GetHidGuid(&hid);
    for (const auto& path : InterfacePaths(hid)) {
        std::printf("%s\n", Narrow(path).c_str());
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            std::printf("  open failed (%lu)\n", GetLastError());
            continue;
        }
        HIDD_ATTRIBUTES attributes = {};
        attributes.Size = sizeof(attributes);
        HIDP_CAPS caps = {};
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        if (HidD_GetAttributes(h, &attributes) && HidD_GetPreparsedData(h, &preparsed)) {
            HidP_GetCaps(preparsed, &caps);
            HidD_FreePreparsedData(preparsed);
            std::printf("  vid=%04X pid=%04X usagepage=%04X usage=%04X input=%u output=%u feature=%u\n",
                        attributes.VendorID, attributes.ProductID, caps.UsagePage, caps.Usage,
                        caps.InputReportByteLength, caps.OutputReportByteLength, caps.FeatureReportByteLength);
        }
        CloseHandle(h);
    }
    return 0;
}

// The mouse's collection with this usage, opened overlapped, or INVALID_HANDLE_VALUE.
HANDLE OpenMouseCollection(unsigned short usage) {
    GUID hid;
    HidD_GetHidGuid(&hid);
    for (const auto& path : InterfacePaths(hid)) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        HIDD_ATTRIBUTES attributes = {};
        attributes.Size = sizeof(attributes);
        HIDP_CAPS caps = {};
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        if (HidD_GetAttributes(h, &attributes) && attributes.VendorID == vmouse::kVendor &&
            attributes.ProductID == vmouse::kProduct && HidD_GetPreparsedData(h, &preparsed)) {
            const bool ok = HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS && caps.Usage == usage;
            HidD_FreePreparsedData(preparsed);
            if (ok) return h;
        }
        CloseHandle(h);
    }
    return INVALID_HANDLE_VALUE;
}

// One overlapped transfer on a HID handle, waited for at most 5 s.
bool Transfer(HANDLE h, bool write, unsigned char* frame, DWORD length) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD done = 0;
    BOOL ok = write ? WriteFile(h, frame, length, &done, &overlapped) : ReadFile(h, frame, length, &done, &overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(overlapped.hEvent, 5000) != WAIT_OBJECT_0) CancelIoEx(h, &overlapped);
        ok = GetOverlappedResult(h, &overlapped, &done, TRUE);
    }
    CloseHandle(overlapped.hEvent);
    return ok != FALSE;
}

int RoundTrip(int count) {
    HANDLE control = OpenControl(2000);
    HANDLE command = OpenMouseCollection(0xFF01);
    HANDLE data = OpenMouseCollection(0xFF00);
    if (control == INVALID_HANDLE_VALUE || command == INVALID_HANDLE_VALUE || data == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "virtualhid: no bus or no plugged mouse\n");
        return 1;
    }
    HidD_FlushQueue(data);
    std::vector<double> times;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < count; ++i) {
        unsigned char frame[9] = {0, 0x07, 0x44, static_cast<unsigned char>(i), 0, 0, 0, 0, 0};
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (!Transfer(command, true, frame, sizeof(frame))) return 1;
        VHID_SLOT which = {vmouse::kCommandSlot};
        VHID_REPORT report = {};
        OVERLAPPED overlapped = {};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD got = 0;
        BOOL ok = DeviceIoControl(control, IOCTL_VHID_WAIT_OUTPUT, &which, sizeof(which), &report, sizeof(report),
                                  &got, &overlapped);
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            if (WaitForSingleObject(overlapped.hEvent, 5000) != WAIT_OBJECT_0) CancelIoEx(control, &overlapped);
            ok = GetOverlappedResult(control, &overlapped, &got, TRUE);
        }
        CloseHandle(overlapped.hEvent);
        if (!ok) return 1;
        report.slot = vmouse::kDataSlot;
        report.kind = VHID_KIND_INPUT;
        if (!Control(control, IOCTL_VHID_INJECT, &report, sizeof(report), 5000)) return 1;
        unsigned char answer[9] = {};
        if (!Transfer(data, false, answer, sizeof(answer)) || answer[3] != frame[3]) return 1;
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    CloseHandle(command);
    CloseHandle(data);
    CloseHandle(control);
    if (times.empty()) return 1;
    std::sort(times.begin(), times.end());
    std::printf("round trips %zu: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", times.size(), times[times.size() / 2],
                times[std::min(times.size() - 1, times.size() * 99 / 100)], times.back());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"install" && argc == 3) return Install(argv[2]);
    if (command == L"uninstall" && argc == 3) return Uninstall(argv[2]);
    if (command == L"wait-bus" && argc == 3) return WaitBus(static_cast<DWORD>(wcstoul(argv[2], nullptr, 10)));
    if (command == L"plug" && argc == 2) return PlugOrUnplug(true);
    if (command == L"unplug" && argc == 2) return PlugOrUnplug(false);
    if (command == L"list" && argc == 2) return List();
    if (command == L"round-trip" && argc == 3) {
        const int count = static_cast<int>(wcstoul(argv[2], nullptr, 10));
        if (count < 1 || count > 100000) return 2;
        return RoundTrip(count);
    }
    std::fprintf(stderr, "usage: virtualhid.exe install INF | uninstall INF | wait-bus MS | plug | unplug | list | round-trip N\n");
    return 2;
}
