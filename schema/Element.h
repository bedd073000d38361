#pragma once

// The base of every schema element. Consumers either switch on kind() (the script
// generator) or walk elements with an IEntityVisitor (report, tooltips, result list, diff).

#include <string>
#include <utility>

class IEntityVisitor;

// The code kind() answers. Linked tables and the abstract document answer None.
enum class ElementKind : int {
    None = 0,
    Table = 1,
    Field = 2,
    Index = 3,
    Key = 4,
    Empty = 5,
    CheckConstraint = 6,
    View = 7,
    Procedure = 8,
    TableDataMacro = 9,
    Form = 10,
    Macro = 11,
    Module = 12,
    Report = 13,
};

class Element {
public:
    explicit Element(std::u16string name) : name_(std::move(name)) {}
    virtual ~Element() = default;
    // Elements are referred to by address from containers, keys and comparison results.
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    // Calls the visitor's visit for the element's own class.
    virtual void accept(IEntityVisitor& visitor) const = 0;
    virtual ElementKind kind() const { return ElementKind::None; }

    const std::u16string& name() const { return name_; }

private:
    std::u16string name_;
};
