#include "CommandQueue.h"

#include <gtest/gtest.h>

#include <thread>

using corvane::CommandQueue;

namespace {

struct Command
{
    int kind;
    double value;
};

} // namespace

TEST(CommandQueue, KeepsOrderAndRefusesWhatDoesNotFit)
{
    CommandQueue<Command, 3> queue;
    Command out {};
    EXPECT_FALSE(queue.pop(out));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(queue.push({ i, i * 0.5 }));
    EXPECT_FALSE(queue.push({ 9, 9.0 }));
    EXPECT_EQ(queue.size(), 3u);
    ASSERT_TRUE(queue.pop(out));
    EXPECT_EQ(out.kind, 0);
    ASSERT_TRUE(queue.push({ 3, 1.5 })); // room again, across the wrap
    for (int expected = 1; expected <= 3; ++expected) {
        ASSERT_TRUE(queue.pop(out));
        EXPECT_EQ(out.kind, expected);
        EXPECT_EQ(out.value, expected * 0.5);
    }
    EXPECT_FALSE(queue.pop(out));
}

TEST(CommandQueue, CommandsCrossThreadsWholeAndInOrder)
{
    CommandQueue<Command, 16> queue;
    constexpr int kCount = 100'000;
    std::thread producer([&] {
        for (int i = 0; i < kCount;)
            if (queue.push({ i, i * 2.0 }))
                ++i;
            else
                std::this_thread::yield();
    });
    int next = 0, wrong = 0;
    Command out {};
    while (next < kCount) {
        if (!queue.pop(out)) {
            std::this_thread::yield();
            continue;
        }
        wrong += out.kind != next || out.value != next * 2.0;
        ++next;
    }
    producer.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(queue.size(), 0u);
}
