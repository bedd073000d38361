#pragma once

// Runs one script against one database: takes the commands from the parser one at a time,
// carries each out through the engine's object model (ADO, ADOX, DAO) or the Access
// application, and writes what failed and how many commands succeeded into a report.
//
// Access needs the database to itself: the engine connection is closed before Access starts,
// and Access is shut down before the next engine operation. Access stays up across
// consecutive Access commands.

#include "foundation/access/AccessApplication.h"
#include "foundation/database/DatabaseConnection.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/settings/Progress.h"
#include "runner/sqlexecutor/IExecutor.h"
#include "runner/stream/ITextStreamReader.h"

#include <string>
#include <vector>

namespace engine {
class Components;
}

namespace SQLExecutor {

struct Parameter;

class ScriptExecutor : public IExecutor {
public:
    // The description and the reader are not owned and must outlive the executor. verbose
    // echoes every command into the report before it runs; stopOnError ends the run at the
    // first failed command.
    ScriptExecutor(const database::DatabaseDescription& description,
                   Libs::Stream::ITextStreamReader& reader, bool verbose, bool stopOnError);
    // The same over another set of engine components (tests inject failures with it).
    ScriptExecutor(const database::DatabaseDescription& description,
                   Libs::Stream::ITextStreamReader& reader, bool verbose, bool stopOnError,
                   engine::Components& components);
    ~ScriptExecutor() override;
    ScriptExecutor(const ScriptExecutor&) = delete;
    ScriptExecutor& operator=(const ScriptExecutor&) = delete;

    // Runs the whole script once and returns the report. A database that cannot be opened
    // ends the run whatever stopOnError says.
    std::u16string run(settings::IProgress& progress);
    // True when any command failed or the database could not be opened.
    bool hasErrors() const { return hasErrors_; }

    // Access: the object kinds of the application.
    void execute(const SQLCommandDropAccessObject& command) override;
    void execute(const SQLCommandAlterAccessObject& command) override;
    void execute(const SQLCommandAlterTableDataMacro& command) override;
    // DAO: field properties, attachment columns, relations and calculated columns.
    void execute(const SQLCommandAlterDefaultValue& command) override;
    void execute(const SQLCommandAlterDecimalPlaces& command) override;
    void execute(const SQLCommandAlterFormat& command) override;
    void execute(const SQLCommandAddAttachment& command) override;
    void execute(const SQLCommandAlterCalculatedFieldExpression& command) override;
    void execute(const SQLCommandAddConstraintNoIndex& command) override;
    // ADOX: column properties, saved queries and linked tables.
    void execute(const SQLCommandAlterZeroLength& command) override;
    void execute(const SQLCommandAlterValidationRule& command) override;
    void execute(const SQLCommandCreateProcedure& command) override;
    void execute(const SQLCommandCreateView& command) override;
    void execute(const SQLCommandLinkAccess& command) override;
    void execute(const SQLCommandLinkODBC& command) override;
    // ADO: SQL as written, and SQL with parameters bound in order.
    void execute(const SQLParametrizedCommand& command) override;
    void execute(const SQLCommand& command) override;

private:
    // Shuts Access down, if it runs, before an engine operation.
    void useEngine();
    // Starts Access on the database, if it does not run yet, before an Access operation.
    void useAccess();

    void executeOne(const SQLCommand& command);
    void commandFailed(const SQLCommand& command, const std::u16string& message);
    void echo(const SQLCommand& command);

    void setColumnProperty(const std::u16string& table, const std::u16string& column,
                           const std::u16string& property, const engine::Variant& value);
    void setFieldProperty(const std::u16string& table, const std::u16string& column,
                          const std::u16string& property, int type, const engine::Variant& value);
    void deleteFieldProperty(const std::u16string& table, const std::u16string& column,
                             const std::u16string& property);
    void appendQuery(bool procedure, const std::u16string& name, const std::u16string& text);
    void appendLink(const SQLCommandLinkODBC& command, const std::u16string& sourceProperty);
    void runSql(const std::u16string& sql, const std::vector<Parameter>& parameters);

    const database::DatabaseDescription& description_;
    Libs::Stream::ITextStreamReader& reader_;
    engine::Components& components_;
    bool verbose_;
    bool stopOnError_;
    bool hasErrors_ = false;
    bool stop_ = false;
    database::DatabaseConnection connection_;
    automation::AccessApplication access_;
    bool accessStarted_ = false;
    std::u16string report_;
    int successes_ = 0;
    int errors_ = 0;
};

} // namespace SQLExecutor
