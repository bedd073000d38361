#pragma once

// ADO: connections, commands with parameters, recordsets and schema rowsets.

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/api/Collection.h"
#include "foundation/engine/api/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace engine::ado {

class Field {
public:
    virtual ~Field() = default;
    virtual std::u16string name() const = 0;
    virtual Variant value() const = 0;
};

class Fields : public Collection<Field> {};

class Recordset {
public:
    virtual ~Recordset() = default;
    virtual bool eof() const = 0;
    // The fields of the current row.
    virtual std::shared_ptr<Fields> fields() const = 0;
    virtual void moveNext() = 0;
    virtual int state() const = 0; // stateOpen or stateClosed
    virtual void close() = 0;
};

class Parameter {
public:
    virtual ~Parameter() = default;
    virtual std::u16string name() const = 0;
    virtual void setName(const std::u16string& name) = 0;
    virtual int type() const = 0; // ADOX type code (202, 3, 5, ...)
    virtual void setType(int type) = 0;
    virtual int direction() const = 0;
    virtual void setDirection(int direction) = 0;
    virtual int size() const = 0;
    virtual void setSize(int size) = 0;
    virtual int numericScale() const = 0;
    virtual void setNumericScale(int scale) = 0;
    virtual int precision() const = 0;
    virtual void setPrecision(int precision) = 0;
    virtual Variant value() const = 0;
    virtual void setValue(const Variant& value) = 0;
};

class Parameters : public Collection<Parameter> {
public:
    virtual void append(std::shared_ptr<Parameter> parameter) = 0;
};

class Connection;

class Command {
public:
    virtual ~Command() = default;
    virtual std::shared_ptr<Connection> activeConnection() const = 0;
    virtual void setActiveConnection(std::shared_ptr<Connection> connection) = 0;
    virtual std::u16string commandText() const = 0;
    virtual void setCommandText(const std::u16string& text) = 0;
    virtual int commandType() const = 0;
    virtual void setCommandType(int type) = 0;
    virtual std::shared_ptr<Parameters> parameters() const = 0;
    virtual std::shared_ptr<Parameter> createParameter(const std::u16string& name, int type,
                                                       int direction, int size,
                                                       const Variant& value) = 0;
    // Runs the command text on the active connection with the appended parameters, bound in
    // order to the "?" marks. Returns the rows of a query, else nothing.
    virtual std::shared_ptr<Recordset> execute(std::int64_t* recordsAffected, int options) = 0;
};

class Connection {
public:
    virtual ~Connection() = default;
    // A provider connection string: Provider, Data Source, Jet OLEDB:Database Password,
    // Jet OLEDB:System database, User ID, Password. options is -1 (unspecified).
    virtual void open(const std::u16string& connectionString, const std::u16string& userId,
                      const std::u16string& password, int options) = 0;
    virtual int state() const = 0; // stateOpen or stateClosed
    virtual void close() = 0;
    virtual std::u16string connectionString() const = 0;
    // Schema rowsets schemaColumns, schemaCheckConstraints, schemaTableConstraints; each
    // non-empty restriction filters the rowset column of its position.
    virtual std::shared_ptr<Recordset> openSchema(int schema,
                                                  const std::vector<Variant>& restrictions) = 0;
    // One SQL statement with positional parameters; what Command::execute runs.
    virtual std::shared_ptr<Recordset> execute(const std::u16string& text,
                                               const std::vector<Variant>& parameters,
                                               std::int64_t* recordsAffected) = 0;
};

} // namespace engine::ado
