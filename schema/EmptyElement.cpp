#include "schema/EmptyElement.h"

#include "schema/IEntityVisitor.h"

EmptyElement& EmptyElement::instance() {
    // Built on first use, so no static initialiser can see it unconstructed.
    static EmptyElement empty;
    return empty;
}

void EmptyElement::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
