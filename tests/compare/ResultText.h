#pragma once

// Comparison results as short lines ("deleted Field Id") for readable expectations.

#include "compare/SchemaComparison.h"
#include "foundation/text/WideString.h"
#include "schema/EmptyElement.h"

#include <string>
#include <vector>

namespace fixture {

inline const char* kindName(ElementKind kind) {
    static const char* const names[] = {"None",  "Table", "Field",  "Index",     "Key",
                                        "Empty", "Check", "View",   "Procedure", "DataMacro",
                                        "Form",  "Macro", "Module", "Report"};
    return names[static_cast<int>(kind)];
}

inline std::string describe(const ElementDifference& item) {
    const Element* shown = item.state == ElementState::Added ? item.second : item.first;
    const char* state = item.state == ElementState::Added     ? "added"
                        : item.state == ElementState::Deleted ? "deleted"
                                                              : "changed";
    std::string line =
        std::string(state) + " " + kindName(shown->kind()) + " " + text::toUtf8(shown->name());
    // The missing side must be the shared placeholder.
    const Element* other = item.state == ElementState::Added ? item.first : item.second;
    if (item.state != ElementState::Changed && other != &EmptyElement::instance())
        line += " (missing side is not the EmptyElement)";
    return line;
}

inline std::vector<std::string> describe(const SchemaComparison& comparison) {
    std::vector<std::string> lines;
    for (const ElementDifference& item : comparison.results())
        lines.push_back(describe(item));
    return lines;
}

} // namespace fixture
