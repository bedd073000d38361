#pragma once

// Properties of the generic object model: each property reads its value through a function and
// writes through another, so that a write goes straight to the database.

#include "foundation/engine/api/ListCollection.h"
#include "foundation/engine/api/Properties.h"

#include <functional>

namespace engine {

class FunctionProperty : public Property {
public:
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant&)>;

    // Without a setter the property is read-only.
    FunctionProperty(std::u16string name, int type, Getter get, Setter set = {})
        : name_(std::move(name)), type_(type), get_(std::move(get)), set_(std::move(set)) {}

    std::u16string name() const override { return name_; }
    int type() const override { return type_; }
    Variant value() const override { return get_(); }
    void setValue(const Variant& value) override;

private:
    std::u16string name_;
    int type_;
    Getter get_;
    Setter set_;
};

// A property that holds its own value: one made by CreateProperty, or one of a new object.
class ValueProperty : public Property {
public:
    ValueProperty(std::u16string name, int type, Variant value)
        : name_(std::move(name)), type_(type), value_(std::move(value)) {}

    std::u16string name() const override { return name_; }
    int type() const override { return type_; }
    Variant value() const override { return value_; }
    void setValue(const Variant& value) override { value_ = value; }

private:
    std::u16string name_;
    int type_;
    Variant value_;
};

// A list of properties; append and remove go to the given functions, or fail when there are
// none (ADOX properties).
class PropertyList : public ListCollection<Property, Properties> {
public:
    using Append = std::function<void(const Property&)>;
    using Remove = std::function<void(std::u16string_view)>;

    explicit PropertyList(std::vector<std::shared_ptr<Property>> items, Append append = {},
                          Remove remove = {})
        : ListCollection(std::move(items)), append_(std::move(append)), remove_(std::move(remove)) {
    }

    void append(std::shared_ptr<Property> property) override;
    void remove(std::u16string_view name) override;

private:
    Append append_;
    Remove remove_;
};

} // namespace engine
