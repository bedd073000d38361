#include "DefinitionComparison.h"

#include <algorithm>
#include <cstdint>

namespace jettest {

using namespace engine::jetfile;

std::string narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

namespace {

template <typename T>
void compare(std::vector<std::string>& out, const std::string& field, const T& made,
             const T& real) {
    if (!(made == real))
        out.push_back(field);
}

void compareColumns(std::vector<std::string>& out, const TableDefinition& b,
                    const TableDefinition& r) {
    for (std::size_t i = 0; i < b.columns.size(); ++i) {
        const ColumnDefinition& x = b.columns[i];
        const ColumnDefinition& y = r.columns[i];
        std::string at = "column " + narrow(y.name) + " ";
        compare(out, at + "type", x.type, y.type);
        compare(out, at + "reserved1", x.reserved1, y.reserved1);
        compare(out, at + "number", x.number, y.number);
        compare(out, at + "variableIndex", x.variableIndex, y.variableIndex);
        compare(out, at + "index", x.index, y.index);
        compare(out, at + "misc", x.misc, y.misc);
        compare(out, at + "flags", x.flags, y.flags);
        compare(out, at + "extendedFlags", x.extendedFlags, y.extendedFlags);
        compare(out, at + "reserved17", x.reserved17, y.reserved17);
        // A variable-length column's fixed offset holds whatever the memory held.
        if (y.isFixedLength())
            compare(out, at + "fixedOffset", x.fixedOffset, y.fixedOffset);
        compare(out, at + "length", x.length, y.length);
        compare(out, at + "name", x.name, y.name);
    }
}

void compareIndexes(std::vector<std::string>& out, const TableDefinition& b,
                    const TableDefinition& r) {
    for (std::size_t i = 0; i < b.physicalIndexes.size(); ++i) {
        const PhysicalIndex& x = b.physicalIndexes[i];
        const PhysicalIndex& y = r.physicalIndexes[i];
        std::string at = "physical index " + std::to_string(i) + " ";
        compare(out, at + "reserved0", x.reserved0, y.reserved0);
        compare(out, at + "columnNumbers", x.columnNumbers, y.columnNumbers);
        // The order bytes of unused column slots are left as they were in memory too.
        for (std::size_t c = 0; c < y.columnNumbers.size(); ++c)
            if (y.columnNumbers[c] != unusedIndexColumn)
                compare(out, at + "columnOrders", x.columnOrders[c], y.columnOrders[c]);
        compare(out, at + "flags", x.flags, y.flags);
        compare(out, at + "reserved47", x.reserved47, y.reserved47);
    }
    for (std::size_t i = 0; i < b.logicalIndexes.size(); ++i) {
        const LogicalIndex& x = b.logicalIndexes[i];
        const LogicalIndex& y = r.logicalIndexes[i];
        std::string at = "logical index " + narrow(y.name) + " ";
        compare(out, at + "reserved0", x.reserved0, y.reserved0);
        compare(out, at + "number", x.number, y.number);
        compare(out, at + "physicalIndex", x.physicalIndex, y.physicalIndex);
        compare(out, at + "relatedTableType", x.relatedTableType, y.relatedTableType);
        compare(out, at + "relatedIndex", x.relatedIndex, y.relatedIndex);
        compare(out, at + "relatedTablePage", x.relatedTablePage, y.relatedTablePage);
        compare(out, at + "cascadeUpdates", x.cascadeUpdates, y.cascadeUpdates);
        compare(out, at + "cascadeDeletes", x.cascadeDeletes, y.cascadeDeletes);
        compare(out, at + "kind", x.kind, y.kind);
        compare(out, at + "reserved24", x.reserved24, y.reserved24);
        compare(out, at + "name", x.name, y.name);
    }
}

std::vector<std::uint16_t> usageMapColumns(const TableDefinition& t) {
    std::vector<std::uint16_t> columns;
    for (const ColumnUsageMaps& m : t.columnUsageMaps)
        columns.push_back(m.columnNumber);
    return columns;
}

// Whether a TableDesign can describe the column: not made by the engine for itself (complex
// column parts, calculated columns, variable-length numbers).
bool describable(const ColumnDefinition& c) {
    constexpr std::uint8_t describedFlags = column::fixedLengthFlag | column::nullableFlag |
                                            column::autoLongFlag | column::autoGuidFlag |
                                            column::hyperlinkFlag;
    if ((c.flags & ~describedFlags) != 0 ||
        (c.extendedFlags & ~column::compressedUnicodeFlag) != 0 || c.type == column::complex)
        return false;
    bool fixedType = c.type != column::text && c.type != column::binary && c.type != column::memo &&
                     c.type != column::oleObject;
    return !fixedType || c.isFixedLength();
}

} // namespace

std::vector<std::string> differences(const TableDefinition& made, const TableDefinition& real) {
    std::vector<std::string> out;
    compare(out, "reserved12", made.reserved12, real.reserved12);
    compare(out, "autoNumberFlag", made.autoNumberFlag, real.autoNumberFlag);
    compare(out, "reserved25", made.reserved25, real.reserved25);
    compare(out, "tableType", made.tableType, real.tableType);
    compare(out, "maxColumns", made.maxColumns, real.maxColumns);
    compare(out, "variableColumnCount", made.variableColumnCount, real.variableColumnCount);
    compare(out, "trailer", made.trailer, real.trailer);
    if (made.columns.size() != real.columns.size() ||
        made.physicalIndexes.size() != real.physicalIndexes.size() ||
        made.logicalIndexes.size() != real.logicalIndexes.size()) {
        out.push_back("counts");
        return out;
    }
    compareColumns(out, made, real);
    compareIndexes(out, made, real);
    compare(out, "column usage maps", usageMapColumns(made), usageMapColumns(real));
    return out;
}

std::string listed(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields)
        line += " [" + f + "]";
    return line;
}

std::string history(const TableDefinition& t) {
    if (t.tableType != 0x4E)
        return "system table";
    if (!std::all_of(t.columns.begin(), t.columns.end(),
                     [](const ColumnDefinition& c) { return describable(c); }))
        return "columns no TableDesign describes";
    if (t.maxColumns != t.columns.size())
        return "deleted columns";
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const ColumnDefinition& c = t.columns[i];
        if (c.number != i)
            return "columns out of number order";
        if (c.index != i)
            return "columns moved";
    }
    return indexHistory(t);
}

std::string indexHistory(const TableDefinition& t) {
    std::vector<std::uint32_t> numbers;
    for (const LogicalIndex& l : t.logicalIndexes)
        numbers.push_back(l.number);
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] != i)
            return "deleted indexes";
    std::vector<std::uint32_t> firstUse(t.physicalIndexes.size(), UINT32_MAX);
    for (const LogicalIndex& l : t.logicalIndexes)
        firstUse.at(l.physicalIndex) = std::min(firstUse.at(l.physicalIndex), l.number);
    if (!std::is_sorted(firstUse.begin(), firstUse.end()))
        return "indexes rebuilt";
    return {};
}

} // namespace jettest
