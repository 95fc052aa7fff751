// Message maps: a static table per class that binds message numbers, or
// ranges of them, to handler methods. Each handler gets a handled flag that
// starts TRUE; a handler that clears it lets the search go on to later
// entries and, at the end, to the base class's map and default processing.
// A class declares its table as a static member and chains to its base:
//
//   // MyWnd.h
//   bool ProcessMessageMap(UINT m, WPARAM w, LPARAM l, LRESULT& r) override;
//   static const MessageMapEntry<MyWnd> kMessageMap[];
//
//   // MyWnd.cpp
//   const MessageMapEntry<MyWnd> MyWnd::kMessageMap[] = {
//       OnMessage(WM_CREATE, &MyWnd::OnCreate),           // (message, wParam, lParam, handled)
//       OnMessageRange(WM_APP, WM_APP + 9, &MyWnd::OnAppMessage),
//       OnWParam<&MyWnd::OnSetLevel>(WM_APP + 10),        // (wParam, handled)
//       OnTimerId<&MyWnd::OnTimer>(),                     // WM_TIMER: (timer id, handled)
//       ChainToMember<&MyWnd::feature_>(),                // the member's own map
//   };
//   bool MyWnd::ProcessMessageMap(UINT m, WPARAM w, LPARAM l, LRESULT& r) {
//       return DispatchMessageMap(this, kMessageMap, m, w, l, r) ||
//              CWnd::ProcessMessageMap(m, w, l, r);
//   }
//
// A member that a map chains to is any object with
//   bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// true (with its result) when its own map handled the message.
#pragma once

#include <cstddef>
#include <limits>

#include "platform/WinTypes.h"

template <class Owner>
using MessageHandler = LRESULT (Owner::*)(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

template <class Owner>
struct MessageMapEntry {
    UINT first;
    UINT last;
    // The four-parameter form; null for the other forms, which `run` carries.
    MessageHandler<Owner> handler;
    LRESULT (*run)(Owner& owner, UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
};

namespace message_map_detail {

template <class Member>
struct MemberOf;
template <class Owner, class Type>
struct MemberOf<Type Owner::*> {
    using OwnerType = Owner;
};

template <auto Member>
using OwnerOf = typename MemberOf<decltype(Member)>::OwnerType;

}  // namespace message_map_detail

template <class Owner>
constexpr MessageMapEntry<Owner> OnMessage(UINT message, MessageHandler<Owner> handler) {
    return {message, message, handler, nullptr};
}

template <class Owner>
constexpr MessageMapEntry<Owner> OnMessageRange(UINT first, UINT last, MessageHandler<Owner> handler) {
    return {first, last, handler, nullptr};
}

// A handler that needs only wParam: LRESULT Handler(WPARAM wParam, BOOL& handled).
template <auto Handler>
constexpr auto OnWParam(UINT message) {
    using Owner = message_map_detail::OwnerOf<Handler>;
    return MessageMapEntry<Owner>{message, message, nullptr,
                                  [](Owner& owner, UINT, WPARAM wParam, LPARAM, BOOL& handled) {
                                      return (owner.*Handler)(wParam, handled);
                                  }};
}

// WM_TIMER by its timer id: void Handler(UINT_PTR id, BOOL& handled). A tick
// whose id the handler does not own is left unhandled for the next entry.
template <auto Handler>
constexpr auto OnTimerId() {
    using Owner = message_map_detail::OwnerOf<Handler>;
    return MessageMapEntry<Owner>{WM_TIMER, WM_TIMER, nullptr,
                                  [](Owner& owner, UINT, WPARAM wParam, LPARAM, BOOL& handled) -> LRESULT {
                                      (owner.*Handler)(static_cast<UINT_PTR>(wParam), handled);
                                      return 0;
                                  }};
}

// Every message is offered to the member's own map; one it does not handle
// goes on to the next entry.
template <auto Member>
constexpr auto ChainToMember() {
    using Owner = message_map_detail::OwnerOf<Member>;
    return MessageMapEntry<Owner>{0, std::numeric_limits<UINT>::max(), nullptr,
                                  [](Owner& owner, UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
                                      LRESULT result = 0;
                                      handled = (owner.*Member).ProcessMessage(message, wParam, lParam, result)
                                                    ? TRUE
                                                    : FALSE;
                                      return result;
                                  }};
}

// Runs the first entry that takes the message and leaves it handled; true
// (with its result) when one did.
template <class Owner, std::size_t N>
bool DispatchMessageMap(Owner* owner, const MessageMapEntry<Owner> (&map)[N], UINT message,
                        WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const auto& entry : map) {
        if (message < entry.first || message > entry.last) continue;
        BOOL handled = TRUE;
        const LRESULT answer = entry.run != nullptr ? entry.run(*owner, message, wParam, lParam, handled)
                                                    : (owner->*entry.handler)(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}
