#include "foundation/engine/api/RowsetRecordset.h"

#include "foundation/engine/api/ListCollection.h"

namespace engine {

namespace {

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

using RowFields = ListCollection<ado::Field, ado::Fields>;

} // namespace

RowsetRecordset::RowsetRecordset(std::vector<std::u16string> columns, std::vector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

void RowsetRecordset::requireOpen() const {
    if (!open_)
        throw errors::objectClosed();
}

bool RowsetRecordset::eof() const {
    requireOpen();
    return position_ >= rows_.size();
}

std::shared_ptr<ado::Fields> RowsetRecordset::fields() const {
    requireOpen();
    std::vector<std::shared_ptr<ado::Field>> fields;
    const Row* row = position_ < rows_.size() ? &rows_[position_] : nullptr;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        fields.push_back(std::make_shared<RowField>(
            columns_[i], row && i < row->size() ? (*row)[i] : Variant()));
    return std::make_shared<RowFields>(std::move(fields));
}

void RowsetRecordset::moveNext() {
    requireOpen();
    if (position_ >= rows_.size())
        throw EngineError(status::unspecified,
                          u"Either BOF or EOF is True, or the current record has been deleted. "
                          u"Requested operation requires a current record.");
    ++position_;
}

} // namespace engine
