#include "schema/CheckConstraintManager.h"

#include "schema/CheckConstraint.h"

void CheckConstraintManager::add(std::u16string constraintKey, std::u16string clause) {
    clauses_.insert_or_assign(std::move(constraintKey), std::move(clause));
}

std::unique_ptr<CheckConstraint>
CheckConstraintManager::createConstraint(const std::u16string& tableName,
                                         const std::u16string& constraintName) const {
    auto found = clauses_.find(constraintName);
    if (found == clauses_.end())
        found = clauses_.find(u"[" + tableName + u"]." + constraintName);
    if (found == clauses_.end())
        return nullptr;
    return std::make_unique<CheckConstraint>(constraintName, tableName, found->second);
}
