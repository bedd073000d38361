// Field properties, attachment columns, relations and calculated columns, through DAO.
//
// No DAO database stays open from one command to the next: each operation closes the
// connection when it ends, also when it fails, and all but the attachment column close it
// before they start as well, so that DAO sees what the previous commands did. Each runs in
// one DAO transaction: it changes the database whole or not at all.

#include "runner/executor/ScriptExecutor.h"

#include "foundation/engine/api/Dao.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/ForeignKeyCommand.h"

#include <optional>

namespace SQLExecutor {

namespace {

// DAO property types of the values set here.
constexpr int propertyInteger = 3;
constexpr int propertyText = 10;

constexpr int attachmentType = 101;

// Closes the connection when the operation ends, however it ends.
class ClosingConnection {
public:
    explicit ClosingConnection(database::DatabaseConnection& connection)
        : connection_(connection) {}
    ~ClosingConnection() { connection_.close(); }
    ClosingConnection(const ClosingConnection&) = delete;
    ClosingConnection& operator=(const ClosingConnection&) = delete;

private:
    database::DatabaseConnection& connection_;
};

// The DAO work of one command in one transaction: a command that fails at any of its steps
// leaves the database as it found it (a rebuilt column is never left deleted, a property
// never left removed). The connection is closed at the end either way.
class DaoWork {
public:
    explicit DaoWork(database::DatabaseConnection& connection)
        : closing_(connection), database_(connection.daoDatabase()),
          engine_(connection.daoEngine()) {
        engine_->beginTrans();
    }
    ~DaoWork() {
        if (committed_)
            return;
        try {
            engine_->rollback();
        } catch (const engine::EngineError&) {
            // Closing the connection ends the transaction without its changes all the same.
        }
    }
    DaoWork(const DaoWork&) = delete;
    DaoWork& operator=(const DaoWork&) = delete;

    engine::dao::Database& database() const { return *database_; }
    void commit() {
        committed_ = true;
        engine_->commitTrans();
    }

private:
    ClosingConnection closing_;
    std::shared_ptr<engine::dao::Database> database_;
    std::shared_ptr<engine::dao::DBEngine> engine_;
    bool committed_ = false;
};

std::shared_ptr<engine::dao::Field> fieldOf(engine::dao::Database& database,
                                            const std::u16string& table,
                                            const std::u16string& column) {
    return database.tableDefs()->item(table)->fields()->item(column);
}

bool trySetProperty(engine::dao::Field& field, const std::u16string& property,
                    const engine::Variant& value) {
    try {
        field.properties()->item(property)->setValue(value);
        return true;
    } catch (const engine::EngineError&) {
        return false;
    }
}

} // namespace

void ScriptExecutor::execute(const SQLCommandAddConstraintNoIndex& command) {
    useEngine();
    connection_.close();
    DaoWork work(connection_);
    std::shared_ptr<engine::dao::Relation> relation =
        work.database().createRelation(command.constraintName());
    relation->setTable(command.referencedTable());
    relation->setForeignTable(command.table());
    std::int32_t attributes =
        command.unique() ? engine::dao::relationUnique : engine::dao::relationDontEnforce;
    if (command.updateCascades())
        attributes += engine::dao::relationUpdateCascade;
    if (command.deleteCascades())
        attributes += engine::dao::relationDeleteCascade;
    relation->setAttributes(attributes);
    for (const ColumnPair& pair : command.columns()) {
        std::shared_ptr<engine::dao::Field> field =
            relation->createField(engine::Variant(pair.referencedColumn), {}, {});
        field->setForeignName(pair.column);
        relation->fields()->append(field);
    }
    work.database().relations()->append(relation);
    work.commit();
}

void ScriptExecutor::execute(const SQLCommandAlterDefaultValue& command) {
    useEngine();
    connection_.close();
    DaoWork work(connection_);
    fieldOf(work.database(), command.table(), command.column())
        ->setDefaultValue(engine::Variant(command.defaultValue()));
    work.commit();
}

void ScriptExecutor::execute(const SQLCommandAddAttachment& command) {
    useEngine();
    DaoWork work(connection_);
    std::shared_ptr<engine::dao::TableDef> table =
        work.database().tableDefs()->item(command.table());
    std::shared_ptr<engine::dao::Field> field = table->createField(
        engine::Variant(command.column()), engine::Variant(std::int32_t(attachmentType)),
        engine::Variant(std::int32_t(0)));
    table->fields()->append(field);
    work.commit();
}

void ScriptExecutor::execute(const SQLCommandAlterDecimalPlaces& command) {
    useEngine();
    setFieldProperty(command.table(), command.column(), u"DecimalPlaces", propertyInteger,
                     engine::Variant(std::int32_t(command.places())));
}

void ScriptExecutor::execute(const SQLCommandAlterFormat& command) {
    useEngine();
    if (command.format().empty())
        deleteFieldProperty(command.table(), command.column(), u"Format");
    else
        setFieldProperty(command.table(), command.column(), u"Format", propertyText,
                         engine::Variant(command.format()));
}

void ScriptExecutor::setFieldProperty(const std::u16string& table, const std::u16string& column,
                                      const std::u16string& property, int type,
                                      const engine::Variant& value) {
    connection_.close();
    DaoWork work(connection_);
    std::shared_ptr<engine::dao::Field> field = fieldOf(work.database(), table, column);
    if (!trySetProperty(*field, property, value)) {
        // Absent, or it takes no such value: made anew.
        try {
            field->properties()->remove(property);
        } catch (const engine::EngineError&) {
        }
        field->properties()->append(field->createProperty(property, type, value));
    }
    work.commit();
}

void ScriptExecutor::deleteFieldProperty(const std::u16string& table, const std::u16string& column,
                                         const std::u16string& property) {
    connection_.close();
    DaoWork work(connection_);
    std::shared_ptr<engine::dao::Field> field = fieldOf(work.database(), table, column);
    try {
        field->properties()->remove(property);
    } catch (const engine::EngineError&) {
        // A column without the property is what was asked for.
    }
    work.commit();
}

// A calculated column's expression cannot change in place: the column is made anew with the
// old one's properties and the new expression. All of it is one transaction, so that a
// failure after the old column's deletion brings the old column back.
void ScriptExecutor::execute(const SQLCommandAlterCalculatedFieldExpression& command) {
    useEngine();
    connection_.close();
    DaoWork work(connection_);
    std::shared_ptr<engine::dao::TableDef> table =
        work.database().tableDefs()->item(command.table());
    std::shared_ptr<engine::dao::Field> old = table->fields()->item(command.column());
    std::shared_ptr<engine::dao::Field> rebuilt = table->createField({}, {}, {});

    std::shared_ptr<engine::Properties> oldProperties = old->properties();
    std::shared_ptr<engine::Properties> newProperties = rebuilt->properties();
    for (int i = 0; i < oldProperties->count(); ++i) {
        try {
            std::shared_ptr<engine::Property> property = oldProperties->item(i);
            if (property->name() == u"Expression")
                continue;
            newProperties->item(i)->setValue(property->value());
        } catch (const engine::EngineError&) {
            // A property the new field has not, or cannot take: left at its default.
        }
    }

    table->fields()->remove(command.column());
    std::optional<engine::EngineError> expressionError;
    if (!command.expression().empty()) {
        try {
            rebuilt->properties()
                ->item(u"Expression")
                ->setValue(engine::Variant(command.expression()));
        } catch (const engine::EngineError& error) {
            expressionError = error;
        }
    }
    table->fields()->append(rebuilt);
    if (expressionError)
        throw *expressionError;
    work.commit();
}

} // namespace SQLExecutor
