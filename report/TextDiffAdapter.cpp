#include "report/TextDiffAdapter.h"

#include "foundation/text/ByteOrderMark.h"
#include "foundation/text/WideString.h"
#include "schema/Table.h"
#include "schema/TableLinked.h"
#include "schema/View.h"

#include <pugixml.hpp>

namespace {

class StringWriter final : public pugi::xml_writer {
public:
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
    std::string bytes;
};

// A data macro's XML laid out one element a line, indented by four spaces, so that the diff
// lines up whatever layout the export had. A malformed document keeps what was parsed.
std::u16string reindentedXml(const TableDataMacro& macro) {
    if (macro.content().empty())
        return {};
    pugi::xml_document document;
    document.load_buffer(macro.content().data(), macro.content().size());
    StringWriter writer;
    document.save(writer, "    ", pugi::format_indent, pugi::encoding_utf8);
    return text::fromUtf8(writer.bytes);
}

} // namespace

TextDiffAdapter::TextDiffAdapter() = default;

void TextDiffAdapter::takeStatements() {
    text_ = generator_.assemble(true);
}

void TextDiffAdapter::decodeDocument(const Entity::AbstractAccessDocument& document) {
    text_ = text::decodeByBom(document.content().data(), document.content().size());
}

void TextDiffAdapter::visit(const Entity::Report& report) {
    decodeDocument(report);
}

void TextDiffAdapter::visit(const Entity::Module& module) {
    decodeDocument(module);
}

void TextDiffAdapter::visit(const Entity::Macro& macro) {
    decodeDocument(macro);
}

void TextDiffAdapter::visit(const Entity::Form& form) {
    decodeDocument(form);
}

void TextDiffAdapter::visit(const TableDataMacro& macro) {
    text_ = reindentedXml(macro);
}

void TextDiffAdapter::visit(const View& view) {
    text_ = view.text();
}

void TextDiffAdapter::visit(const Procedure& procedure) {
    text_ = procedure.text();
}

void TextDiffAdapter::visit(const TableLinkedODBC& table) {
    generator_.linkOdbcTable(table);
    takeStatements();
}

void TextDiffAdapter::visit(const TableLinkedAccess& table) {
    generator_.linkAccessTable(table);
    takeStatements();
}

void TextDiffAdapter::visit(const Table& table) {
    generator_.createTable(table);
    takeStatements();
}

void TextDiffAdapter::visit(const Key& key) {
    generator_.addKey(key);
    takeStatements();
}

void TextDiffAdapter::visit(const Index& index) {
    generator_.createIndex(index);
    takeStatements();
}

void TextDiffAdapter::visit(const Field& field) {
    generator_.addColumn(field);
    takeStatements();
}

void TextDiffAdapter::visit(const CheckConstraint& constraint) {
    generator_.addCheck(constraint);
    takeStatements();
}

std::u16string diffText(const Element& element) {
    TextDiffAdapter adapter;
    element.accept(adapter);
    return adapter.text();
}
