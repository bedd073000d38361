#pragma once

// Named, typed values attached to an object of the model (ADOX and DAO "Properties").

#include "foundation/engine/api/Collection.h"
#include "foundation/engine/api/Variant.h"

#include <memory>
#include <string>

namespace engine {

class Property {
public:
    virtual ~Property() = default;

    virtual std::u16string name() const = 0;
    // DAO type code of the value (10 text, 3 integer, 1 boolean, ...).
    virtual int type() const = 0;
    virtual Variant value() const = 0;
    // Throws EngineError when the property is read-only or takes no such value.
    virtual void setValue(const Variant& value) = 0;
};

// item(name) of an absent property throws status::itemNotFound: to every caller that means
// the property does not exist.
class Properties : public Collection<Property> {
public:
    // DAO Append of a property made by CreateProperty.
    virtual void append(std::shared_ptr<Property> property) = 0;
    // DAO Delete; throws status::itemNotFound when absent, and for built-in properties.
    virtual void remove(std::u16string_view name) = 0;

    // The value of the property of this name; throws as item(name).
    Variant value(std::u16string_view name) const { return item(name)->value(); }
};

} // namespace engine
