#pragma once

// The engine's ADO command and its parameters: a statement text run on the active
// connection, also the form in which saved queries are handed out and stored.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/ListCollection.h"

namespace engine {

class CommandParameter : public ado::Parameter {
public:
    CommandParameter(std::u16string name, int type, int direction, int size, Variant value)
        : name_(std::move(name)), type_(type), direction_(direction), size_(size),
          value_(std::move(value)) {}

    std::u16string name() const override { return name_; }
    void setName(const std::u16string& name) override { name_ = name; }
    int type() const override { return type_; }
    void setType(int type) override { type_ = type; }
    int direction() const override { return direction_; }
    void setDirection(int direction) override { direction_ = direction; }
    int size() const override { return size_; }
    void setSize(int size) override { size_ = size; }
    int numericScale() const override { return scale_; }
    void setNumericScale(int scale) override { scale_ = scale; }
    int precision() const override { return precision_; }
    void setPrecision(int precision) override { precision_ = precision; }
    Variant value() const override { return value_; }
    void setValue(const Variant& value) override { value_ = value; }

private:
    std::u16string name_;
    int type_;
    int direction_;
    int size_;
    int scale_ = 0;
    int precision_ = 0;
    Variant value_;
};

class CommandParameters : public ListCollection<ado::Parameter, ado::Parameters> {
public:
    void append(std::shared_ptr<ado::Parameter> parameter) override;
};

class Command : public ado::Command {
public:
    std::shared_ptr<ado::Connection> activeConnection() const override { return connection_; }
    void setActiveConnection(std::shared_ptr<ado::Connection> connection) override {
        connection_ = std::move(connection);
    }
    std::u16string commandText() const override { return text_; }
    void setCommandText(const std::u16string& text) override { text_ = text; }
    int commandType() const override { return type_; }
    void setCommandType(int type) override { type_ = type; }
    std::shared_ptr<ado::Parameters> parameters() const override { return parameters_; }
    std::shared_ptr<ado::Parameter> createParameter(const std::u16string& name, int type,
                                                    int direction, int size,
                                                    const Variant& value) override;
    std::shared_ptr<ado::Recordset> execute(std::int64_t* recordsAffected, int options) override;

private:
    std::shared_ptr<ado::Connection> connection_;
    std::u16string text_;
    int type_ = ado::commandTypeText;
    std::shared_ptr<CommandParameters> parameters_ = std::make_shared<CommandParameters>();
};

} // namespace engine
