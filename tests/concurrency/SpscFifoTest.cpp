#include "CountingBytes.h"
#include "SpscFifo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using corvane::SpscFifo;
using corvane::testing::countingBytes;

TEST(SpscFifo, KeepsBytesInOrderAcrossTheWrapAndRefusesWhatDoesNotFit)
{
    SpscFifo fifo;
    fifo.reset(10);
    const auto first = countingBytes(7);
    ASSERT_TRUE(fifo.write(first.data(), 7));
    std::vector<std::byte> out(7);
    ASSERT_TRUE(fifo.read(out.data(), 7));
    EXPECT_EQ(out, first);

    const auto second = countingBytes(9, 100); // wraps around the end of the storage
    ASSERT_TRUE(fifo.write(second.data(), 9));
    EXPECT_FALSE(fifo.write(second.data(), 2)); // all or nothing
    EXPECT_EQ(fifo.readable(), 9u);
    out.resize(9);
    EXPECT_FALSE(fifo.read(out.data(), 10));
    ASSERT_TRUE(fifo.read(out.data(), 9));
    EXPECT_EQ(out, second);
}

TEST(SpscFifo, OneWriterAndOneReaderOnTwoThreadsLoseAndReorderNothing)
{
    SpscFifo fifo;
    fifo.reset(1000);
    constexpr std::size_t total = 400'000;
    const auto data = countingBytes(total);
    std::thread writer([&] {
        std::size_t sent = 0, piece = 1;
        while (sent < total) {
            const std::size_t size = std::min(piece, total - sent);
            if (fifo.write(data.data() + sent, size)) {
                sent += size;
                piece = piece % 97 + 1;
            } else {
                std::this_thread::yield();
            }
        }
    });
    std::vector<std::byte> received;
    received.reserve(total);
    std::byte block[64];
    while (received.size() < total) {
        const std::size_t size = std::min<std::size_t>(64, total - received.size());
        if (fifo.read(block, size))
            received.insert(received.end(), block, block + size);
        else
            std::this_thread::yield();
    }
    writer.join();
    EXPECT_TRUE(received == data);
}
