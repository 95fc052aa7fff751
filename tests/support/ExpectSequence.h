// Exact sequences: what a test expects the service to have done (platform
// calls, posted messages, reports, injected input), step by step, each
// optionally at a virtual time, compared with what was recorded. Optional
// steps may be missing; every other step must be there, in order, and
// nothing else may be. On a mismatch the whole of both sequences is printed
// side by side, with the first difference marked.
//
//   ExpectSequence(Events(fake, {"Sleep", "PostMessageW"}), {
//       Step("Sleep 200"),
//       Step("PostMessageW 0x4e1 0 0").At(1250),
//       Step("Sleep 50").Optional(),
//   });
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fake/FakePlatform.h"

// One recorded event: its virtual time and its text.
struct SequenceEvent {
    std::uint64_t Time = 0;
    std::string Text;
};

struct Step {
    explicit Step(std::string text) : Text(std::move(text)) {}
    Step& At(std::uint64_t time) {
        Time = time;
        return *this;
    }
    Step& Optional() {
        IsOptional = true;
        return *this;
    }
    std::string Text;
    std::optional<std::uint64_t> Time;
    bool IsOptional = false;
};

// The fake's recorded calls that start with one of `prefixes` (all when
// empty), with their virtual times measured from `origin`.
inline std::vector<SequenceEvent> Events(const FakePlatform& fake, const std::vector<std::string>& prefixes,
                                         std::uint64_t origin = 0) {
    std::vector<SequenceEvent> events;
    for (const auto& call : fake.Timeline()) {
        bool wanted = prefixes.empty();
        for (const auto& prefix : prefixes) wanted = wanted || call.Call.compare(0, prefix.size(), prefix) == 0;
        if (wanted) events.push_back(SequenceEvent{call.Time - origin, call.Call});
    }
    return events;
}

namespace sequence_detail {

inline bool Matches(const Step& step, const SequenceEvent& event) {
    return step.Text == event.Text && (!step.Time || *step.Time == event.Time);
}

inline std::string Show(const Step& step) {
    std::ostringstream out;
    out << (step.Time ? std::to_string(*step.Time) + " ms " : std::string("any  ")) << step.Text
        << (step.IsOptional ? "  (optional)" : "");
    return out.str();
}

inline std::string Show(const SequenceEvent& event) {
    return std::to_string(event.Time) + " ms " + event.Text;
}

}  // namespace sequence_detail

inline ::testing::AssertionResult SequenceMatches(const std::vector<SequenceEvent>& actual,
                                                  const std::vector<Step>& expected) {
    using namespace sequence_detail;
    std::size_t e = 0;
    std::size_t a = 0;
    while (e < expected.size() && a < actual.size()) {
        if (Matches(expected[e], actual[a])) {
            ++e;
            ++a;
        } else if (expected[e].IsOptional) {
            ++e;
        } else {
            break;
        }
    }
    while (e < expected.size() && expected[e].IsOptional && a == actual.size()) ++e;
    if (e == expected.size() && a == actual.size()) return ::testing::AssertionSuccess();

    std::ostringstream dump;
    dump << "sequences differ at expected step " << e << ", actual event " << a << "\n";
    const std::size_t rows = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string left = i < expected.size() ? Show(expected[i]) : "";
        const std::string right = i < actual.size() ? Show(actual[i]) : "";
        dump << (i == e || i == a ? ">> " : "   ") << std::left << std::setw(48) << left << " | " << right
             << "\n";
    }
    return ::testing::AssertionFailure() << dump.str();
}

inline void ExpectSequence(const std::vector<SequenceEvent>& actual, const std::vector<Step>& expected) {
    EXPECT_TRUE(SequenceMatches(actual, expected));
}
