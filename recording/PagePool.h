#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {

class PagedFloatReader;

// The page buffers that a set of paged readers share: the nine band readers of one analysis, or
// the one reader of a playback feed. With the default 20 pages of 32768 bytes the nine band files
// of an analysis together never hold more than 640 KiB in memory however long the recording is,
// and readers of another pool never take those pages.
//
// When no page is free, a page is taken back from the reader that holds the largest share of its
// own file, (pages loaded - 1) / (page count - 1), counting 0 for a reader with fewer than two
// pages loaded; on a tie the most recently opened reader gives. That reader loses its oldest
// loaded page. Pages are never reordered on use, so eviction goes by age of loading.
//
// A pool and its readers are used by one thread at a time; there is no lock. An analysis keeps
// its own pool, so its readers go with it to whichever thread is using it. The pool allocates its
// pages once, when it is constructed.
class PagePool
{
public:
    static constexpr int kPageCount = 20;
    static constexpr std::size_t kPageBytes = 32768;

    struct Page
    {
        std::array<unsigned char, kPageBytes> bytes;
        std::size_t bytesRead = 0; // bytes of the file actually in `bytes`
        int64_t number = -1;       // page number within its file
        Page *next = nullptr;      // link in the owning reader's list or in the free list
    };

    // `pageCount` pages: kPageCount for an analysis, fewer where a reader only streams.
    explicit PagePool(int pageCount = kPageCount);
    ~PagePool();
    PagePool(const PagePool &) = delete;
    PagePool &operator=(const PagePool &) = delete;

    int pageCount() const noexcept { return m_pageCount; }
    int freePages() const noexcept;

private:
    friend class PagedFloatReader;

    // A free page, or one taken back from a reader by the eviction rule; null only when no page
    // is free and no reader holds one (a pool of zero pages).
    Page *take() noexcept;
    void give(Page *page) noexcept;

    // Readers register when they open and leave when they close; the registration order is the
    // order of opening, newest last. Registering may allocate.
    void attach(PagedFloatReader *reader);
    void detach(PagedFloatReader *reader) noexcept;

    int m_pageCount;
    std::unique_ptr<Page[]> m_pages;
    Page *m_free = nullptr;
    std::vector<PagedFloatReader *> m_readers;
};

} // namespace corvane
