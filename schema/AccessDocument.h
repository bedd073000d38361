#pragma once

// Objects that only Microsoft Access can render, held as the text Access exports for them:
// the bytes of the export file, unconverted.

#include "schema/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Entity {

class AbstractAccessDocument : public Element {
public:
    using Bytes = std::vector<std::uint8_t>;

    AbstractAccessDocument(std::u16string name, Bytes content)
        : Element(std::move(name)), content_(std::move(content)) {}

    const Bytes& content() const { return content_; }
    int contentSize() const { return static_cast<int>(content_.size()); }

private:
    Bytes content_;
};

class Form final : public AbstractAccessDocument {
public:
    using AbstractAccessDocument::AbstractAccessDocument;
    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Form; }
};

class Macro final : public AbstractAccessDocument {
public:
    using AbstractAccessDocument::AbstractAccessDocument;
    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Macro; }
};

class Module final : public AbstractAccessDocument {
public:
    using AbstractAccessDocument::AbstractAccessDocument;
    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Module; }
};

class Report final : public AbstractAccessDocument {
public:
    using AbstractAccessDocument::AbstractAccessDocument;
    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Report; }
};

} // namespace Entity

// All data macros of one table as one exported text, named after the table that owns it.
class TableDataMacro final : public Entity::AbstractAccessDocument {
public:
    using AbstractAccessDocument::AbstractAccessDocument;
    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::TableDataMacro; }
};
