// The debug lines' queue: pushing never waits for the channel, a full queue
// counts what it drops, and the count goes out once the channel moves again,
// right after the line that showed it moving.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

// A writer asleep until a push is woken by it, and takes the lines in order.
TEST(DebugLineQueueTest, AWaitingWriterIsWokenByAPushAndTakesTheLinesInOrder) {
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
    queue.Push(TextFromUtf8("a\n"));
    ASSERT_TRUE(queue.WaitUntilWritten(10000)) << "the push woke the writer";
    queue.Push(TextFromUtf8("b\n"));
    queue.Push(TextFromUtf8("c\n"));
    writer.join();
    EXPECT_EQ(out, (std::vector<std::string>{"a\n", "b\n", "c\n"}));
}

// A writer that polls is not woken for each line, but a queue half full
// wakes it long before its poll would come, so that nothing is dropped while
// it sleeps.
TEST(DebugLineQueueTest, APollingWriterIsWokenWhenTheQueueFillsUp) {
    DebugLineQueue queue;
    std::atomic<bool> waiting{false};
    std::atomic<bool> returned{false};
    std::optional<Text> first;
    std::thread writer([&] {
        waiting = true;
        first = queue.Next(60000, false);
        returned = true;
    });
    while (!waiting) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // inside its wait by now
    for (std::size_t i = 0; i < DebugLineQueue::kMostLines / 2; ++i) queue.Push(TextFromUtf8(Line(static_cast<int>(i))));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!returned && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(returned) << "a polling writer waits 60 s unless the full queue wakes it";
    writer.join();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(TextToUtf8(*first), Line(0));
}

}  // namespace
