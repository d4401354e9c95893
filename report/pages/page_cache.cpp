#include "report/pages/page_cache.h"

#include "report/model/report_page.h"

#include <algorithm>

namespace vornak {

PageCache::PageCache() = default;
PageCache::~PageCache() = default;

TfrxReportPage *PageCache::find(int index)
{
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [index](const Entry &e) { return e.index == index; });
    if (it == entries_.end())
        return nullptr;
    std::rotate(entries_.begin(), it, it + 1);
    return entries_.front().page.get();
}

TfrxReportPage *PageCache::add(int index, std::unique_ptr<TfrxReportPage> page, int capacity)
{
    std::erase_if(entries_, [index](const Entry &e) { return e.index == index; });
    entries_.insert(entries_.begin(), Entry{index, std::move(page)});
    if (entries_.size() > 1 && int(entries_.size()) > capacity)
        entries_.pop_back();
    return entries_.front().page.get();
}

void PageCache::clear()
{
    entries_.clear();
}

}  // namespace vornak
