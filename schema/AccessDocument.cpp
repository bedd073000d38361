#include "schema/AccessDocument.h"

#include "schema/IEntityVisitor.h"

namespace Entity {

void Form::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
void Macro::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
void Module::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
void Report::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

} // namespace Entity

void TableDataMacro::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
