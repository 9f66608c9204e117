#include "LatestValue.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

using corvane::LatestValue;

namespace {

// A record whose fields all carry the same number: a torn read shows up as fields that differ.
struct Record
{
    std::array<std::uint64_t, 24> fields;
    static Record numbered(std::uint64_t n)
    {
        Record r;
        r.fields.fill(n);
        return r;
    }
};

} // namespace

TEST(LatestValue, GivesNothingBeforeTheFirstRecordThenAlwaysTheNewest)
{
    LatestValue<Record> box;
    Record out = Record::numbered(99);
    EXPECT_FALSE(box.read(out));
    EXPECT_EQ(out.fields[0], 99u);
    EXPECT_EQ(box.latest().fields[0], 0u);

    box.publish(Record::numbered(1));
    box.publish(Record::numbered(2));
    EXPECT_TRUE(box.hasFresh());
    ASSERT_TRUE(box.read(out));
    EXPECT_EQ(out.fields[5], 2u); // the first record was replaced unseen
    EXPECT_FALSE(box.hasFresh());
    ASSERT_TRUE(box.read(out)); // nothing new: the same record again
    EXPECT_EQ(out.fields[5], 2u);

    for (std::uint64_t n = 3; n < 10; ++n) {
        box.publish(Record::numbered(n));
        EXPECT_EQ(box.latest().fields[23], n);
    }
}

TEST(LatestValue, AReaderOnAnotherThreadSeesWholeRecordsInOrder)
{
    LatestValue<Record> box;
    constexpr std::uint64_t kLast = 200'000;
    std::atomic<bool> done { false };
    std::thread writer([&] {
        for (std::uint64_t n = 1; n <= kLast; ++n)
            box.publish(Record::numbered(n));
        done.store(true, std::memory_order_release);
    });
    std::uint64_t seen = 0, torn = 0, backwards = 0;
    Record out {};
    auto look = [&] {
        if (!box.read(out))
            return;
        for (std::uint64_t field : out.fields)
            torn += field != out.fields[0];
        backwards += out.fields[0] < seen;
        seen = out.fields[0];
    };
    while (!done.load(std::memory_order_acquire))
        look();
    writer.join();
    look();
    EXPECT_EQ(torn, 0u);
    EXPECT_EQ(backwards, 0u);
    EXPECT_EQ(seen, kLast); // the last record is never lost
}
