// The mouse as the virtual bus presents it: a USB composite device, vendor 0x195D,
// product 0x1016, with one vendor collection per interface (interface 0: the command
// collection, usage 0xFF01; interface 1: the data collection, usage 0xFF00), each
// with 8-byte input, output and feature reports and no report IDs (9-byte frames
// with report ID 0 on the host's side).
#pragma once

#include "tools/virtualhid/VirtualHidControl.h"

#include <cstring>

namespace vmouse {

constexpr unsigned long kCommandSlot = 0;
constexpr unsigned long kDataSlot = 1;
constexpr unsigned short kVendor = 0x195D;
constexpr unsigned short kProduct = 0x1016;

inline void CopyText(unsigned short* target, const wchar_t* text) {
    size_t i = 0;
    for (; text[i] && i + 1 < VHID_MAX_STRING; ++i) target[i] = static_cast<unsigned short>(text[i]);
    target[i] = 0;
}

inline VHID_PLUG PlugRecord(unsigned long slot, unsigned long flags) {
    const unsigned short usage = slot == kCommandSlot ? 0xFF01 : 0xFF00;
    const unsigned char descriptor[] = {
        0x06, 0x00, 0xFF,                                                            // usage page 0xFF00
        0x0A, static_cast<unsigned char>(usage & 0xff), static_cast<unsigned char>(usage >> 8), // usage
        0xA1, 0x01,                                                                  // application collection
        0x15, 0x00, 0x26, 0xFF, 0x00,                                                // logical 0 to 255
        0x75, 0x08, 0x95, 0x08,                                                      // 8 fields of 8 bits
        0x09, 0x01, 0x81, 0x02,                                                      // input
        0x09, 0x02, 0x91, 0x02,                                                      // output
        0x09, 0x03, 0xB1, 0x02,                                                      // feature
        0xC0,                                                                        // end collection
    };
    VHID_PLUG record;
    std::memset(&record, 0, sizeof(record));
    record.slot = slot;
    record.flags = flags;
    record.vendor = kVendor;
    record.product = kProduct;
    record.version = 0x0100;
    record.interfaceNumber = static_cast<unsigned short>(slot == kCommandSlot ? 0 : 1);
    record.descriptorLength = sizeof(descriptor);
    std::memcpy(record.descriptor, descriptor, sizeof(descriptor));
    CopyText(record.manufacturer, L"Virtual mouse");
    CopyText(record.productName, slot == kCommandSlot ? L"Virtual mouse (commands)" : L"Virtual mouse (data)");
    CopyText(record.serial, L"0001");
    CopyText(record.instance, slot == kCommandSlot ? L"1&0&0000" : L"1&0&0001");
    return record;
}

} // namespace vmouse
