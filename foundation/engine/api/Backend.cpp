#include "foundation/engine/api/Backend.h"

#include "foundation/engine/api/EngineError.h"

namespace engine {

void Session::alterColumn(const std::u16string&, const std::u16string&, const catalog::Column&) {
    throw errors::readOnly();
}

void Session::appendColumn(const std::u16string&, const catalog::Column&) {
    throw errors::readOnly();
}

void Session::dropColumn(const std::u16string&, const std::u16string&) {
    throw errors::readOnly();
}

void Session::appendTable(const catalog::Table&) {
    throw errors::readOnly();
}

void Session::alterTable(const std::u16string&, const catalog::Table&) {
    throw errors::readOnly();
}

void Session::appendRelation(const catalog::Relation&) {
    throw errors::readOnly();
}

void Session::dropRelation(const std::u16string&) {
    throw errors::readOnly();
}

void Session::appendQuery(const std::u16string&, const std::u16string&) {
    throw errors::readOnly();
}

} // namespace engine
