#pragma once

// Tables linked from another Access database or from an ODBC source. Only their link is
// known: no columns are read for them, and the comparison passes them by.

#include "schema/Element.h"

#include <string>

class TableLinkedAccess : public Element {
public:
    // source: the linked database, or for ODBC "ODBC;" and the connect string.
    TableLinkedAccess(std::u16string name, std::u16string remoteTable, std::u16string source)
        : Element(std::move(name)), source_(std::move(source)),
          remoteTable_(std::move(remoteTable)) {}

    void accept(IEntityVisitor& visitor) const override;

    const std::u16string& source() const { return source_; }
    // The table's name in the source.
    const std::u16string& remoteTable() const { return remoteTable_; }

private:
    std::u16string source_;
    std::u16string remoteTable_;
};

class TableLinkedODBC final : public TableLinkedAccess {
public:
    using TableLinkedAccess::TableLinkedAccess;
    void accept(IEntityVisitor& visitor) const override;
};
