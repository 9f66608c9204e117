#include "PagedFloatReader.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

using namespace corvane;
using corvane::test::TempDir;

namespace {

constexpr int64_t kFloatsPerPage = 32768 / 4;

std::vector<float> ramp(std::size_t count, float offset = 0.0f)
{
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = offset + static_cast<float>(i) * 0.5f;
    return values;
}

void writeBytes(const std::filesystem::path &path, const void *data, std::size_t bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(static_cast<const char *>(data), static_cast<std::streamsize>(bytes));
}

void writeFloats(const std::filesystem::path &path, const std::vector<float> &values)
{
    writeBytes(path, values.data(), values.size() * sizeof(float));
}

} // namespace

TEST(PagedFloatReader, TwelveReadersSharingTwentyPagesReadTheSameFloatsAsAPlainRead)
{
    TempDir dir;
    PagePool pool(PagePool::kPageCount);
    std::vector<std::vector<float>> files;
    std::vector<std::unique_ptr<PagedFloatReader>> readers;
    for (int r = 0; r < 12; ++r) {
        files.push_back(ramp(static_cast<std::size_t>((r % 4) * 3 * kFloatsPerPage + 100 + r),
                             static_cast<float>(r) * 1000.0f));
        const auto path = dir / ("f" + std::to_string(r) + ".tmp");
        writeFloats(path, files.back());
        readers.push_back(std::make_unique<PagedFloatReader>(pool));
        ASSERT_TRUE(readers.back()->open(path));
        EXPECT_EQ(readers.back()->floatCount(), static_cast<int64_t>(files.back().size()));
    }
    EXPECT_EQ(readers[1]->pageCount(), 4); // three whole pages and a part

    std::mt19937 random(11);
    for (int n = 0; n < 20000; ++n) {
        const std::size_t r = random() % readers.size();
        const int64_t i = static_cast<int64_t>(random() % files[r].size());
        ASSERT_EQ(readers[r]->at(i), files[r][static_cast<std::size_t>(i)])
                << "reader " << r << " index " << i;
    }

    int loaded = 0;
    for (const auto &reader : readers)
        loaded += reader->pagesLoaded();
    EXPECT_EQ(loaded + pool.freePages(), PagePool::kPageCount);
    readers.clear();
    EXPECT_EQ(pool.freePages(), PagePool::kPageCount);
}

TEST(PagedFloatReader, IndicesOutsideTheFileNeverReadUnreadBytes)
{
    TempDir dir;
    PagePool pool;
    PagedFloatReader reader(pool);

    // Never opened, and an open that fails.
    EXPECT_EQ(reader.at(0), 0.0f);
    EXPECT_FALSE(reader.open(dir / "missing.tmp"));
    EXPECT_EQ(reader.at(3), 0.0f);

    // An empty file.
    writeFloats(dir / "empty.tmp", {});
    ASSERT_TRUE(reader.open(dir / "empty.tmp"));
    for (int64_t index : { 0, 100000, -1 })
        EXPECT_EQ(reader.at(index), 0.0f) << index;

    // A file of exactly one page: its page count says two, but the second page is empty.
    const std::vector<float> page = ramp(kFloatsPerPage, 1.0f);
    writeFloats(dir / "page.tmp", page);
    ASSERT_TRUE(reader.open(dir / "page.tmp"));
    EXPECT_EQ(reader.pageCount(), 2);
    EXPECT_EQ(reader.at(-5), 0.0f);
    for (int64_t index : { kFloatsPerPage - 1, kFloatsPerPage, 10 * kFloatsPerPage })
        EXPECT_EQ(reader.at(index), page.back()) << index;

    // A file that ends in a partial float gives its last whole float.
    std::vector<unsigned char> bytes(4 * 3 + 2, 0);
    const float last = 42.25f;
    std::memcpy(bytes.data() + 8, &last, 4);
    writeBytes(dir / "ragged.tmp", bytes.data(), bytes.size());
    ASSERT_TRUE(reader.open(dir / "ragged.tmp"));
    EXPECT_EQ(reader.floatCount(), 3);
    EXPECT_EQ(reader.at(3), last);
    EXPECT_EQ(reader.at(1000), last);

    reader.close();
    EXPECT_EQ(reader.at(0), 0.0f);
    EXPECT_EQ(pool.freePages(), pool.pageCount());
}

TEST(PagedFloatReader, TheReaderWithTheLargestShareGivesUpItsOldestPage)
{
    TempDir dir;
    writeFloats(dir / "a.tmp", ramp(4 * kFloatsPerPage)); // 5 pages by the count
    writeFloats(dir / "b.tmp", ramp(4 * kFloatsPerPage, 7.0f));
    PagePool pool(3);
    PagedFloatReader a(pool);
    PagedFloatReader b(pool);
    ASSERT_TRUE(a.open(dir / "a.tmp"));
    ASSERT_TRUE(b.open(dir / "b.tmp"));

    a.at(0);              // page 0
    a.at(kFloatsPerPage); // page 1
    a.at(0);              // used again, but not moved to the front
    b.at(0);
    EXPECT_EQ(pool.freePages(), 0);

    // b holds fewer than two pages (share 0); a holds 2 of 5 (share 1/4) and gives page 0, the
    // one it loaded first, although it was used last.
    b.at(kFloatsPerPage);
    EXPECT_EQ(a.pagesLoaded(), 1);
    EXPECT_EQ(b.pagesLoaded(), 2);
    const int64_t before = a.pagesRequested();
    a.at(kFloatsPerPage + 5);
    EXPECT_EQ(a.pagesRequested(), before);
    EXPECT_EQ(a.at(3), 1.5f);
    EXPECT_EQ(a.pagesRequested(), before + 1);
}

TEST(PagedFloatReader, OnATieTheMostRecentlyOpenedReaderGives)
{
    TempDir dir;
    writeFloats(dir / "a.tmp", ramp(4 * kFloatsPerPage));
    writeFloats(dir / "b.tmp", ramp(4 * kFloatsPerPage));
    PagePool pool(4);
    PagedFloatReader a(pool);
    PagedFloatReader b(pool);
    // Both readers take two pages (an equal share), then `second` asks for a fifth.
    auto tie = [](PagedFloatReader &first, PagedFloatReader &second) {
        for (PagedFloatReader *reader : { &first, &second }) {
            reader->at(0);
            reader->at(kFloatsPerPage);
        }
        second.at(2 * kFloatsPerPage);
    };
    for (bool aFirst : { true, false }) {
        a.close();
        b.close();
        PagedFloatReader &older = aFirst ? a : b;
        PagedFloatReader &newer = aFirst ? b : a;
        ASSERT_TRUE(older.open(dir / "a.tmp"));
        ASSERT_TRUE(newer.open(dir / "b.tmp"));
        tie(newer, older);
        EXPECT_EQ(newer.pagesLoaded(), 1) << (aFirst ? "a opened first" : "b opened first");
        EXPECT_EQ(older.pagesLoaded(), 3);
    }
}
