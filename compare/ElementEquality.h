#pragma once

// What "equal" means for each kind of element. The functions for fields, indexes, keys and
// check constraints also write the difference flags that the tooltips and the report read:
// a field's flags go to both fields, the others' to the first element only.

#include "compare/ComparisonOptions.h"

class CheckConstraint;
class Field;
class Index;
class Key;
class View;
namespace Entity {
class AbstractAccessDocument;
}

// Names are known to match ignoring case; the case of the names alone never counts.
bool fieldsEqual(Field& first, Field& second, const ComparisonOptions& options);
// Index names are known to match exactly. Column order counts, the case of column names not.
bool indexesEqual(Index& first, const Index& second);
// Column pairs match in any order, ignoring case; not-enforced and one-to-one do not count.
bool keysEqual(Key& first, const Key& second);
bool checkConstraintsEqual(CheckConstraint& first, const CheckConstraint& second);
// The SQL texts, exactly; parameters of procedures do not count.
bool queriesEqual(const View& first, const View& second);
// Name and exported bytes, exactly.
bool documentsEqual(const Entity::AbstractAccessDocument& first,
                    const Entity::AbstractAccessDocument& second);
