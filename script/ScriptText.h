#pragma once

// The synchronisation script of a comparison: run against the first database, it gives it
// the structure of the second. Identical schemas give the sentence that says so instead.

#include <memory>
#include <string>

class Database;
class SchemaComparison;

std::u16string scriptText(const SchemaComparison& comparison);

// The script that gives an empty database this structure: the synchronisation script from
// an empty first database. Empty when the database has nothing to create.
std::u16string creationScript(std::unique_ptr<Database> database);
