#include "PagedFloatReader.h"

#include <cstring>
#include <sys/stat.h>

namespace corvane {

namespace {
    constexpr int64_t kPageBytes = static_cast<int64_t>(PagePool::kPageBytes);
}

PagedFloatReader::PagedFloatReader(PagePool &pool)
    : m_pool(pool)
{
}

PagedFloatReader::~PagedFloatReader()
{
    close();
}

bool PagedFloatReader::open(const std::filesystem::path &path)
{
    close();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    struct stat status
    {
    };
    if (fstat(fileno(file.get()), &status) != 0)
        return false;
    m_pool.attach(this);
    m_file = std::move(file);
    m_fileSize = status.st_size;
    m_pageCount = m_fileSize / kPageBytes + 1;
    m_pagesRequested = 0;
    return true;
}

void PagedFloatReader::close() noexcept
{
    while (m_pages)
        releaseOldestPage();
    if (m_file) {
        m_pool.detach(this);
        m_file.reset();
    }
    m_fileSize = 0;
    m_pageCount = 0;
}

float PagedFloatReader::at(int64_t index) noexcept
{
    const int64_t count = floatCount();
    if (!m_file || count == 0 || index < 0)
        return 0.0f;
    if (index >= count)
        index = count - 1;
    const int64_t offset = index * 4;
    const int64_t number = offset / kPageBytes;
    const std::size_t inPage = static_cast<std::size_t>(offset % kPageBytes);
    PagePool::Page *page = findPage(number);
    if (!page)
        page = loadPage(number);
    // A float never straddles two pages (32768 is a multiple of 4), but a page can come back
    // short when the file shrank or a read failed.
    if (!page || inPage + 4 > page->bytesRead)
        return 0.0f;
    float value;
    std::memcpy(&value, page->bytes.data() + inPage, sizeof value);
    return value;
}

PagePool::Page *PagedFloatReader::findPage(int64_t number) const noexcept
{
    for (PagePool::Page *page = m_pages; page; page = page->next) {
        if (page->number == number)
            return page;
    }
    return nullptr;
}

PagePool::Page *PagedFloatReader::loadPage(int64_t number) noexcept
{
    PagePool::Page *page = m_pool.take();
    if (!page)
        return nullptr;
    page->number = number;
    page->next = m_pages;
    m_pages = page;
    ++m_pagesLoaded;
    ++m_pagesRequested;
    if (fseeko(m_file.get(), static_cast<off_t>(number * kPageBytes), SEEK_SET) == 0)
        page->bytesRead = std::fread(page->bytes.data(), 1, page->bytes.size(), m_file.get());
    else
        page->bytesRead = 0;
    std::clearerr(m_file.get());
    return page;
}

double PagedFloatReader::share() const noexcept
{
    if (m_pagesLoaded < 2 || m_pageCount < 2)
        return 0.0;
    return static_cast<double>(m_pagesLoaded - 1) / static_cast<double>(m_pageCount - 1);
}

void PagedFloatReader::releaseOldestPage() noexcept
{
    if (!m_pages)
        return;
    PagePool::Page **link = &m_pages;
    while ((*link)->next)
        link = &(*link)->next;
    PagePool::Page *oldest = *link;
    *link = nullptr;
    --m_pagesLoaded;
    m_pool.give(oldest);
}

} // namespace corvane
