/* The virtual HID bus (vhidbus.sys), a test tool.
 *
 * A root-enumerated bus (hardware id VHIDBUS\BUS). Its function device exposes
 * the control interface of VirtualHidControl.h, through which a user-mode
 * program plugs and unplugs child devices, produces their input reports and
 * takes the reports the host writes. Each child (device id
 * VHIDBUS\VID_xxxx&PID_xxxx&MI_xx, compatible id VHIDBUS\HIDMINI) gets
 * vhidmini.sys as its HID minidriver, which passes every HID request down to
 * the child implemented here. The HID class driver names the child's
 * collection HID\VID_xxxx&PID_xxxx&MI_xx\..., as Windows names the interfaces
 * of a USB composite device.
 *
 * Nothing from the controller is trusted: every length is bounded before a copy.
 */
#include "HidPort.h"
#include "tools/virtualhid/VirtualHidControl.h"

#define MAX_CHILDREN 16
#define INPUT_QUEUE_LENGTH 64
#define OUTPUT_QUEUE_LENGTH 64

static const GUID ControlGuid = VHID_CONTROL_GUID_INIT;

typedef struct {
    BOOLEAN isChild;
} Common;

typedef struct {
    Common common;
    DEVICE_OBJECT* self;
    DEVICE_OBJECT* lower;
    UNICODE_STRING controlInterface;
    KSPIN_LOCK lock; /* guards children and each child's `listed` */
    DEVICE_OBJECT* children[MAX_CHILDREN];
    ULONG childCount;
} Bus;

typedef struct {
    VHID_REPORT items[INPUT_QUEUE_LENGTH];
    ULONG head, count;
} ReportQueue;

typedef struct {
    Common common;
    Bus* bus;
    DEVICE_OBJECT* self;
    BOOLEAN listed;  /* still in the bus's relations */
    BOOLEAN removed; /* unplugged or removed: every request fails */
    VHID_PLUG plug;
    WCHAR deviceId[64];
    KSPIN_LOCK lock; /* guards everything below and `removed` */
    LIST_ENTRY pendingReads; /* the HID class driver's READ_REPORT requests */
    LIST_ENTRY pendingWaits; /* the controller's WAIT_OUTPUT requests */
    ReportQueue inputs;      /* input reports nobody has read yet */
    ReportQueue outputs;     /* written reports the controller has not taken */
    UCHAR feature[VHID_MAX_REPORT];
    ULONG featureLength;
    UCHAR lastInput[VHID_MAX_REPORT];
    ULONG lastInputLength;
} Child;

static LONG deviceCounter;

/* ---- strings ---- */

static size_t WideLength(const WCHAR* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n]) n++;
    return n;
}

/* A pool copy of `text` followed by an extra zero when `multi` (a one-item list). */
static WCHAR* PoolString(const WCHAR* text, BOOLEAN multi) {
    size_t length = WideLength(text, 256);
    size_t total = length + 1 + (multi ? 1 : 0);
    WCHAR* copy = ExAllocatePool(PagedPool, total * sizeof(WCHAR));
    if (!copy) return NULL;
    memcpy(copy, text, length * sizeof(WCHAR));
    copy[length] = 0;
    if (multi) copy[length + 1] = 0;
    return copy;
}

static void AppendText(WCHAR* target, size_t capacity, const WCHAR* text) {
    size_t at = WideLength(target, capacity);
    while (*text && at + 1 < capacity) target[at++] = *text++;
    target[at] = 0;
}

static void AppendHex(WCHAR* target, size_t capacity, unsigned value, int digits) {
    static const char hex[] = "0123456789ABCDEF";
    WCHAR text[5];
    int i;
    for (i = 0; i < digits && i < 4; i++) text[i] = hex[(value >> (4 * (digits - 1 - i))) & 0xf];
    text[i] = 0;
    AppendText(target, capacity, text);
}

/* ---- report queues ---- */

static BOOLEAN QueuePush(ReportQueue* queue, const VHID_REPORT* report) {
    if (queue->count >= INPUT_QUEUE_LENGTH) return FALSE;
    queue->items[(queue->head + queue->count) % INPUT_QUEUE_LENGTH] = *report;
    queue->count++;
    return TRUE;
}

static BOOLEAN QueuePop(ReportQueue* queue, VHID_REPORT* report) {
    if (!queue->count) return FALSE;
    *report = queue->items[queue->head];
    queue->head = (queue->head + 1) % INPUT_QUEUE_LENGTH;
    queue->count--;
    return TRUE;
}

/* ---- pending requests, cancel-safe ---- */

static void NTAPI CancelPending(DEVICE_OBJECT* device, IRP* irp) {
    Child* child = irp->Tail.Overlay.DriverContext[0];
    KIRQL irql;
    (void)device;
    IoReleaseCancelSpinLock(irp->CancelIrql);
    KeAcquireSpinLock(&child->lock, &irql);
    RemoveEntryList(&irp->Tail.Overlay.ListEntry);
    KeReleaseSpinLock(&child->lock, irql);
    irp->IoStatus.Status = STATUS_CANCELLED;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
}

/* With child->lock held: STATUS_PENDING, or STATUS_CANCELLED for a request already cancelled. */
static NTSTATUS PendLocked(Child* child, LIST_ENTRY* list, IRP* irp) {
    irp->Tail.Overlay.DriverContext[0] = child;
    IoSetCancelRoutine(irp, CancelPending);
    if (irp->Cancel && IoSetCancelRoutine(irp, NULL)) return STATUS_CANCELLED;
    IoMarkIrpPending(irp);
    InsertTailList(list, &irp->Tail.Overlay.ListEntry);
    return STATUS_PENDING;
}

/* With child->lock held: the oldest pending request, now the caller's, or NULL. */
static IRP* TakePendingLocked(LIST_ENTRY* list) {
    while (!IsListEmpty(list)) {
        IRP* irp = CONTAINING_RECORD(RemoveHeadList(list), IRP, Tail.Overlay.ListEntry);
        if (IoSetCancelRoutine(irp, NULL) || !irp->Cancel) return irp;
        /* Its cancel routine runs and completes it; its RemoveEntryList must stay harmless. */
        InitializeListHead(&irp->Tail.Overlay.ListEntry);
    }
    return NULL;
}

static void Complete(IRP* irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
}

/* The child is gone: every pending and later request fails. */
static void MarkRemoved(Child* child) {
    LIST_ENTRY failed;
    IRP* irp;
    KIRQL irql;
    InitializeListHead(&failed);
    KeAcquireSpinLock(&child->lock, &irql);
    child->removed = TRUE;
    while ((irp = TakePendingLocked(&child->pendingReads))) InsertTailList(&failed, &irp->Tail.Overlay.ListEntry);
    while ((irp = TakePendingLocked(&child->pendingWaits))) InsertTailList(&failed, &irp->Tail.Overlay.ListEntry);
    KeReleaseSpinLock(&child->lock, irql);
    while (!IsListEmpty(&failed)) {
        irp = CONTAINING_RECORD(RemoveHeadList(&failed), IRP, Tail.Overlay.ListEntry);
        Complete(irp, STATUS_DELETE_PENDING, 0);
    }
}

/* ---- reports ---- */

static void CompleteRead(IRP* irp, const VHID_REPORT* report) {
    ULONG capacity = IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
    ULONG length = report->length < capacity ? report->length : capacity;
    memcpy(irp->UserBuffer, report->data, length);
    Complete(irp, STATUS_SUCCESS, length);
}

static void DeliverInput(Child* child, const UCHAR* data, ULONG length) {
    VHID_REPORT report;
    IRP* read = NULL;
    KIRQL irql;
    if (length > VHID_MAX_REPORT) length = VHID_MAX_REPORT;
    memset(&report, 0, sizeof(report));
    report.slot = child->plug.slot;
    report.kind = VHID_KIND_INPUT;
    report.length = length;
    memcpy(report.data, data, length);

    KeAcquireSpinLock(&child->lock, &irql);
    if (!child->removed) {
        memcpy(child->lastInput, data, length);
        child->lastInputLength = length;
        read = TakePendingLocked(&child->pendingReads);
        /* A full queue drops the newest report, as a device whose host does not read would. */
        if (!read) QueuePush(&child->inputs, &report);
    }
    KeReleaseSpinLock(&child->lock, irql);
    if (read) CompleteRead(read, &report);
}

static void ForwardOutput(Child* child, ULONG kind, ULONG reportId, const UCHAR* data, ULONG length) {
    VHID_REPORT report;
    IRP* wait = NULL;
    KIRQL irql;
    if (length > VHID_MAX_REPORT) length = VHID_MAX_REPORT;
    memset(&report, 0, sizeof(report));
    report.slot = child->plug.slot;
    report.kind = kind;
    report.reportId = reportId;
    report.length = length;
    memcpy(report.data, data, length);

    if ((child->plug.flags & VHID_FLAG_ECHO) && kind != VHID_KIND_SET_FEATURE) DeliverInput(child, data, length);
    if (!(child->plug.flags & VHID_FLAG_FORWARD_OUT)) return;

    KeAcquireSpinLock(&child->lock, &irql);
    if (!child->removed) {
        wait = TakePendingLocked(&child->pendingWaits);
        if (!wait) QueuePush(&child->outputs, &report);
    }
    KeReleaseSpinLock(&child->lock, irql);
    if (wait) {
        memcpy(wait->AssociatedIrp.SystemBuffer, &report, sizeof(report));
        Complete(wait, STATUS_SUCCESS, sizeof(report));
    }
}

/* ---- the child's HID requests ---- */

static NTSTATUS ChildDescriptor(Child* child, IRP* irp, ULONG capacity, ULONG_PTR* written) {
    HID_DESCRIPTOR* descriptor = irp->UserBuffer;
    if (capacity < sizeof(*descriptor)) return STATUS_BUFFER_TOO_SMALL;
    memset(descriptor, 0, sizeof(*descriptor));
    descriptor->bLength = sizeof(*descriptor);
    descriptor->bDescriptorType = HID_HID_DESCRIPTOR_TYPE;
    descriptor->bcdHID = 0x0111;
    descriptor->bNumDescriptors = 1;
    descriptor->DescriptorList[0].bReportType = HID_REPORT_DESCRIPTOR_TYPE;
    descriptor->DescriptorList[0].wReportLength = (USHORT)child->plug.descriptorLength;
    *written = sizeof(*descriptor);
    return STATUS_SUCCESS;
}

static NTSTATUS ChildAttributes(Child* child, IRP* irp, ULONG capacity, ULONG_PTR* written) {
    HID_DEVICE_ATTRIBUTES* attributes = irp->UserBuffer;
    if (capacity < sizeof(*attributes)) return STATUS_BUFFER_TOO_SMALL;
    memset(attributes, 0, sizeof(*attributes));
    attributes->Size = sizeof(*attributes);
    attributes->VendorID = child->plug.vendor;
    attributes->ProductID = child->plug.product;
    attributes->VersionNumber = child->plug.version;
    *written = sizeof(*attributes);
    return STATUS_SUCCESS;
}

static NTSTATUS ChildWrite(Child* child, IRP* irp, ULONG code, ULONG_PTR* written) {
    HID_XFER_PACKET* packet = irp->UserBuffer;
    ULONG kind = code == IOCTL_HID_WRITE_REPORT        ? VHID_KIND_WRITE
                 : code == IOCTL_HID_SET_OUTPUT_REPORT ? VHID_KIND_SET_OUTPUT
                                                       : VHID_KIND_SET_FEATURE;
    KIRQL irql;
    if (!packet || !packet->reportBuffer) return STATUS_INVALID_PARAMETER;
    if (kind == VHID_KIND_SET_FEATURE) {
        ULONG length = packet->reportBufferLen < VHID_MAX_REPORT ? packet->reportBufferLen : VHID_MAX_REPORT;
        KeAcquireSpinLock(&child->lock, &irql);
        memcpy(child->feature, packet->reportBuffer, length);
        child->featureLength = length;
        KeReleaseSpinLock(&child->lock, irql);
    }
    ForwardOutput(child, kind, packet->reportId, packet->reportBuffer, packet->reportBufferLen);
    /* Wine's HID class driver hands this count to WriteFile: the whole frame with its
     * report ID byte, as Windows counts it. */
    *written = packet->reportBufferLen + (packet->reportId ? 0 : 1);
    return STATUS_SUCCESS;
}

static NTSTATUS ChildRead(Child* child, IRP* irp, ULONG code, ULONG_PTR* written) {
    HID_XFER_PACKET* packet = irp->UserBuffer;
    const UCHAR* source;
    ULONG length;
    KIRQL irql;
    if (!packet || !packet->reportBuffer) return STATUS_INVALID_PARAMETER;
    KeAcquireSpinLock(&child->lock, &irql);
    source = code == IOCTL_HID_GET_FEATURE ? child->feature : child->lastInput;
    length = code == IOCTL_HID_GET_FEATURE ? child->featureLength : child->lastInputLength;
    if (length > packet->reportBufferLen) length = packet->reportBufferLen;
    memset(packet->reportBuffer, 0, packet->reportBufferLen);
    memcpy(packet->reportBuffer, source, length);
    KeReleaseSpinLock(&child->lock, irql);
    *written = packet->reportBufferLen;
    return STATUS_SUCCESS;
}

static NTSTATUS ChildString(Child* child, IRP* irp, ULONG capacity, ULONG_PTR* written) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    ULONG index = (ULONG)(ULONG_PTR)stack->Parameters.DeviceIoControl.Type3InputBuffer & 0xffff;
    const unsigned short* text = NULL;
    ULONG bytes;
    if (index == HID_STRING_ID_IMANUFACTURER) text = child->plug.manufacturer;
    if (index == HID_STRING_ID_IPRODUCT) text = child->plug.productName;
    if (index == HID_STRING_ID_ISERIALNUMBER) text = child->plug.serial;
    if (!text || !text[0]) return STATUS_INVALID_PARAMETER;
    bytes = (ULONG)(WideLength((const WCHAR*)text, VHID_MAX_STRING) + 1) * sizeof(WCHAR);
    if (bytes > capacity) return STATUS_BUFFER_TOO_SMALL;
    memcpy(irp->UserBuffer, text, bytes);
    *written = bytes;
    return STATUS_SUCCESS;
}

static NTSTATUS ChildInternalIoctl(Child* child, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG capacity = stack->Parameters.DeviceIoControl.OutputBufferLength;
    ULONG_PTR written = 0;
    NTSTATUS status;
    KIRQL irql;

    if (child->removed) {
        Complete(irp, STATUS_DELETE_PENDING, 0);
        return STATUS_DELETE_PENDING;
    }
    switch (code) {
    case IOCTL_HID_GET_DEVICE_DESCRIPTOR: status = ChildDescriptor(child, irp, capacity, &written); break;
    case IOCTL_HID_GET_REPORT_DESCRIPTOR:
        if (capacity < child->plug.descriptorLength) {
            status = STATUS_BUFFER_TOO_SMALL;
            break;
        }
        memcpy(irp->UserBuffer, child->plug.descriptor, child->plug.descriptorLength);
        written = child->plug.descriptorLength;
        status = STATUS_SUCCESS;
        break;
    case IOCTL_HID_GET_DEVICE_ATTRIBUTES: status = ChildAttributes(child, irp, capacity, &written); break;
    case IOCTL_HID_READ_REPORT: {
        VHID_REPORT report;
        BOOLEAN have;
        KeAcquireSpinLock(&child->lock, &irql);
        have = QueuePop(&child->inputs, &report);
        status = have ? STATUS_SUCCESS : PendLocked(child, &child->pendingReads, irp);
        KeReleaseSpinLock(&child->lock, irql);
        if (have) CompleteRead(irp, &report);
        else if (status != STATUS_PENDING) Complete(irp, status, 0);
        return status;
    }
    case IOCTL_HID_WRITE_REPORT:
    case IOCTL_HID_SET_OUTPUT_REPORT:
    case IOCTL_HID_SET_FEATURE: status = ChildWrite(child, irp, code, &written); break;
    case IOCTL_HID_GET_FEATURE:
    case IOCTL_HID_GET_INPUT_REPORT: status = ChildRead(child, irp, code, &written); break;
    case IOCTL_HID_GET_STRING: status = ChildString(child, irp, capacity, &written); break;
    case IOCTL_HID_ACTIVATE_DEVICE:
    case IOCTL_HID_DEACTIVATE_DEVICE: status = STATUS_SUCCESS; break;
    default: status = STATUS_NOT_SUPPORTED; break;
    }
    Complete(irp, status, status == STATUS_SUCCESS ? written : 0);
    return status;
}

/* ---- the child's PnP requests ---- */

static NTSTATUS ChildQueryId(Child* child, BUS_QUERY_ID_TYPE type, ULONG_PTR* result) {
    WCHAR* id = NULL;
    switch (type) {
    case BusQueryDeviceID: id = PoolString(child->deviceId, FALSE); break;
    case BusQueryHardwareIDs: id = PoolString(child->deviceId, TRUE); break;
    case BusQueryCompatibleIDs: id = PoolString(L"VHIDBUS\\HIDMINI", TRUE); break;
    case BusQueryInstanceID: id = PoolString((const WCHAR*)child->plug.instance, FALSE); break;
    default: return STATUS_NOT_SUPPORTED;
    }
    if (!id) return STATUS_INSUFFICIENT_RESOURCES;
    *result = (ULONG_PTR)id;
    return STATUS_SUCCESS;
}

static NTSTATUS ChildPnp(Child* child, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status = irp->IoStatus.Status;
    ULONG_PTR information = irp->IoStatus.Information;
    switch (stack->MinorFunction) {
    case IRP_MN_QUERY_ID: {
        ULONG_PTR id = 0;
        if (ChildQueryId(child, stack->Parameters.QueryId.IdType, &id) == STATUS_SUCCESS) {
            information = id;
            status = STATUS_SUCCESS;
        }
        break;
    }
    case IRP_MN_QUERY_CAPABILITIES: {
        DEVICE_CAPABILITIES* caps = stack->Parameters.DeviceCapabilities.Capabilities;
        caps->Removable = 1;
        caps->SurpriseRemovalOK = 1;
        caps->SilentInstall = 1;
        status = STATUS_SUCCESS;
        break;
    }
    case IRP_MN_QUERY_DEVICE_TEXT:
        if (stack->Parameters.QueryDeviceText.DeviceTextType == DeviceTextDescription &&
            child->plug.productName[0]) {
            WCHAR* text = PoolString((const WCHAR*)child->plug.productName, FALSE);
            if (text) {
                information = (ULONG_PTR)text;
                status = STATUS_SUCCESS;
            }
        }
        break;
    case IRP_MN_QUERY_DEVICE_RELATIONS:
        if (stack->Parameters.QueryDeviceRelations.Type == TargetDeviceRelation) {
            DEVICE_RELATIONS* relations = ExAllocatePool(PagedPool, sizeof(*relations));
            if (relations) {
                relations->Count = 1;
                relations->Objects[0] = child->self;
                ObReferenceObject(child->self);
                information = (ULONG_PTR)relations;
                status = STATUS_SUCCESS;
            }
        }
        break;
    case IRP_MN_START_DEVICE:
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_STOP_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE: status = STATUS_SUCCESS; break;
    case IRP_MN_SURPRISE_REMOVAL:
        MarkRemoved(child);
        status = STATUS_SUCCESS;
        break;
    case IRP_MN_REMOVE_DEVICE: {
        BOOLEAN listed;
        KIRQL irql;
        MarkRemoved(child);
        KeAcquireSpinLock(&child->bus->lock, &irql);
        listed = child->listed;
        KeReleaseSpinLock(&child->bus->lock, irql);
        Complete(irp, STATUS_SUCCESS, 0);
        /* A child the bus still lists stays until the bus stops listing it. */
        if (!listed) IoDeleteDevice(child->self);
        return STATUS_SUCCESS;
    }
    default: break;
    }
    Complete(irp, status, information);
    return status;
}

/* ---- the bus's control requests ---- */

/* The child in `slot`, referenced (the caller dereferences child->self), unlisted when `unlist`. */
static Child* FindChild(Bus* bus, ULONG slot, BOOLEAN unlist) {
    Child* found = NULL;
    KIRQL irql;
    ULONG i;
    KeAcquireSpinLock(&bus->lock, &irql);
    for (i = 0; i < bus->childCount; i++) {
        Child* child = bus->children[i]->DeviceExtension;
        if (child->plug.slot != slot) continue;
        found = child;
        ObReferenceObject(child->self);
        if (unlist) {
            child->listed = FALSE;
            bus->children[i] = bus->children[--bus->childCount];
        }
        break;
    }
    KeReleaseSpinLock(&bus->lock, irql);
    return found;
}

static void MakeDeviceId(Child* child) {
    const size_t capacity = sizeof(child->deviceId) / sizeof(WCHAR);
    child->deviceId[0] = 0;
    AppendText(child->deviceId, capacity, L"VHIDBUS\\VID_");
    AppendHex(child->deviceId, capacity, child->plug.vendor, 4);
    AppendText(child->deviceId, capacity, L"&PID_");
    AppendHex(child->deviceId, capacity, child->plug.product, 4);
    AppendText(child->deviceId, capacity, L"&MI_");
    AppendHex(child->deviceId, capacity, child->plug.interfaceNumber & 0xff, 2);
}

static NTSTATUS Plug(Bus* bus, const VHID_PLUG* plug) {
    WCHAR name[48] = L"\\Device\\VHIDBUS#";
    UNICODE_STRING deviceName;
    DEVICE_OBJECT* device;
    Child* child;
    NTSTATUS status;
    KIRQL irql;

    if (plug->descriptorLength == 0 || plug->descriptorLength > VHID_MAX_DESCRIPTOR) return STATUS_INVALID_PARAMETER;
    if ((child = FindChild(bus, plug->slot, FALSE))) {
        ObDereferenceObject(child->self);
        return STATUS_OBJECT_NAME_COLLISION;
    }
    AppendHex(name, sizeof(name) / sizeof(WCHAR), (unsigned)InterlockedIncrement(&deviceCounter) & 0xffff, 4);
    RtlInitUnicodeString(&deviceName, name);
    status = IoCreateDevice(bus->self->DriverObject, sizeof(Child), &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE,
                            &device);
    if (status != STATUS_SUCCESS) return status;

    child = device->DeviceExtension;
    memset(child, 0, sizeof(*child));
    child->common.isChild = TRUE;
    child->bus = bus;
    child->self = device;
    child->plug = *plug;
    child->plug.manufacturer[VHID_MAX_STRING - 1] = 0;
    child->plug.productName[VHID_MAX_STRING - 1] = 0;
    child->plug.serial[VHID_MAX_STRING - 1] = 0;
    child->plug.instance[VHID_MAX_STRING - 1] = 0;
    if (!child->plug.instance[0]) child->plug.instance[0] = '0';
    KeInitializeSpinLock(&child->lock);
    InitializeListHead(&child->pendingReads);
    InitializeListHead(&child->pendingWaits);
    MakeDeviceId(child);
    device->Flags &= ~DO_DEVICE_INITIALIZING;

    KeAcquireSpinLock(&bus->lock, &irql);
    if (bus->childCount < MAX_CHILDREN) {
        child->listed = TRUE;
        bus->children[bus->childCount++] = device;
    } else {
        status = STATUS_INSUFFICIENT_RESOURCES;
    }
    KeReleaseSpinLock(&bus->lock, irql);
    if (status != STATUS_SUCCESS) {
        IoDeleteDevice(device);
        return status;
    }
    /* Asynchronous under Wine: the device exists some milliseconds after this returns. */
    IoInvalidateDeviceRelations(bus->lower, BusRelations);
    return STATUS_SUCCESS;
}

static NTSTATUS WaitOutput(Child* child, IRP* irp, ULONG_PTR* written) {
    VHID_REPORT report;
    NTSTATUS status;
    BOOLEAN have = FALSE;
    KIRQL irql;
    KeAcquireSpinLock(&child->lock, &irql);
    if (child->removed) {
        status = STATUS_DELETE_PENDING;
    } else if ((have = QueuePop(&child->outputs, &report))) {
        status = STATUS_SUCCESS;
    } else {
        status = PendLocked(child, &child->pendingWaits, irp);
    }
    KeReleaseSpinLock(&child->lock, irql);
    if (have) {
        memcpy(irp->AssociatedIrp.SystemBuffer, &report, sizeof(report));
        *written = sizeof(report);
    }
    return status;
}

static NTSTATUS BusIoctl(Bus* bus, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    void* buffer = irp->AssociatedIrp.SystemBuffer;
    const VHID_REPORT* report = buffer;
    NTSTATUS status = STATUS_INVALID_DEVICE_REQUEST;
    ULONG_PTR written = 0;
    Child* child = NULL;
    KIRQL irql;

    if (code == IOCTL_VHID_PLUG) {
        status = inLength < sizeof(VHID_PLUG) ? STATUS_INVALID_PARAMETER : Plug(bus, buffer);
        Complete(irp, status, 0);
        return status;
    }
    if (code != IOCTL_VHID_UNPLUG && code != IOCTL_VHID_INJECT && code != IOCTL_VHID_WAIT_OUTPUT &&
        code != IOCTL_VHID_SET_FEATURE_DATA) {
        Complete(irp, status, 0);
        return status;
    }
    if (inLength < sizeof(VHID_SLOT) ||
        ((code == IOCTL_VHID_INJECT || code == IOCTL_VHID_SET_FEATURE_DATA) && inLength < sizeof(VHID_REPORT)) ||
        (code == IOCTL_VHID_WAIT_OUTPUT && outLength < sizeof(VHID_REPORT))) {
        Complete(irp, STATUS_INVALID_PARAMETER, 0);
        return STATUS_INVALID_PARAMETER;
    }
    child = FindChild(bus, ((const VHID_SLOT*)buffer)->slot, code == IOCTL_VHID_UNPLUG);
    if (!child) {
        Complete(irp, STATUS_NO_SUCH_DEVICE, 0);
        return STATUS_NO_SUCH_DEVICE;
    }
    switch (code) {
    case IOCTL_VHID_UNPLUG:
        MarkRemoved(child);
        IoInvalidateDeviceRelations(bus->lower, BusRelations);
        status = STATUS_SUCCESS;
        break;
    case IOCTL_VHID_INJECT:
        DeliverInput(child, report->data, report->length);
        status = STATUS_SUCCESS;
        break;
    case IOCTL_VHID_SET_FEATURE_DATA:
        KeAcquireSpinLock(&child->lock, &irql);
        child->featureLength = report->length < VHID_MAX_REPORT ? report->length : VHID_MAX_REPORT;
        memcpy(child->feature, report->data, child->featureLength);
        KeReleaseSpinLock(&child->lock, irql);
        status = STATUS_SUCCESS;
        break;
    case IOCTL_VHID_WAIT_OUTPUT: status = WaitOutput(child, irp, &written); break;
    }
    ObDereferenceObject(child->self);
    if (status != STATUS_PENDING) Complete(irp, status, written);
    return status;
}

/* ---- the bus's PnP requests ---- */

static NTSTATUS BusRelationsOf(Bus* bus, IRP* irp) {
    DEVICE_RELATIONS* relations =
        ExAllocatePool(PagedPool, sizeof(*relations) + MAX_CHILDREN * sizeof(DEVICE_OBJECT*));
    KIRQL irql;
    ULONG i;
    if (!relations) return STATUS_INSUFFICIENT_RESOURCES;
    KeAcquireSpinLock(&bus->lock, &irql);
    relations->Count = bus->childCount;
    for (i = 0; i < bus->childCount; i++) {
        relations->Objects[i] = bus->children[i];
        ObReferenceObject(bus->children[i]);
    }
    KeReleaseSpinLock(&bus->lock, irql);
    irp->IoStatus.Information = (ULONG_PTR)relations;
    return STATUS_SUCCESS;
}

static NTSTATUS BusRemove(Bus* bus, IRP* irp) {
    DEVICE_OBJECT* left[MAX_CHILDREN];
    NTSTATUS status;
    ULONG count, i;
    KIRQL irql;
    IoSetDeviceInterfaceState(&bus->controlInterface, FALSE);
    KeAcquireSpinLock(&bus->lock, &irql);
    count = bus->childCount;
    for (i = 0; i < count; i++) {
        left[i] = bus->children[i];
        ((Child*)left[i]->DeviceExtension)->listed = FALSE;
    }
    bus->childCount = 0;
    KeReleaseSpinLock(&bus->lock, irql);
    /* The PnP manager removed the children before their bus. */
    for (i = 0; i < count; i++) {
        MarkRemoved(left[i]->DeviceExtension);
        IoDeleteDevice(left[i]);
    }
    irp->IoStatus.Status = STATUS_SUCCESS;
    IoSkipCurrentIrpStackLocation(irp);
    status = IoCallDriver(bus->lower, irp);
    IoDetachDevice(bus->lower);
    RtlFreeUnicodeString(&bus->controlInterface);
    IoDeleteDevice(bus->self);
    return status;
}

static NTSTATUS BusPnp(Bus* bus, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE:
        IoSetDeviceInterfaceState(&bus->controlInterface, TRUE);
        irp->IoStatus.Status = STATUS_SUCCESS;
        break;
    case IRP_MN_QUERY_DEVICE_RELATIONS:
        if (stack->Parameters.QueryDeviceRelations.Type == BusRelations) {
            NTSTATUS status = BusRelationsOf(bus, irp);
            if (status != STATUS_SUCCESS) {
                Complete(irp, status, 0);
                return status;
            }
            irp->IoStatus.Status = STATUS_SUCCESS;
        }
        break;
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE:
    case IRP_MN_STOP_DEVICE: irp->IoStatus.Status = STATUS_SUCCESS; break;
    case IRP_MN_SURPRISE_REMOVAL:
        IoSetDeviceInterfaceState(&bus->controlInterface, FALSE);
        irp->IoStatus.Status = STATUS_SUCCESS;
        break;
    case IRP_MN_REMOVE_DEVICE: return BusRemove(bus, irp);
    default: break;
    }
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(bus->lower, irp);
}

/* ---- dispatch ---- */

static NTSTATUS NTAPI DispatchPnp(DEVICE_OBJECT* device, IRP* irp) {
    Common* common = device->DeviceExtension;
    return common->isChild ? ChildPnp(device->DeviceExtension, irp) : BusPnp(device->DeviceExtension, irp);
}

static NTSTATUS NTAPI DispatchInternalIoctl(DEVICE_OBJECT* device, IRP* irp) {
    Common* common = device->DeviceExtension;
    if (common->isChild) return ChildInternalIoctl(device->DeviceExtension, irp);
    Complete(irp, STATUS_NOT_SUPPORTED, 0);
    return STATUS_NOT_SUPPORTED;
}

static NTSTATUS NTAPI DispatchIoctl(DEVICE_OBJECT* device, IRP* irp) {
    Common* common = device->DeviceExtension;
    if (!common->isChild) return BusIoctl(device->DeviceExtension, irp);
    Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    return STATUS_INVALID_DEVICE_REQUEST;
}

static NTSTATUS NTAPI DispatchCreateClose(DEVICE_OBJECT* device, IRP* irp) {
    (void)device;
    Complete(irp, STATUS_SUCCESS, 0);
    return STATUS_SUCCESS;
}

static NTSTATUS NTAPI AddDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* rootDevice) {
    DEVICE_OBJECT* device;
    Bus* bus;
    NTSTATUS status = IoCreateDevice(driver, sizeof(Bus), NULL, FILE_DEVICE_BUS_EXTENDER, 0, FALSE, &device);
    if (status != STATUS_SUCCESS) return status;
    bus = device->DeviceExtension;
    memset(bus, 0, sizeof(*bus));
    bus->self = device;
    bus->lower = rootDevice;
    KeInitializeSpinLock(&bus->lock);
    status = IoRegisterDeviceInterface(rootDevice, &ControlGuid, NULL, &bus->controlInterface);
    if (status != STATUS_SUCCESS) {
        IoDeleteDevice(device);
        return status;
    }
    IoAttachDeviceToDeviceStack(device, rootDevice);
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

static void NTAPI Unload(DRIVER_OBJECT* driver) {
    (void)driver;
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
    (void)registryPath;
    driver->DriverExtension->AddDevice = AddDevice;
    driver->DriverUnload = Unload;
    driver->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = DispatchInternalIoctl;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchIoctl;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    return STATUS_SUCCESS;
}
