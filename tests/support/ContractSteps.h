// Typed steps for the messages of the contract: each renders the text the
// fake records, so a sequence names its messages by their constants.
//
//   Posted(kNotifyFullWriteDone, 0)           -> "PostMessageW 0x4e1 0 0"
//   PostedToSibling(kConfigProgramTitle, WM_CLOSE, 0) -> "FindWindowW Lunket_Driver_Config",
//                                                 "PostMessageW 0x10 0 0"
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/WinTypes.h"
#include "tests/support/ExpectSequence.h"
#include "tests/support/PeerSequences.h"

// The text of a message number as the fake records it: "0x4e1".
inline std::string MessageText(std::uint32_t message) { return FakeHex(message); }

// A PostMessageW of `message` with its parameters, as the fake records it.
inline Step Posted(std::uint32_t message, WPARAM wParam, LPARAM lParam = 0) {
    return Step("PostMessageW " + MessageText(message) + " " + std::to_string(wParam) + " " +
                std::to_string(lParam));
}

// A post to a sibling: the lookup of its window by title, then the post.
inline std::vector<Step> PostedToSibling(const char16_t* title, std::uint32_t message, WPARAM wParam) {
    return {Step("FindWindowW " + TextToUtf8(title)), Posted(message, wParam)};
}

// The steps of a named sequence of posts to siblings, each at `time`.
template <std::size_t N>
std::vector<Step> PostedToSibling(const PeerPost (&posts)[N], std::uint64_t time) {
    std::vector<Step> steps;
    for (const PeerPost& post : posts)
        for (Step& step : PostedToSibling(post.Title, post.Message, post.WParam)) steps.push_back(step.At(time));
    return steps;
}

// Appends `more` to `steps`.
inline std::vector<Step>& operator+=(std::vector<Step>& steps, const std::vector<Step>& more) {
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}
