#pragma once

// An ADO recordset over rows held in memory: what a query on a read-only file returns.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <memory>

namespace engine::mdbfile {

// Forward-only, like the engine's default cursor. After close every member but state() and
// close() throws errors::objectClosed().
class RowsRecordset : public ado::Recordset {
public:
    explicit RowsRecordset(RowSet rows);

    bool eof() const override;
    std::shared_ptr<ado::Fields> fields() const override;
    void moveNext() override;
    int state() const override;
    void close() override;

private:
    void requireOpen() const;

    std::shared_ptr<const RowSet> rows_;
    std::size_t current_ = 0;
    bool open_ = true;
};

} // namespace engine::mdbfile
