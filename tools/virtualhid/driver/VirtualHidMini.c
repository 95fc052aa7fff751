/* The HID minidriver of the virtual bus's children (vhidmini.sys). It registers
 * with the HID class driver and passes every PnP, power and internal IOCTL
 * request down to the child device of the bus, which implements the device. */
#include "HidPort.h"

static NTSTATUS NTAPI PassDown(DEVICE_OBJECT* device, IRP* irp) {
    HID_DEVICE_EXTENSION* extension = device->DeviceExtension;
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(extension->NextDeviceObject, irp);
}

static NTSTATUS NTAPI PassDownPower(DEVICE_OBJECT* device, IRP* irp) {
    HID_DEVICE_EXTENSION* extension = device->DeviceExtension;
    PoStartNextPowerIrp(irp);
    IoSkipCurrentIrpStackLocation(irp);
    return PoCallDriver(extension->NextDeviceObject, irp);
}

static NTSTATUS NTAPI AddDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* functionDevice) {
    (void)driver;
    functionDevice->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

static void NTAPI Unload(DRIVER_OBJECT* driver) {
    (void)driver;
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
    driver->DriverExtension->AddDevice = AddDevice;
    driver->DriverUnload = Unload;
    driver->MajorFunction[IRP_MJ_PNP] = PassDown;
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = PassDown;
    driver->MajorFunction[IRP_MJ_POWER] = PassDownPower;

    HID_MINIDRIVER_REGISTRATION registration;
    memset(&registration, 0, sizeof(registration));
    registration.Revision = HID_REVISION;
    registration.DriverObject = driver;
    registration.RegistryPath = registryPath;
    registration.DeviceExtensionSize = sizeof(ULONG_PTR);
    registration.DevicesArePolled = FALSE;
    return HidRegisterMinidriver(&registration);
}
