#include "comparer/ui/ListViewResultBuilder.h"

#include "comparer/ui/ElementImages.h"
#include "foundation/platform/qt/QtText.h"
#include "foundation/text/WideString.h"
#include "report/TooltipBuilder.h"
#include "schema/AccessDocument.h"
#include "schema/CheckConstraint.h"
#include "schema/DataTypeName.h"
#include "schema/Field.h"
#include "schema/Index.h"
#include "schema/Key.h"
#include "schema/Table.h"
#include "schema/View.h"

namespace {

// Joins entries with "; ", starting with a head that is always there.
class InfoText {
public:
    explicit InfoText(std::u16string head) : text_(std::move(head)) {}
    void add(std::u16string_view entry) {
        text_ += u"; ";
        text_ += entry;
    }
    void addIfAny(std::u16string_view entry) {
        if (!entry.empty())
            add(entry);
    }
    std::u16string take() { return std::move(text_); }

private:
    std::u16string text_;
};

// Only text and memo columns have a zero-length setting.
bool hasZeroLengthSetting(int type) {
    return type == 202 || type == 203;
}

std::u16string_view nullsText(int nulls) {
    switch (nulls) {
    case 0:
        return u"Nulls Allow";
    case 1:
        return u"Nulls Disallow";
    case 2:
        return u"NullsIgnore";
    default:
        return u"";
    }
}

std::u16string withoutLineBreaks(std::u16string text) {
    for (size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", at))
        text.replace(at, 2, u" ");
    return text;
}

int keyImage(int type) {
    switch (type) {
    case Key::Primary:
        return PrimaryKeyImage;
    case Key::Foreign:
        return ForeignKeyImage;
    case Key::Unique:
        return UniqueKeyImage;
    default:
        return TableImage;
    }
}

struct StateLook {
    const char* text;
    std::uint32_t colour;
};

StateLook stateLook(ElementState state) {
    switch (state) {
    case ElementState::Added:
        return {"added", 0xFFFBCC};
    case ElementState::Deleted:
        return {"deleted", 0xD9E4EC};
    case ElementState::Changed:
        break;
    }
    return {"changed", 0xFFE8DE};
}

std::u16string tooltipOf(const Element& element, const DataTypeName& dialect) {
    std::u16string text;
    TooltipBuilder builder(text, dialect);
    element.accept(builder);
    return text;
}

} // namespace

ResultRows buildResultRows(const std::vector<ElementDifference>& results,
                           const DataTypeName& dialect, bool compareFieldsOrder) {
    ResultRows rows;
    ListViewResultBuilder builder(rows, dialect, compareFieldsOrder);
    // Each item's row goes on top, so walking backwards leaves the rows in the result's order.
    for (auto item = results.rbegin(); item != results.rend(); ++item) {
        builder.setFirstSide(true);
        item->first->accept(builder);
        builder.setFirstSide(false);
        item->second->accept(builder);
        StateLook look = stateLook(item->state);
        bool isTable =
            item->first->kind() == ElementKind::Table || item->second->kind() == ElementKind::Table;
        ResultRow& row = rows.front();
        row.cells[ActionColumn] = QString::fromLatin1(look.text);
        row.data.reset(new ElementData{tooltipOf(*item->first, dialect),
                                       tooltipOf(*item->second, dialect), *item->first,
                                       *item->second, look.colour, isTable});
    }
    return rows;
}

ListViewResultBuilder::ListViewResultBuilder(ResultRows& rows, const DataTypeName& dialect,
                                             bool compareFieldsOrder)
    : rows_(rows), dialect_(dialect), compareFieldsOrder_(compareFieldsOrder) {}

ResultRow& ListViewResultBuilder::row() {
    if (firstSide_ || rows_.empty())
        rows_.emplace_front();
    return rows_.front();
}

void ListViewResultBuilder::fill(const std::u16string& name, const std::u16string& info,
                                 int image) {
    ResultRow& target = row();
    int nameColumn = firstSide_ ? FirstNameColumn : SecondNameColumn;
    target.cells[nameColumn] = platform::qt::toQString(name);
    target.cells[nameColumn + 1] = platform::qt::toQString(info);
    target.image = image;
}

void ListViewResultBuilder::visit(const Entity::Report& report) {
    fill(report.name(), {}, ReportImage);
}

void ListViewResultBuilder::visit(const Entity::Module& module) {
    fill(module.name(), {}, ModuleImage);
}

void ListViewResultBuilder::visit(const Entity::Macro& macro) {
    fill(macro.name(), {}, MacroImage);
}

void ListViewResultBuilder::visit(const Entity::Form& form) {
    fill(form.name(), {}, FormImage);
}

void ListViewResultBuilder::visit(const TableDataMacro&) {
    fill(u"Table Data Macro", {}, TableDataMacroImage);
}

void ListViewResultBuilder::visit(const View& view) {
    fill(view.name(), withoutLineBreaks(view.text()), ViewImage);
}

void ListViewResultBuilder::visit(const Procedure& procedure) {
    fill(procedure.name(), withoutLineBreaks(procedure.text()), ProcedureImage);
}

// Linked tables show nothing, but on the first side they still get a row of their own so
// that the second side never writes into the row of another item.
void ListViewResultBuilder::visit(const TableLinkedODBC&) {
    emptyRow();
}

void ListViewResultBuilder::visit(const TableLinkedAccess&) {
    emptyRow();
}

void ListViewResultBuilder::visit(const EmptyElement&) {
    emptyRow();
}

void ListViewResultBuilder::emptyRow() {
    if (firstSide_)
        row();
}

void ListViewResultBuilder::visit(const Table& table) {
    fill(table.name(), {}, TableImage);
}

void ListViewResultBuilder::visit(const Key& key) {
    fill(key.name(), keyInfo(key), keyImage(key.type()));
}

void ListViewResultBuilder::visit(const Index& index) {
    fill(index.name(), indexInfo(index), IndexImage);
}

void ListViewResultBuilder::visit(const Field& field) {
    fill(field.name(), fieldInfo(field, dialect_, compareFieldsOrder_), FieldImage);
}

void ListViewResultBuilder::visit(const CheckConstraint& constraint) {
    fill(constraint.name(), constraint.clause(), CheckConstraintImage);
}

std::u16string ListViewResultBuilder::fieldInfo(const Field& field, const DataTypeName& dialect,
                                                bool compareFieldsOrder) {
    InfoText info{std::u16string(dialect.findType(field.type()).sqlName)};
    if (field.length() != 0)
        info.add(u"length=" + text::toWString(field.length()));
    if (field.isAutoincrement())
        info.add(u"autoincrement");
    if (field.defaultText())
        info.add(u"default value=" + *field.defaultText());
    if (field.precision() != 0)
        info.add(u"precision=" + text::toWString(field.precision()));
    if (field.numericScale() != 0)
        info.add(u"numeric scale=" + text::toWString(field.numericScale()));
    if (field.decimalPlacesKnown())
        info.add(u"decimal places=" + text::toWString(field.decimalPlaces()));
    if (field.isNullable())
        info.add(u"nullable");
    if (hasZeroLengthSetting(field.type()))
        info.add(field.allowsZeroLength() ? u"allow zero length=true" : u"allow zero length=false");
    if (field.isCompressed())
        info.add(u"with compression");
    if (field.hasExpression())
        info.add(u"expression=" + field.expression());
    if (!field.format().empty())
        info.add(u"format='" + field.format() + u"'");
    if (!field.validationRule().empty())
        info.add(u"validation rule=\"" + field.validationRule() + u"\"");
    if (compareFieldsOrder)
        info.add(u"position=" + text::formatDefault(field.position()));
    return info.take();
}

std::u16string ListViewResultBuilder::indexInfo(const Index& index) {
    std::u16string flags;
    auto flag = [&flags](std::u16string_view text) {
        if (text.empty())
            return;
        if (!flags.empty())
            flags += u", ";
        flags += text;
    };
    if (index.isPrimaryKey())
        flag(u"Primary Key");
    if (index.isUnique())
        flag(u"Unique");
    flag(nullsText(index.nulls()));
    InfoText info{u"column=" + index.columnsText()};
    info.addIfAny(flags);
    return info.take();
}

std::u16string ListViewResultBuilder::keyInfo(const Key& key) {
    InfoText info{(key.type() == Key::Primary ? u"column=" : u"") + key.columnsText()};
    info.addIfAny(key.typeText());
    info.addIfAny(key.deleteRuleText());
    info.addIfAny(key.updateRuleText());
    return info.take();
}
