#pragma once

// The missing side of a comparison result. There is one instance for the whole run; no
// container owns it, so it must never be deleted.

#include "schema/Element.h"

class EmptyElement final : public Element {
public:
    static EmptyElement& instance();

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Empty; }

private:
    EmptyElement() : Element(std::u16string()) {}
    ~EmptyElement() override = default;
};
