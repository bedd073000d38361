#pragma once

// A collection over a list of items that have a name(): the common implementation of
// Collection for backends and the engine.

#include "foundation/engine/api/Collection.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <memory>
#include <vector>

namespace engine {

template <class T, class Base = Collection<T>> class ListCollection : public Base {
public:
    ListCollection() = default;
    explicit ListCollection(std::vector<std::shared_ptr<T>> items) : items_(std::move(items)) {}

    int count() const override { return int(items_.size()); }

    std::shared_ptr<T> item(int index) const override {
        if (index < 0 || index >= count())
            throw errors::itemNotFound();
        return items_[std::size_t(index)];
    }

    std::shared_ptr<T> item(std::u16string_view name) const override {
        for (const auto& item : items_)
            if (text::equalsNoCase(item->name(), name))
                return item;
        throw errors::itemNotFound();
    }

protected:
    std::vector<std::shared_ptr<T>> items_;
};

} // namespace engine
