#pragma once

// Reads the structure of one database into a schema: tables, fields, indexes and keys, check
// constraints, field order, views and procedures, relationships, and, when the options ask for
// them, the Access objects. Failures that leave no usable schema end the read; the others are
// collected as warnings and the read goes on.

#include "foundation/database/DatabaseConnection.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/engine/api/Components.h"
#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"
#include "reader/Warnings.h"
#include "schema/Database.h"

#include <memory>
#include <optional>
#include <string>

namespace reader {

class SchemaReader {
public:
    // The description must outlive the reader. Only the hidden-tables switch and the five
    // Access object switches of the options matter here.
    SchemaReader(const database::DatabaseDescription& description,
                 const settings::comparer::Options& options,
                 engine::Components& components = defaultComponents());
    ~SchemaReader();
    SchemaReader(const SchemaReader&) = delete;
    SchemaReader& operator=(const SchemaReader&) = delete;

    // Once per reader. None when the read failed; the database stays open until the reader is
    // destroyed. A database that another program changes during the read is read again, so
    // that the schema is never a mix of two structures; one that keeps changing fails as in
    // use.
    std::unique_ptr<Database> read(settings::IProgress& progress);

    bool failed() const { return failed_; }
    const std::u16string& errorText() const { return errorText_; }
    bool hasWarnings() const { return warnings_.any(); }
    const std::u16string& warningsText() const { return warnings_.text(); }

private:
    static engine::Components& defaultComponents();
    std::unique_ptr<Database> readOnce(settings::IProgress& progress);
    std::unique_ptr<Database> readAll(settings::IProgress& progress);
    void fail(std::u16string text);

    const database::DatabaseDescription& description_;
    settings::comparer::Options options_;
    engine::Components& components_;
    // A fresh connection for each attempt: its catalogs keep what they read.
    std::optional<database::DatabaseConnection> connection_;
    Warnings warnings_;
    bool failed_ = false;
    std::u16string errorText_;
};

} // namespace reader
