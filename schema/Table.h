#pragma once

// A table of the database with everything it owns: fields, indexes, keys, check
// constraints and its data macros.

#include "schema/AccessDocument.h"
#include "schema/CheckConstraint.h"
#include "schema/Element.h"
#include "schema/Field.h"
#include "schema/Index.h"
#include "schema/Key.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Table final : public Element {
public:
    explicit Table(std::u16string name);
    ~Table() override;

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Table; }

    // Children must have been created for this table; they are appended.
    Field& addField(std::unique_ptr<Field> field);
    Index& addIndex(std::unique_ptr<Index> index);
    CheckConstraint& addCheckConstraint(std::unique_ptr<CheckConstraint> constraint);
    // Keys are unique by exact name. A foreign key replaces a key of its name in place;
    // any other key of a name already present is dropped. Returns the key the table keeps
    // under that name; a key not kept is destroyed.
    Key& addKey(std::unique_ptr<Key> key);

    // Hands the element back to the caller; null when the table does not hold it.
    std::unique_ptr<Index> removeIndex(const Index& index);
    std::unique_ptr<Key> removeKey(const Key& key);

    // Ignores the case of A-Z.
    Field* findField(std::u16string_view name) const;
    Field* findFieldExact(std::u16string_view name) const;
    Key* findKeyExact(std::u16string_view name) const;

    // Ascending by position, once the reader has set the positions.
    void sortFieldsByPosition();

    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }
    const std::vector<std::unique_ptr<Index>>& indexes() const { return indexes_; }
    const std::vector<std::unique_ptr<Key>>& keys() const { return keys_; }
    const std::vector<std::unique_ptr<CheckConstraint>>& checkConstraints() const {
        return checkConstraints_;
    }
    TableDataMacro* tableDataMacro() const { return tableDataMacro_.get(); }
    // Destroys the macro held before; null clears it.
    void setTableDataMacro(std::unique_ptr<TableDataMacro> macro);

private:
    std::unique_ptr<TableDataMacro> tableDataMacro_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<std::unique_ptr<Index>> indexes_;
    std::vector<std::unique_ptr<Key>> keys_;
    std::vector<std::unique_ptr<CheckConstraint>> checkConstraints_;
};
