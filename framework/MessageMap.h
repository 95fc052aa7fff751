// Message maps: a static table per window class that binds message numbers
// to handler methods. A class declares its table and chains to its base:
//
//   bool ProcessMessageMap(UINT m, WPARAM w, LPARAM l, LRESULT& r) override {
//       return DispatchMessageMap(this, kMessageMap, m, w, l, r) ||
//              CWnd::ProcessMessageMap(m, w, l, r);
//   }
#pragma once

#include <cstddef>

#include "platform/WinTypes.h"

template <class Owner>
struct MessageMapEntry {
    UINT message;
    LRESULT (Owner::*handler)(WPARAM wParam, LPARAM lParam);
};

template <class Owner, std::size_t N>
bool DispatchMessageMap(Owner* owner, const MessageMapEntry<Owner> (&map)[N], UINT message,
                        WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const auto& entry : map) {
        if (entry.message == message) {
            result = (owner->*entry.handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}
