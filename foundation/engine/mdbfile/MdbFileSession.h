#pragma once

// A session on an Access file: the schema read when the file was opened, and the read-only
// queries over MSysObjects that list the objects of the database. Every change fails with the
// engine's read-only error.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <memory>

namespace engine::mdbfile {

class MdbFileSession : public Session {
public:
    explicit MdbFileSession(std::shared_ptr<const FileSnapshot> snapshot);

    std::shared_ptr<const catalog::Catalog> catalog() override;
    // SELECT over MSysObjects; INSERT, UPDATE, DELETE, SELECT ... INTO and DDL fail with
    // errors::readOnly().
    std::shared_ptr<ado::Recordset> execute(const std::u16string& sql,
                                            const std::vector<Variant>& parameters,
                                            std::int64_t* recordsAffected) override;
    void close() override;

private:
    void requireOpen() const;

    std::shared_ptr<const FileSnapshot> snapshot_;
    bool open_ = true;
};

} // namespace engine::mdbfile
