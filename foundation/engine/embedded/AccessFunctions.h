#pragma once

// The Access functions and operators that SQLite lacks, as SQL functions of the connection:
// Len, Left, Right, Mid, UCase, LCase, Trim, Chr, Now, Date, Year, ... and kel_concat (&),
// kel_add (+, which joins two texts), kel_like (Like with * ? # [a-z] [!x]) and the division
// operators. Texts are UTF-16: lengths and positions count UTF-16 units. A function that fails
// (a division by zero, a value of the wrong type) records an EngineError in the context and
// fails the statement.

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <optional>
#include <string_view>
#include <vector>

namespace engine::embedded {

struct StoredColumn;

// What the functions share with the statement being run.
struct StatementContext {
    // The columns kel_store(value, n) converts into; set by the statement's runner.
    const std::vector<StoredColumn>* stores = nullptr;
    // The first failure a function raised while the statement ran.
    std::optional<EngineError> error;
};

struct AccessFunction {
    std::u16string_view name; // as Access spells it
    const char* sqlName;      // the SQLite function that computes it
    int minArguments;
    int maxArguments;
};

// The function of an Access name, ignoring case; nullptr when there is none.
const AccessFunction* findAccessFunction(std::u16string_view name);

// Registers every function (and kel_store, see StoredValues.h) on the connection. The context
// must outlive the connection.
void registerAccessFunctions(SqliteDatabase& db, StatementContext& context);

} // namespace engine::embedded
