#pragma once

// Creates the empty database file of a description (the runner's "/c" and Create MDB). An
// existing file is never replaced: creation over it fails.

#include "foundation/database/DatabaseDescription.h"

#include <string>

namespace engine {
class Components;
}

namespace SQLExecutor {

class MdbCreator {
public:
    // The description is not owned and must outlive the creator.
    explicit MdbCreator(const database::DatabaseDescription& description);
    MdbCreator(const database::DatabaseDescription& description, engine::Components& components);
    virtual ~MdbCreator() = default;

    // False when the engine could not create the file; message() then says why.
    bool create();
    bool hasError() const { return error_; }
    // "\r\nError: " and the engine's description of the failure.
    const std::u16string& message() const { return message_; }

private:
    const database::DatabaseDescription& description_;
    engine::Components& components_;
    bool error_ = false;
    std::u16string message_;
};

} // namespace SQLExecutor
