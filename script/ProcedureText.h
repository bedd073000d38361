#pragma once

// Splits a saved query's text into the parameter declarations and the body, the two pieces
// of CREATE PROCEDURE. A text without a leading PARAMETERS clause is a plain query.

#include <optional>
#include <string>
#include <string_view>

struct ProcedureText {
    std::u16string parameters; // the declarations between "PARAMETERS" and the first ";"
    std::u16string body;       // everything after that ";", leading line breaks included
};

// Matches "PARAMETERS", white space, and the first ";" in any letter case; the pattern is
// compiled on first use and kept for the life of the process.
std::optional<ProcedureText> splitProcedureText(std::u16string_view text);
