#include "schema/View.h"

#include "schema/IEntityVisitor.h"

void View::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

void Procedure::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

void Procedure::addParameter(ProcedureParameter parameter) {
    parameters_.push_back(std::move(parameter));
}
