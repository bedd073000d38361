#pragma once

// A CHECK constraint of a table.

#include "schema/Element.h"

#include <string>

class CheckConstraint final : public Element {
public:
    // Flag the comparison writes.
    struct Same {
        bool clause = false;
    };

    CheckConstraint(std::u16string name, std::u16string tableName, std::u16string clause);

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::CheckConstraint; }

    const std::u16string& tableName() const { return tableName_; }
    const std::u16string& clause() const { return clause_; }

    const Same& same() const { return same_; }
    Same& same() { return same_; }

private:
    std::u16string clause_;
    std::u16string tableName_;
    Same same_;
};
