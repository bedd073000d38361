#include "schema/TableLinked.h"

#include "schema/IEntityVisitor.h"

void TableLinkedAccess::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
void TableLinkedODBC::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
