#pragma once

// The text of an element as the diff shows it: the SQL that creates a table or one of its
// parts, the stored text of a query, or the exported text of an Access object. The diff
// thus compares definitions rather than property lists.

#include "schema/AccessDataTypeName.h"
#include "schema/IEntityVisitor.h"
#include "script/CommandGenerator.h"

#include <string>

class Element;

class TextDiffAdapter : public IEntityVisitor {
public:
    TextDiffAdapter();

    // Empty until an element was visited. The generator keeps the statements it was given,
    // so an adapter serves one element.
    const std::u16string& text() const { return text_; }

    void visit(const Entity::Report& report) override;
    void visit(const Entity::Module& module) override;
    void visit(const Entity::Macro& macro) override;
    void visit(const Entity::Form& form) override;
    void visit(const TableDataMacro& macro) override;
    void visit(const View& view) override;
    void visit(const TableLinkedODBC& table) override;
    void visit(const TableLinkedAccess& table) override;
    void visit(const Table& table) override;
    void visit(const Procedure& procedure) override;
    void visit(const Key& key) override;
    void visit(const Index& index) override;
    void visit(const Field& field) override;
    void visit(const EmptyElement&) override {}
    void visit(const CheckConstraint& constraint) override;

private:
    // The generator's statements, foreign keys included.
    void takeStatements();
    void decodeDocument(const Entity::AbstractAccessDocument& document);

    std::u16string text_;
    AccessDataTypeName dialect_;
    CommandGenerator generator_{dialect_};
};

// The text of one element through a fresh adapter; empty for the EmptyElement.
std::u16string diffText(const Element& element);
