#pragma once

// One visit per element class; a visitor with nothing to do for a class leaves that visit
// empty. Element::accept picks the visit, so consumers never test types.

class Table;
class Field;
class Index;
class Key;
class CheckConstraint;
class EmptyElement;
class TableLinkedAccess;
class TableLinkedODBC;
class View;
class Procedure;
class TableDataMacro;
namespace Entity {
class Form;
class Macro;
class Module;
class Report;
} // namespace Entity

class IEntityVisitor {
public:
    virtual ~IEntityVisitor() = default;

    virtual void visit(const Entity::Report& report) = 0;
    virtual void visit(const Entity::Module& module) = 0;
    virtual void visit(const Entity::Macro& macro) = 0;
    virtual void visit(const Entity::Form& form) = 0;
    virtual void visit(const TableDataMacro& macro) = 0;
    virtual void visit(const View& view) = 0;
    virtual void visit(const TableLinkedODBC& table) = 0;
    virtual void visit(const TableLinkedAccess& table) = 0;
    virtual void visit(const Table& table) = 0;
    virtual void visit(const Procedure& procedure) = 0;
    virtual void visit(const Key& key) = 0;
    virtual void visit(const Index& index) = 0;
    virtual void visit(const Field& field) = 0;
    virtual void visit(const EmptyElement& empty) = 0;
    virtual void visit(const CheckConstraint& constraint) = 0;
};
