/* The control interface of the virtual HID bus: what a user-mode program sends
 * to the bus to plug and unplug devices, produce their input reports and take
 * the reports the host writes to them. Plain C, shared by the bus driver and
 * the programs that drive it. Every length in these records is checked by the
 * bus before use. */
#ifndef VIRTUALHID_CONTROL_H
#define VIRTUALHID_CONTROL_H

/* {3a7c51e2-8d40-4b6e-b1f9-5c0e2d7a9134}: the bus's control device interface. */
#define VHID_CONTROL_GUID_INIT \
    { 0x3a7c51e2, 0x8d40, 0x4b6e, { 0xb1, 0xf9, 0x5c, 0x0e, 0x2d, 0x7a, 0x91, 0x34 } }

#define VHID_FILE_DEVICE 0x8000
#define VHID_CTL(n) ((unsigned long)CTL_CODE(VHID_FILE_DEVICE, 0x800 + (n), METHOD_BUFFERED, FILE_ANY_ACCESS))
#define IOCTL_VHID_PLUG VHID_CTL(1)             /* in: VHID_PLUG */
#define IOCTL_VHID_UNPLUG VHID_CTL(2)           /* in: VHID_SLOT */
#define IOCTL_VHID_INJECT VHID_CTL(3)           /* in: VHID_REPORT, an input report to deliver */
#define IOCTL_VHID_WAIT_OUTPUT VHID_CTL(4)      /* in: VHID_SLOT, out: VHID_REPORT; pends */
#define IOCTL_VHID_SET_FEATURE_DATA VHID_CTL(5) /* in: VHID_REPORT, what GET_FEATURE answers */

#define VHID_MAX_REPORT 64
#define VHID_MAX_DESCRIPTOR 1024
#define VHID_MAX_STRING 64

/* VHID_PLUG.flags */
#define VHID_FLAG_ECHO 0x1        /* output reports come back as input reports */
#define VHID_FLAG_FORWARD_OUT 0x2 /* output and feature reports queue for IOCTL_VHID_WAIT_OUTPUT */

typedef struct {
    unsigned long slot; /* chosen by the controller, unique among plugged devices */
    unsigned long flags;
    unsigned short vendor, product, version;
    unsigned short interfaceNumber; /* the device id gets &MI_xx */
    unsigned long descriptorLength;
    unsigned char descriptor[VHID_MAX_DESCRIPTOR];
    unsigned short manufacturer[VHID_MAX_STRING]; /* zero-terminated UTF-16 */
    unsigned short productName[VHID_MAX_STRING];
    unsigned short serial[VHID_MAX_STRING];
    unsigned short instance[VHID_MAX_STRING]; /* the bus's instance id, unique per device id */
} VHID_PLUG;

typedef struct {
    unsigned long slot;
} VHID_SLOT;

/* VHID_REPORT.kind */
#define VHID_KIND_INPUT 0
#define VHID_KIND_WRITE 1      /* WriteFile */
#define VHID_KIND_SET_OUTPUT 2 /* HidD_SetOutputReport */
#define VHID_KIND_SET_FEATURE 3

typedef struct {
    unsigned long slot;
    unsigned long kind;
    unsigned long reportId;
    unsigned long length; /* bytes of data, report ID byte not included */
    unsigned char data[VHID_MAX_REPORT];
} VHID_REPORT;

#endif
