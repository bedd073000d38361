#pragma once

// What the runner's tests read back from a database: the rows of a query as text, and
// SQLite's own verdict on an embedded file.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/embedded/Sqlite.h"
#include "foundation/text/WideString.h"

#include <string>
#include <vector>

namespace executortest {

// Each row's values as text joined by "|", NULL for a null.
inline std::vector<std::string> queryRows(engine::ado::Connection& connection,
                                          const std::u16string& query) {
    std::vector<std::string> rows;
    auto recordset = connection.execute(query, {}, nullptr);
    for (; recordset && !recordset->eof(); recordset->moveNext()) {
        std::string row;
        auto fields = recordset->fields();
        for (int i = 0; i < fields->count(); ++i) {
            engine::Variant value = fields->item(i)->value();
            row += (i ? "|" : "") + (value.isNull() ? std::string("NULL")
                                                    : text::toUtf8(value.toText().value_or(u"?")));
        }
        rows.push_back(row);
    }
    return rows;
}

// True when PRAGMA integrity_check finds nothing wrong.
inline bool passesIntegrityCheck(const std::u16string& path) {
    engine::embedded::SqliteDatabase raw(path, true, false);
    auto check = raw.prepare("PRAGMA integrity_check");
    return check.step() && check.text(0) == u"ok";
}

} // namespace executortest
