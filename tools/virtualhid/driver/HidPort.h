/* The HID minidriver definitions that mingw-w64's DDK headers lack (there is no
 * hidport.h) or get wrong: ddk/hidclass.h defines the internal IOCTLs with
 * placeholder values, so the documented codes replace them here. */
#ifndef VIRTUALHID_HIDPORT_H
#define VIRTUALHID_HIDPORT_H

#include <ddk/wdm.h>
#include <hidusage.h> /* ddk/hidclass.h needs it first */
#include <ddk/hidclass.h>

#undef IOCTL_HID_GET_DEVICE_DESCRIPTOR
#undef IOCTL_HID_GET_REPORT_DESCRIPTOR
#undef IOCTL_HID_READ_REPORT
#undef IOCTL_HID_WRITE_REPORT
#undef IOCTL_HID_GET_STRING
#undef IOCTL_HID_ACTIVATE_DEVICE
#undef IOCTL_HID_DEACTIVATE_DEVICE
#undef IOCTL_HID_GET_DEVICE_ATTRIBUTES

#define IOCTL_HID_GET_DEVICE_DESCRIPTOR HID_CTL_CODE(0)
#define IOCTL_HID_GET_REPORT_DESCRIPTOR HID_CTL_CODE(1)
#define IOCTL_HID_READ_REPORT HID_CTL_CODE(2)
#define IOCTL_HID_WRITE_REPORT HID_CTL_CODE(3)
#define IOCTL_HID_GET_STRING HID_CTL_CODE(4)
#define IOCTL_HID_ACTIVATE_DEVICE HID_CTL_CODE(7)
#define IOCTL_HID_DEACTIVATE_DEVICE HID_CTL_CODE(8)
#define IOCTL_HID_GET_DEVICE_ATTRIBUTES HID_CTL_CODE(9)

#define HID_REVISION 0x00000001
#define HID_HID_DESCRIPTOR_TYPE 0x21
#define HID_REPORT_DESCRIPTOR_TYPE 0x22

typedef struct _HID_MINIDRIVER_REGISTRATION {
    ULONG Revision;
    PDRIVER_OBJECT DriverObject;
    PUNICODE_STRING RegistryPath;
    ULONG DeviceExtensionSize;
    BOOLEAN DevicesArePolled;
    UCHAR Reserved[3];
} HID_MINIDRIVER_REGISTRATION, *PHID_MINIDRIVER_REGISTRATION;

typedef struct _HID_DEVICE_EXTENSION {
    PDEVICE_OBJECT PhysicalDeviceObject;
    PDEVICE_OBJECT NextDeviceObject;
    PVOID MiniDeviceExtension;
} HID_DEVICE_EXTENSION, *PHID_DEVICE_EXTENSION;

typedef struct _HID_DEVICE_ATTRIBUTES {
    ULONG Size;
    USHORT VendorID;
    USHORT ProductID;
    USHORT VersionNumber;
    USHORT Reserved[11];
} HID_DEVICE_ATTRIBUTES, *PHID_DEVICE_ATTRIBUTES;

#include <pshpack1.h>
typedef struct _HID_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
    USHORT bcdHID;
    UCHAR bCountry;
    UCHAR bNumDescriptors;
    struct {
        UCHAR bReportType;
        USHORT wReportLength;
    } DescriptorList[1];
} HID_DESCRIPTOR, *PHID_DESCRIPTOR;
#include <poppack.h>

NTSTATUS NTAPI HidRegisterMinidriver(PHID_MINIDRIVER_REGISTRATION registration);

#endif
