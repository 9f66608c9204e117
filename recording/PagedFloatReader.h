#pragma once

#include "PagePool.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace corvane {

// Reads a file of 32-bit floats (a band file of an analysis) in pages of 32768 bytes, loaded on
// demand from the PagePool it was given, so a view can walk a long recording without holding it.
//
// Every index gives a value: an index below 0, a closed reader and an empty file give 0.0; an
// index at or past the last whole float gives the last whole float. A float whose page could not
// be read whole gives 0.0 rather than bytes that were never read.
//
// Used only on the thread that is using its pool. A reader registers with its pool while open,
// so it can be neither copied nor moved.
class PagedFloatReader
{
public:
    // Takes its pages from `pool`, which should outlive it: a pool that goes first closes its
    // readers, and such a reader must not be opened again.
    explicit PagedFloatReader(PagePool &pool);
    ~PagedFloatReader();
    PagedFloatReader(const PagedFloatReader &) = delete;
    PagedFloatReader &operator=(const PagedFloatReader &) = delete;

    // Opens `path` read-only (closing what was open) and takes its size at this moment; loads
    // nothing yet, but registering with the pool may allocate. Returns whether the file could be
    // opened.
    bool open(const std::filesystem::path &path);
    // Returns every page to the pool, then closes the file. Safe to call when closed.
    void close() noexcept;
    bool isOpen() const noexcept { return m_file != nullptr; }

    // The float at `index` (byte offset 4 * index); may load a page, and so evict one elsewhere.
    float at(int64_t index) noexcept;

    int64_t fileSize() const noexcept { return m_fileSize; }
    int64_t floatCount() const noexcept { return m_fileSize / 4; }
    // Pages of the file: size / 32768 + 1.
    int64_t pageCount() const noexcept { return m_pageCount; }
    int pagesLoaded() const noexcept { return m_pagesLoaded; }
    // Pages read from disk since the last open.
    int64_t pagesRequested() const noexcept { return m_pagesRequested; }

private:
    friend class PagePool;

    struct FileCloser
    {
        void operator()(std::FILE *file) const noexcept { std::fclose(file); }
    };

    PagePool::Page *findPage(int64_t number) const noexcept;
    PagePool::Page *loadPage(int64_t number) noexcept;
    // The eviction share: (pages loaded - 1) / (page count - 1), 0 below two pages loaded.
    double share() const noexcept;
    void releaseOldestPage() noexcept;

    PagePool &m_pool;
    PagePool::Page *m_pages = nullptr; // newest first
    int64_t m_pagesRequested = 0;
    int64_t m_pageCount = 0;
    int m_pagesLoaded = 0;
    int64_t m_fileSize = 0;
    std::unique_ptr<std::FILE, FileCloser> m_file;
};

} // namespace corvane
