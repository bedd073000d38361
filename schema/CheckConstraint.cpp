#include "schema/CheckConstraint.h"

#include "schema/IEntityVisitor.h"

CheckConstraint::CheckConstraint(std::u16string name, std::u16string tableName,
                                 std::u16string clause)
    : Element(std::move(name)), clause_(std::move(clause)), tableName_(std::move(tableName)) {}

void CheckConstraint::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}
