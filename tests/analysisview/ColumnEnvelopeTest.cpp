#include "ColumnEnvelope.h"
#include "EnvelopeCache.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

// 0, 1, -2, 3, -4 ...: every column's extremes are at its ends, so a skipped value shows.
std::vector<float> alternating(int n)
{
    std::vector<float> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = static_cast<float>(i % 2 ? i : -i);
    return v;
}

auto reader(const std::vector<float> &values, int *reads = nullptr)
{
    return [&values, reads](int64_t i) {
        if (reads)
            ++*reads;
        return values.at(static_cast<std::size_t>(i));
    };
}

} // namespace

TEST(ColumnEnvelope, EachColumnHoldsTheExtremesOfItsOwnValues)
{
    const std::vector<float> v = alternating(40);
    const auto env = columnEnvelope(reader(v), 40, 0.0, 4.0, 12);
    ASSERT_EQ(env.size(), 12u);
    EXPECT_FALSE(env[0].empty);
    EXPECT_EQ(env[0].low, -2.0f);
    EXPECT_EQ(env[0].high, 3.0f);
    EXPECT_EQ(env[9].low, -38.0f);
    EXPECT_EQ(env[9].high, 39.0f);
    EXPECT_TRUE(env[10].empty); // past the end
    EXPECT_TRUE(env[11].empty);
}

TEST(ColumnEnvelope, ColumnsBeforeTheStartAreEmptyAndAFineZoomRepeatsValues)
{
    const std::vector<float> v = alternating(10);
    const auto delayed = columnEnvelope(reader(v), 10, -5.0, 2.0, 4);
    EXPECT_TRUE(delayed[0].empty);
    EXPECT_TRUE(delayed[1].empty);
    EXPECT_FALSE(delayed[2].empty); // [-1, 1): value 0 only
    EXPECT_EQ(delayed[2].low, 0.0f);
    EXPECT_EQ(delayed[2].high, 0.0f);
    EXPECT_EQ(delayed[3].high, 1.0f);
    EXPECT_EQ(delayed[3].low, -2.0f);

    const auto fine = columnEnvelope(reader(v), 10, 2.0, 0.25, 8);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(fine[static_cast<std::size_t>(c)].low, -2.0f) << c;
    EXPECT_EQ(fine[4].high, 3.0f);
}

TEST(ColumnEnvelope, WideColumnsReadAtMostTheGivenNumberOfValues)
{
    const std::vector<float> v(100000, 0.5f);
    int reads = 0;
    const auto env = columnEnvelope(reader(v, &reads), 100000, 0.0, 10000.0, 10, 64);
    EXPECT_LE(reads, 10 * 65);
    EXPECT_EQ(env[9].high, 0.5f);
    EXPECT_TRUE(columnEnvelope(reader(v), 0, 0.0, 1.0, 3)[0].empty);
}

TEST(EnvelopeCache, AScrollReadsOnlyTheColumnsThatCameIntoView)
{
    const std::vector<float> v = alternating(400);
    int reads = 0;
    EnvelopeCache cache;
    const auto first = cache.columns(reader(v, &reads), 400, 0.0, 4.0, 10, 20);
    EXPECT_EQ(reads, 80);
    reads = 0;
    const auto scrolled = cache.columns(reader(v, &reads), 400, 0.0, 4.0, 15, 20);
    EXPECT_EQ(reads, 5 * 4); // columns 30 .. 34 only
    const auto direct = columnEnvelope(reader(v), 400, 60.0, 4.0, 20);
    for (std::size_t c = 0; c < 20; ++c) {
        EXPECT_EQ(scrolled[c].low, direct[c].low) << c;
        EXPECT_EQ(scrolled[c].high, direct[c].high) << c;
    }
    reads = 0;
    cache.columns(reader(v, &reads), 400, 0.0, 4.0, 12, 20); // back left: columns 12 .. 14
    EXPECT_EQ(reads, 3 * 4);
    reads = 0;
    cache.columns(reader(v, &reads), 400, 0.0, 2.0, 12, 20); // another zoom starts afresh
    EXPECT_EQ(reads, 40);
}
