#include "comparer/tips/Tips.h"

#include "comparer/tips/TipsWalker.h"

#include <pugixml.hpp>

using FormattedTextViewControl::Tip;

Tips Tips::load(const void* data, std::size_t size) {
    Tips tips;
    if (size == 0)
        return tips;
    // On a parse error pugixml keeps the nodes read before it, which is what we show.
    pugi::xml_document document;
    document.load_buffer(data, size, pugi::parse_default, pugi::encoding_auto);
    TipsWalker walker(tips);
    document.traverse(walker);
    return tips;
}

Tip* Tips::current() const {
    if (index_ < 0 || std::size_t(index_) >= tips_.size())
        return nullptr;
    return tips_[std::size_t(index_)].get();
}

Tip* Tips::next() {
    ++index_;
    if (std::size_t(index_) >= tips_.size())
        index_ = 0;
    return current();
}

Tip* Tips::previous() {
    --index_;
    if (index_ < 0)
        index_ = int(tips_.size()) - 1;
    return current();
}

void Tips::select(int index) {
    index_ = index >= 0 && std::size_t(index) < tips_.size() ? index : 0;
}

void Tips::append(std::unique_ptr<Tip> tip) {
    tips_.push_back(std::move(tip));
}
