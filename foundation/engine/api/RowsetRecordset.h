#pragma once

// A recordset over rows held in memory: schema rowsets and query results.

#include "foundation/engine/api/Ado.h"

#include <string>
#include <vector>

namespace engine {

class RowsetRecordset : public ado::Recordset {
public:
    using Row = std::vector<Variant>;

    RowsetRecordset(std::vector<std::u16string> columns, std::vector<Row> rows);

    bool eof() const override;
    std::shared_ptr<ado::Fields> fields() const override;
    void moveNext() override;
    int state() const override { return open_ ? ado::stateOpen : ado::stateClosed; }
    void close() override { open_ = false; }

private:
    void requireOpen() const;

    std::vector<std::u16string> columns_;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
    bool open_ = true;
};

} // namespace engine
