#pragma once

// A collection of the object model: 0-based, with its count and items by index or by name.

#include <memory>
#include <string_view>

namespace engine {

template <class T> class Collection {
public:
    virtual ~Collection() = default;

    virtual int count() const = 0;
    // Throws EngineError status::itemNotFound when the index is outside 0 to count() - 1.
    virtual std::shared_ptr<T> item(int index) const = 0;
    // Names match ignoring letter case; throws EngineError status::itemNotFound when absent.
    virtual std::shared_ptr<T> item(std::u16string_view name) const = 0;
};

} // namespace engine
