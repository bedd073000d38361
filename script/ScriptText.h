#pragma once

// The synchronisation script of a comparison: run against the first database, it gives it
// the structure of the second. Identical schemas give the sentence that says so instead.

#include <string>

class SchemaComparison;

std::u16string scriptText(const SchemaComparison& comparison);
