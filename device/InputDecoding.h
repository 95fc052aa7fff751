// Decoding of the mouse's input reports into the actions they ask for.
// A pure function over the report bytes: no state, no system calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class InputAction : std::uint8_t {
    ButtonPressed,          // argument: button index
    ButtonReleased,         // argument: button index
    ReleaseLogged,          // the debug line that follows a release report
    LaunchAssignedProgram,  // argument: button index
    SendWheelUp,
    SendWheelDown,
    ScrollUnderPointer,     // argument: steps, positive to the left
    ZoomIn,
    ZoomOut,
};

struct RoutedAction {
    InputAction Action;
    int Argument;
    bool operator==(const RoutedAction& o) const { return Action == o.Action && Argument == o.Argument; }
};

struct DecodedInput {
    static constexpr std::size_t kMaxActions = 4;
    std::array<RoutedAction, kMaxActions> Actions{};
    std::size_t Count = 0;

    void Add(InputAction action, int argument = 0) {
        if (Count < kMaxActions) Actions[Count++] = RoutedAction{action, argument};
    }
};

// The actions of one report, in the order they are carried out.
// `wheelScrollChars` is L, the steps of one horizontal scroll notch.
DecodedInput DecodeInputReport(const std::uint8_t* report, std::size_t length, int wheelScrollChars);
