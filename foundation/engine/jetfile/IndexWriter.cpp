#include "foundation/engine/jetfile/IndexWriter.h"

#include "foundation/engine/jetfile/IndexBuilder.h"
#include "foundation/engine/jetfile/PageTypes.h"
#include "foundation/engine/jetfile/UsageMapWriter.h"

#include <algorithm>
#include <deque>

namespace engine::jetfile {

namespace {

constexpr std::size_t leafPointerSize = 4;

bool isIndexPage(const Bytes& bytes) {
    return bytes[0] == page::indexNode || bytes[0] == page::indexLeaf;
}

void appendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

// Pages for a new tree: the old tree's first, then new ones.
class PagePool {
public:
    PagePool(PageAllocator& allocator, std::vector<PageNumber> reusable)
        : allocator_(allocator), reusable_(reusable.begin(), reusable.end()) {}

    PageNumber take() {
        if (reusable_.empty())
            return allocator_.allocate();
        PageNumber page = reusable_.front();
        reusable_.pop_front();
        return page;
    }
    std::vector<PageNumber> leftOver() const { return {reusable_.begin(), reusable_.end()}; }

private:
    PageAllocator& allocator_;
    std::deque<PageNumber> reusable_;
};

// The index's page usage map, where it lists the tree, keeps listing it.
void updateUsageMap(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                    const PhysicalIndex& index, const std::vector<PageNumber>& freed,
                    const std::vector<PageNumber>& treePages) {
    if (index.usageMap == 0 || index.usageMap == table.usedPages ||
        index.usageMap == table.freePages)
        return;
    UsageMapWriter map(copy, index.usageMap);
    if (!map.contains(index.rootPage))
        return;
    auto newPage = [&] { return allocator.allocate(); };
    for (PageNumber page : freed)
        map.set(page, false, newPage);
    for (PageNumber page : treePages)
        map.set(page, true, newPage);
}

} // namespace

std::vector<PageNumber> indexTreePages(const PageSource& file, PageNumber root) {
    std::vector<PageNumber> pages;
    std::deque<PageNumber> pending{root};
    while (!pending.empty()) {
        PageNumber number = pending.front();
        pending.pop_front();
        if (std::find(pages.begin(), pages.end(), number) != pages.end())
            throw FormatError("index pages form a loop");
        Bytes bytes = file.read(number);
        if (!isIndexPage(bytes))
            throw FormatError("page " + std::to_string(number) + " is not an index page");
        pages.push_back(number);
        IndexPage page = IndexPage::decode(bytes);
        if (page.leaf)
            continue;
        for (const IndexEntry& entry : page.entries)
            pending.push_back(splitEntry(entry, false).childPage);
        if (page.tailPage != 0)
            pending.push_back(page.tailPage);
    }
    return pages;
}

std::uint32_t distinctKeys(const std::vector<IndexEntry>& entries) {
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Bytes& entry = entries[i].bytes;
        if (i == 0 ||
            !std::equal(entry.begin(), entry.end() - leafPointerSize, entries[i - 1].bytes.begin(),
                        entries[i - 1].bytes.end() - leafPointerSize))
            ++count;
    }
    return count;
}

IndexShape rebuildIndex(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table,
                        std::size_t physicalIndex) {
    PhysicalIndex& index = table.physicalIndexes.at(physicalIndex);
    std::uint32_t owner = table.pages.front();
    std::vector<PageNumber> oldPages = indexTreePages(copy, index.rootPage);
    std::vector<IndexEntry> entries = leafEntriesFromRows(copy, table, index);

    IndexShape shape;
    shape.entries = entries.size();
    PagePool pool(allocator, std::vector<PageNumber>(oldPages.begin() + 1, oldPages.end()));
    std::vector<PageNumber> treePages{index.rootPage};
    std::vector<IndexPage> level = packLeaves(entries, owner);
    shape.leaves = level.size();
    for (shape.levels = 1; level.size() > 1; ++shape.levels) {
        std::vector<PageNumber> numbers;
        for (std::size_t i = 0; i < level.size(); ++i)
            numbers.push_back(pool.take());
        std::vector<IndexEntry> parents;
        for (std::size_t i = 0; i < level.size(); ++i) {
            level[i].previousPage = i > 0 ? numbers[i - 1] : 0;
            level[i].nextPage = i + 1 < level.size() ? numbers[i + 1] : 0;
            IndexEntry parent = level[i].entries.back();
            if (!level[i].leaf)
                parent.bytes.resize(parent.bytes.size() - 4);
            appendBigEndian(parent.bytes, numbers[i]);
            parents.push_back(std::move(parent));
            copy.write(numbers[i], level[i].encode());
        }
        treePages.insert(treePages.end(), numbers.begin(), numbers.end());
        level = packNodes(parents, owner);
    }
    copy.write(index.rootPage, level.front().encode());

    std::vector<PageNumber> freed = pool.leftOver();
    for (PageNumber page : freed)
        allocator.release(page);
    updateUsageMap(copy, allocator, table, index, freed, treePages);
    index.rowCount = distinctKeys(entries);
    return shape;
}

} // namespace engine::jetfile
