#include "PagePool.h"

#include "PagedFloatReader.h"

#include <algorithm>

namespace corvane {

PagePool::PagePool(int pageCount)
    : m_pageCount(std::max(pageCount, 0))
    , m_pages(std::make_unique<Page[]>(static_cast<std::size_t>(m_pageCount)))
{
    for (int i = m_pageCount - 1; i >= 0; --i) {
        m_pages[i].next = m_free;
        m_free = &m_pages[i];
    }
}

PagePool::~PagePool()
{
    // Readers that outlive their pool must not hand pages back into freed memory.
    for (PagedFloatReader *reader : std::vector<PagedFloatReader *>(m_readers))
        reader->close();
}

int PagePool::freePages() const noexcept
{
    int count = 0;
    for (const Page *page = m_free; page; page = page->next)
        ++count;
    return count;
}

PagePool::Page *PagePool::take() noexcept
{
    if (!m_free) {
        PagedFloatReader *victim = nullptr;
        double largest = -1.0;
        // Newest reader first, and only a strictly larger share replaces it: the most recently
        // opened reader wins a tie.
        for (auto it = m_readers.rbegin(); it != m_readers.rend(); ++it) {
            PagedFloatReader *reader = *it;
            if (reader->pagesLoaded() == 0)
                continue;
            const double share = reader->share();
            if (share > largest) {
                largest = share;
                victim = reader;
            }
        }
        if (!victim)
            return nullptr;
        victim->releaseOldestPage();
    }
    Page *page = m_free;
    if (page) {
        m_free = page->next;
        page->next = nullptr;
        page->bytesRead = 0;
        page->number = -1;
    }
    return page;
}

void PagePool::give(Page *page) noexcept
{
    page->next = m_free;
    page->bytesRead = 0;
    page->number = -1;
    m_free = page;
}

void PagePool::attach(PagedFloatReader *reader)
{
    m_readers.push_back(reader);
}

void PagePool::detach(PagedFloatReader *reader) noexcept
{
    std::erase(m_readers, reader);
}

} // namespace corvane
