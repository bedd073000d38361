#include "foundation/engine/mdbfile/RowsRecordset.h"

#include "foundation/engine/api/EngineError.h"

namespace engine::mdbfile {

namespace {

EngineError noCurrentRecord() {
    return {0x800A0BCD, u"Either BOF or EOF is True, or the current record has been deleted. "
                        u"Requested operation requires a current record."};
}

class RowField : public ado::Field {
public:
    RowField(std::u16string name, Variant value)
        : name_(std::move(name)), value_(std::move(value)) {}
    std::u16string name() const override { return name_; }
    Variant value() const override { return value_; }

private:
    std::u16string name_;
    Variant value_;
};

// The fields of one row, with the values the row had when they were taken.
class RowFields : public ado::Fields {
public:
    RowFields(std::shared_ptr<const RowSet> rows, std::size_t row)
        : rows_(std::move(rows)), row_(row) {}

    int count() const override { return int(rows_->columns.size()); }

    std::shared_ptr<ado::Field> item(int index) const override {
        if (index < 0 || index >= count())
            throw errors::itemNotFound();
        return std::make_shared<RowField>(rows_->columns[std::size_t(index)],
                                          rows_->rows[row_][std::size_t(index)]);
    }

    std::shared_ptr<ado::Field> item(std::u16string_view name) const override {
        int index = rows_->columnIndex(name);
        if (index < 0)
            throw errors::itemNotFound();
        return item(index);
    }

private:
    std::shared_ptr<const RowSet> rows_;
    std::size_t row_;
};

} // namespace

RowsRecordset::RowsRecordset(RowSet rows) : rows_(std::make_shared<RowSet>(std::move(rows))) {}

void RowsRecordset::requireOpen() const {
    if (!open_)
        throw errors::objectClosed();
}

bool RowsRecordset::eof() const {
    requireOpen();
    return current_ >= rows_->rows.size();
}

std::shared_ptr<ado::Fields> RowsRecordset::fields() const {
    requireOpen();
    if (eof())
        throw noCurrentRecord();
    return std::make_shared<RowFields>(rows_, current_);
}

void RowsRecordset::moveNext() {
    requireOpen();
    if (eof())
        throw noCurrentRecord();
    ++current_;
}

int RowsRecordset::state() const {
    return open_ ? ado::stateOpen : ado::stateClosed;
}

void RowsRecordset::close() {
    open_ = false;
}

} // namespace engine::mdbfile
