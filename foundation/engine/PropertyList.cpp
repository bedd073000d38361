#include "foundation/engine/PropertyList.h"

namespace engine {

void FunctionProperty::setValue(const Variant& value) {
    if (!set_)
        throw EngineError(status::unspecified, u"Property '" + name_ + u"' is read-only.");
    set_(value);
}

void PropertyList::append(std::shared_ptr<Property> property) {
    if (!property)
        throw errors::invalidArgument();
    if (!append_)
        throw errors::readOnly();
    for (const auto& item : items_)
        if (text::equalsNoCase(item->name(), property->name()))
            throw EngineError(status::unspecified, u"Cannot append. An object with that name "
                                                   u"already exists in the collection.");
    append_(*property);
    items_.push_back(std::move(property));
}

void PropertyList::remove(std::u16string_view name) {
    item(name); // absent: item not found
    if (!remove_)
        throw errors::readOnly();
    remove_(name);
    std::erase_if(items_, [&](const auto& item) { return text::equalsNoCase(item->name(), name); });
}

} // namespace engine
