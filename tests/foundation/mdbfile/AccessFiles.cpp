#include "AccessFiles.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/text/WideString.h"

#include <stdexcept>

namespace mdbtest {

std::string accessFile(const std::string& name) {
    return std::string(KEL_ACCESS_DATA_DIR) + "/" + name;
}

std::shared_ptr<engine::Session> openAccessFile(const std::string& name) {
    return openAccessPath(accessFile(name));
}

std::shared_ptr<engine::Session> openAccessPath(const std::string& path) {
    engine::mdbfile::MdbFileBackend backend;
    engine::OpenParameters parameters;
    parameters.path = text::fromUtf8(path);
    try {
        return backend.open(parameters);
    } catch (const engine::EngineError& e) {
        throw std::runtime_error(path + ": " + text::toUtf8(e.description()));
    }
}

namespace {
template <class T> const T& found(const T* item, std::u16string_view name) {
    if (!item)
        throw std::runtime_error("missing: " + text::toUtf8(name));
    return *item;
}
} // namespace

const engine::catalog::Table& table(const engine::catalog::Catalog& catalog,
                                    std::u16string_view name) {
    return found(catalog.findTable(name), name);
}

const engine::catalog::Column& column(const engine::catalog::Table& table,
                                      std::u16string_view name) {
    return found(table.findColumn(name), name);
}

const engine::catalog::Index& index(const engine::catalog::Table& table, std::u16string_view name) {
    return found(table.findIndex(name), name);
}

} // namespace mdbtest
