#pragma once

// The Access application's automation object: documents exported and imported as text.

#include "foundation/engine/api/Dao.h"

#include <memory>
#include <string>

namespace engine::access {

class DoCmd {
public:
    virtual ~DoCmd() = default;
    virtual void deleteObject(int objectType, const std::u16string& name) = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual std::shared_ptr<dao::Database> currentDb() = 0;
    // Object types access::objectForm, ...; the file is a path of the file system.
    virtual void saveAsText(int objectType, const std::u16string& name,
                            const std::u16string& file) = 0;
    virtual void loadFromText(int objectType, const std::u16string& name,
                              const std::u16string& file) = 0;
    virtual std::shared_ptr<DoCmd> doCmd() = 0;
    virtual void closeCurrentDatabase() = 0;
    virtual void quit(int option) = 0; // quitSaveAll keeps changes, quitExit drops them
};

} // namespace engine::access
