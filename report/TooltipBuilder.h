#pragma once

// Writes the properties of a field, index, key or check constraint that differ from its
// counterpart (those whose difference flag is false), or the text of a view or procedure,
// as short "name=value" entries joined by a separator. Other elements write nothing.

#include "schema/IEntityVisitor.h"

#include <string>
#include <string_view>

class DataTypeName;

class TooltipBuilder : public IEntityVisitor {
public:
    // Appends to output; neither output nor dialect is owned.
    TooltipBuilder(std::u16string& output, const DataTypeName& dialect);

    // Written between two entries, never before the first or after the last; "\r\n" until
    // set.
    void setSeparator(std::u16string separator) { separator_ = std::move(separator); }

    void visit(const Entity::Report&) override {}
    void visit(const Entity::Module&) override {}
    void visit(const Entity::Macro&) override {}
    void visit(const Entity::Form&) override {}
    void visit(const TableDataMacro&) override;
    void visit(const View& view) override;
    void visit(const TableLinkedODBC&) override;
    void visit(const TableLinkedAccess&) override;
    void visit(const Table&) override;
    void visit(const Procedure& procedure) override;
    void visit(const Key& key) override;
    void visit(const Index& index) override;
    void visit(const Field& field) override;
    void visit(const EmptyElement&) override;
    void visit(const CheckConstraint& constraint) override;

private:
    void begin() { separatorPending_ = false; }
    // Starts an entry: the separator unless it is the first entry of this visit.
    std::u16string& entry();

    std::u16string& output_;
    const DataTypeName& dialect_;
    std::u16string separator_ = u"\r\n";
    bool separatorPending_ = false;
};
