#pragma once

// The Access application bound to one database: started on it, driven through its automation
// object, and shut down again. The comparer exports forms, reports, macros, modules and table
// data macros through it; the runner imports and deletes them.
//
// On this platform the application works in-process on the database's document store; only an
// embedded database has one, so start() on any other database fails as on a machine without
// Access.

#include "foundation/database/DatabaseDescription.h"
#include "foundation/engine/api/Access.h"
#include "foundation/engine/api/Codes.h"
#include "foundation/engine/api/Components.h"
#include "foundation/engine/api/EngineError.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Not "access": that name belongs to the POSIX function.
namespace automation {

// Prefixes of the temporary files: objects exported by the comparer, objects the runner imports.
inline constexpr char16_t kExportFilePrefix[] = u"kvs-";
inline constexpr char16_t kImportFilePrefix[] = u"kvc-";

class AccessApplication {
public:
    explicit AccessApplication(engine::Components& components);
    // Closes an application that is still running.
    ~AccessApplication();
    AccessApplication(const AccessApplication&) = delete;
    AccessApplication& operator=(const AccessApplication&) = delete;

    // Starts Access on the description's database and binds to it. Throws database::Exception
    // "Can't find path to MSAccess" when no Access application can serve the database, and
    // "Can't bind to the moniker" when it cannot open it; nothing is left running then.
    void start(const database::DatabaseDescription& description);
    bool isStarted() const { return application_ != nullptr; }

    // The automation object; null unless started.
    engine::access::Application* application() const { return application_.get(); }

    // Runs one member call and hands back its failure, if any, as a status for the caller to
    // raise or ignore.
    static std::optional<engine::EngineError> call(const std::function<void()>& member);

    // SaveAsText; its status is not examined: a failed export shows as a missing file.
    void exportText(int objectType, const std::u16string& name, const std::u16string& file);
    // Writes the bytes to a new "kvc-" temporary file and loads the object from it; the file is
    // deleted after a successful load. Throws EngineError, or text::IOException when the file
    // cannot be written.
    void importText(int objectType, const std::u16string& name,
                    const std::vector<std::uint8_t>& content);
    // DoCmd.DeleteObject. Throws EngineError.
    void deleteObject(int objectType, const std::u16string& name);

    // The argument of Quit when the application is closed: engine::access::quitExit (leave
    // without saving, the default) or quitSaveAll (keep the changes).
    void setQuitOption(int option) { quitOption_ = option; }

    // Closes the database and quits with the quit option; never throws.
    void close() noexcept;

    // The command line that starts Access on the description's database.
    static std::u16string commandLine(const database::DatabaseDescription& description);
    // The command line of the running application; empty when none runs.
    const std::u16string& currentCommandLine() const { return commandLine_; }

private:
    // The object requires a started application.
    engine::access::Application& running() const;

    engine::Components& components_;
    std::shared_ptr<engine::access::Application> application_;
    std::u16string commandLine_;
    int quitOption_ = engine::access::quitExit;
};

} // namespace automation
