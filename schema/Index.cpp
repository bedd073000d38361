#include "schema/Index.h"

#include "schema/Field.h"
#include "schema/IEntityVisitor.h"

#include <cassert>

Index::Index(Table& table, std::u16string name, bool primaryKey, bool unique, int nulls)
    : Element(std::move(name)), table_(&table), primaryKey_(primaryKey), unique_(unique),
      nulls_(nulls) {}

void Index::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

void Index::addColumn(Field& field, bool descending) {
    assert(&field.table() == table_);
    columns_.push_back(&field);
    descending_.push_back(descending);
}

std::u16string Index::columnsText() const {
    std::u16string text;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0)
            text += u", ";
        text += columns_[i]->name();
        if (descending_[i])
            text += descendingMark;
    }
    return text;
}
