#include "foundation/engine/Command.h"

namespace engine {

void CommandParameters::append(std::shared_ptr<ado::Parameter> parameter) {
    if (!parameter)
        throw errors::invalidArgument();
    items_.push_back(std::move(parameter));
}

std::shared_ptr<ado::Parameter> Command::createParameter(const std::u16string& name, int type,
                                                         int direction, int size,
                                                         const Variant& value) {
    return std::make_shared<CommandParameter>(name, type, direction, size, value);
}

std::shared_ptr<ado::Recordset> Command::execute(std::int64_t* recordsAffected, int options) {
    if (!connection_ || connection_->state() != ado::stateOpen)
        throw errors::objectClosed();
    std::vector<Variant> values;
    for (int i = 0; i < parameters_->count(); ++i)
        values.push_back(parameters_->item(i)->value());
    auto rows = connection_->execute(text_, values, recordsAffected);
    if (options & ado::executeNoRecords)
        return nullptr;
    return rows;
}

} // namespace engine
