#pragma once

// The rebuilt pages of the prepared pages store, most recently used first. The cache owns them:
// a page handed out stays valid until the next change of the cache.

#include <memory>
#include <vector>

namespace vornak {

class TfrxReportPage;

class PageCache {
public:
    PageCache();
    ~PageCache();

    // The cached page for `index` moved to the front, or nullptr.
    TfrxReportPage *find(int index);
    // Puts `page` at the front (replacing an older page of the same index); then, when more than
    // one page and more than `capacity` pages are held, frees the least recently used one.
    TfrxReportPage *add(int index, std::unique_ptr<TfrxReportPage> page, int capacity);
    void clear();
    int size() const { return int(entries_.size()); }

private:
    struct Entry {
        int index;
        std::unique_ptr<TfrxReportPage> page;
    };
    std::vector<Entry> entries_;  // front = most recently used
};

}  // namespace vornak
