// Message maps: a static table per window class that binds message numbers,
// or ranges of them, to handler methods. Each handler gets the message, its
// parameters and a handled flag that starts TRUE; a handler that clears it
// lets the search go on to later entries and, at the end, to the base
// class's map and default processing. A class declares its table as a
// static member and chains to its base:
//
//   // MyWnd.h
//   bool ProcessMessageMap(UINT m, WPARAM w, LPARAM l, LRESULT& r) override;
//   static const MessageMapEntry<MyWnd> kMessageMap[];
//
//   // MyWnd.cpp
//   const MessageMapEntry<MyWnd> MyWnd::kMessageMap[] = {
//       OnMessage(WM_CREATE, &MyWnd::OnCreate),
//       OnMessageRange(WM_APP, WM_APP + 9, &MyWnd::OnAppMessage),
//   };
//   bool MyWnd::ProcessMessageMap(UINT m, WPARAM w, LPARAM l, LRESULT& r) {
//       return DispatchMessageMap(this, kMessageMap, m, w, l, r) ||
//              CWnd::ProcessMessageMap(m, w, l, r);
//   }
#pragma once

#include <cstddef>

#include "platform/WinTypes.h"

template <class Owner>
using MessageHandler = LRESULT (Owner::*)(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

template <class Owner>
struct MessageMapEntry {
    UINT first;
    UINT last;
    MessageHandler<Owner> handler;
};

template <class Owner>
constexpr MessageMapEntry<Owner> OnMessage(UINT message, MessageHandler<Owner> handler) {
    return {message, message, handler};
}

template <class Owner>
constexpr MessageMapEntry<Owner> OnMessageRange(UINT first, UINT last, MessageHandler<Owner> handler) {
    return {first, last, handler};
}

// Runs the first entry that takes the message and leaves it handled; true
// (with its result) when one did.
template <class Owner, std::size_t N>
bool DispatchMessageMap(Owner* owner, const MessageMapEntry<Owner> (&map)[N], UINT message,
                        WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const auto& entry : map) {
        if (message < entry.first || message > entry.last) continue;
        BOOL handled = TRUE;
        const LRESULT answer = (owner->*entry.handler)(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}
