#include "script/ScriptText.h"

#include "compare/SchemaComparison.h"
#include "schema/AccessDataTypeName.h"
#include "script/ScriptBuilder.h"

std::u16string scriptText(const SchemaComparison& comparison) {
    if (comparison.identical())
        return comparison.identicalText();
    ScriptBuilder builder(comparison.firstSchema(), comparison.secondSchema());
    for (const ElementDifference& item : comparison.results())
        builder.add(item);
    return builder.finish();
}

std::u16string creationScript(std::unique_ptr<Database> database) {
    AccessDataTypeName dialect;
    SchemaComparison comparison(std::make_unique<Database>(std::u16string()), std::move(database),
                                ComparisonOptions{}, dialect);
    if (comparison.identical())
        return {};
    return scriptText(comparison);
}
