#include "script/ScriptText.h"

#include "compare/SchemaComparison.h"
#include "script/ScriptBuilder.h"

std::u16string scriptText(const SchemaComparison& comparison) {
    if (comparison.identical())
        return comparison.identicalText();
    ScriptBuilder builder(comparison.firstSchema(), comparison.secondSchema());
    for (const ElementDifference& item : comparison.results())
        builder.add(item);
    return builder.finish();
}
