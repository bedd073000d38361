#pragma once

// The check clauses of a whole database by constraint name, from which the catalog reader
// builds the constraints of each table. The engine names some constraints plainly and some
// as "[table].name", so both forms are looked up.

#include <map>
#include <memory>
#include <string>

class CheckConstraint;

class CheckConstraintManager {
public:
    virtual ~CheckConstraintManager() = default;

    // Keys compare case-sensitively; a later clause under the same key replaces the earlier.
    void add(std::u16string constraintKey, std::u16string clause);
    // Null when neither the name nor "[table].name" is known.
    std::unique_ptr<CheckConstraint> createConstraint(const std::u16string& tableName,
                                                      const std::u16string& constraintName) const;

private:
    std::map<std::u16string, std::u16string> clauses_;
};
