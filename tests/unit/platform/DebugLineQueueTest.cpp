// The debug lines' queue: pushing never waits for the channel, a full queue
// counts what it drops, and the count goes out once the channel moves again,
// right after the line that showed it moving.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/DebugLineQueue.h"

namespace {

std::string Line(int i) { return "line " + std::to_string(i) + "\n"; }

TEST(DebugLineQueueTest, AFullQueueDropsAndCountsAndTheCountFollowsTheNextLineOut) {
    DebugLineQueue queue;
    for (std::size_t i = 0; i < DebugLineQueue::kMostLines; ++i)
        ASSERT_TRUE(queue.Push(TextFromUtf8(Line(static_cast<int>(i)))));
    // The channel is stuck: nobody takes lines, and pushes return at once.
    EXPECT_FALSE(queue.Push(TextFromUtf8("lost 1\n")));
    EXPECT_FALSE(queue.Push(TextFromUtf8("lost 2\n")));

    std::vector<std::string> out;
    for (int i = 0; i < 4; ++i) {
        const auto line = queue.Next(0);
        ASSERT_TRUE(line.has_value());
        out.push_back(TextToUtf8(*line));
        queue.Written();
    }
    EXPECT_EQ(out, (std::vector<std::string>{Line(0), "debug output: 2 lines dropped while the channel was stuck\n",
                                             Line(1), Line(2)}));
    // Room again: the next push is kept, after everything older.
    EXPECT_TRUE(queue.Push(TextFromUtf8("new\n")));
    std::string last;
    while (const auto line = queue.Next(0)) {
        last = TextToUtf8(*line);
        queue.Written();
    }
    EXPECT_EQ(last, "new\n");
    EXPECT_FALSE(queue.Next(0).has_value());
}

TEST(DebugLineQueueTest, EverythingIsWrittenOnlyOnceTheLastLineTakenWasWritten) {
    DebugLineQueue queue;
    EXPECT_TRUE(queue.WaitUntilWritten(0)) << "nothing queued";
    queue.Push(TextFromUtf8("a\n"));
    EXPECT_FALSE(queue.WaitUntilWritten(0));
    ASSERT_TRUE(queue.Next(0).has_value());
    EXPECT_FALSE(queue.WaitUntilWritten(0)) << "taken, still in the system's call";
    queue.Written();
    EXPECT_TRUE(queue.WaitUntilWritten(0));
}

// A push wakes only a writer asleep in Next; a writer that is not waiting
// still finds every line at its next Next, in order.
TEST(DebugLineQueueTest, AWaitingWriterIsWokenAndABusyOneFindsTheLinesLater) {
    DebugLineQueue queue;
    std::vector<std::string> out;
    std::thread writer([&] {
        for (int i = 0; i < 3; ++i) {
            const auto line = queue.Next(60000);
            if (!line) return;
            out.push_back(TextToUtf8(*line));
            queue.Written();
        }
    });
    queue.Push(TextFromUtf8("a\n"));  // the writer is (or is about to be) waiting
    ASSERT_TRUE(queue.WaitUntilWritten(10000)) << "the push woke the writer";
    queue.Push(TextFromUtf8("b\n"));
    queue.Push(TextFromUtf8("c\n"));
    writer.join();
    EXPECT_EQ(out, (std::vector<std::string>{"a\n", "b\n", "c\n"}));
}

// A writer that polls is not woken for each line; a queue half full wakes it
// all the same, long before its poll would come, so that nothing is dropped
// while it sleeps.
TEST(DebugLineQueueTest, APollingWriterIsWokenWhenTheQueueFillsUp) {
    DebugLineQueue queue;
    std::optional<Text> first;
    std::thread writer([&] { first = queue.Next(60000, false); });
    for (std::size_t i = 0; i < DebugLineQueue::kMostLines / 2; ++i) queue.Push(TextFromUtf8(Line(static_cast<int>(i))));
    writer.join();  // within the test's time limit only if the pushes woke it
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(TextToUtf8(*first), Line(0));
}

}  // namespace
