#include "foundation/engine/api/EngineError.h"

namespace engine::errors {

namespace {

std::u16string join(std::u16string_view a, std::u16string_view b, std::u16string_view c) {
    std::u16string s(a);
    s += b;
    s += c;
    return s;
}

} // namespace

EngineError itemNotFound() {
    return {status::itemNotFound, u"Item cannot be found in the collection corresponding to the "
                                  u"requested name or ordinal."};
}

EngineError fileNotFound(std::u16string_view path) {
    return {status::unspecified, join(u"Could not find file '", path, u"'.")};
}

EngineError unrecognizedFormat(std::u16string_view path) {
    return {status::unspecified, join(u"Unrecognized database format '", path, u"'.")};
}

EngineError fileInUse(std::u16string_view path) {
    return {status::unspecified, join(u"Could not use '", path, u"'; file already in use.")};
}

EngineError notValidPassword() {
    return {status::authentication, u"Not a valid password."};
}

EngineError readOnly() {
    return {status::unspecified, u"Cannot update. Database or object is read-only."};
}

EngineError objectClosed() {
    return {status::objectClosed, u"Operation is not allowed when the object is closed."};
}

EngineError invalidArgument() {
    return {status::invalidArgument, u"Arguments are of the wrong type, are out of acceptable "
                                     u"range, or are in conflict with one another."};
}

EngineError tableNotFound(std::u16string_view table) {
    return {status::objectNotFound,
            join(u"The database engine cannot find the input table or query '", table,
                 u"'. Make sure it exists and that its name is spelled correctly.")};
}

EngineError tableExists(std::u16string_view table) {
    return {status::unspecified, join(u"Table '", table, u"' already exists.")};
}

EngineError fieldExists(std::u16string_view field, std::u16string_view table) {
    return {status::unspecified,
            join(u"Field '", field, join(u"' already exists in table '", table, u"'."))};
}

EngineError syntaxError(std::u16string_view statementKind) {
    return {status::syntaxError, join(u"Syntax error in ", statementKind, u" statement.")};
}

} // namespace engine::errors
