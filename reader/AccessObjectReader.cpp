#include "reader/AccessObjectReader.h"

#include "foundation/access/AccessApplication.h"
#include "foundation/access/TemporaryFileName.h"
#include "foundation/database/Exceptions.h"
#include "foundation/engine/api/Codes.h"
#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"
#include "reader/BinaryFile.h"
#include "reader/PropertyValues.h"

#include <filesystem>

namespace reader {

namespace {

using automation::AccessApplication;
using settings::comparer::Options;

using DocumentMaker = void (*)(const std::u16string& name, Database& schema, BinaryFile& file);

// The data macros belong to the schema's table of that name, under the table's own spelling;
// a table the schema does not hold (a skipped hidden one) gets nothing.
void makeTableDataMacro(const std::u16string& name, Database& schema, BinaryFile& file) {
    if (Table* table = schema.findTable(name))
        table->setTableDataMacro(std::make_unique<TableDataMacro>(table->name(), file.take()));
}

void makeForm(const std::u16string& name, Database& schema, BinaryFile& file) {
    schema.addForm(std::make_unique<Entity::Form>(name, file.take()));
}

void makeModule(const std::u16string& name, Database& schema, BinaryFile& file) {
    schema.addModule(std::make_unique<Entity::Module>(name, file.take()));
}

void makeMacro(const std::u16string& name, Database& schema, BinaryFile& file) {
    schema.addMacro(std::make_unique<Entity::Macro>(name, file.take()));
}

void makeReport(const std::u16string& name, Database& schema, BinaryFile& file) {
    schema.addReport(std::make_unique<Entity::Report>(name, file.take()));
}

struct ObjectKind {
    bool Options::*switchedOn;
    const char16_t* query;
    int objectType;
    DocumentMaker make;
    const char16_t* warning;
};

// In the order they are read.
const ObjectKind kKinds[] = {
    {&Options::compareTableDataMacros,
     u"SELECT [Name] FROM MSysObjects WHERE Not IsNull(LvExtra) and Type=1",
     engine::access::objectTableDataMacro, makeTableDataMacro, u"Table Data Macro reading error"},
    {&Options::compareForms, u"SELECT Name FROM MSysObjects WHERE Type=-32768",
     engine::access::objectForm, makeForm, u"Form reading error"},
    {&Options::compareModules, u"SELECT Name FROM MSysObjects WHERE Type=-32761",
     engine::access::objectModule, makeModule, u"Module reading error"},
    {&Options::compareMacros, u"SELECT Name FROM MSysObjects WHERE Type=-32766",
     engine::access::objectMacro, makeMacro, u"Macros reading error"},
    {&Options::compareReports, u"SELECT Name FROM MSysObjects WHERE Type=-32764",
     engine::access::objectReport, makeReport, u"Report reading error"},
};

void removeFile(const std::u16string& path) {
    std::error_code ignored;
    std::filesystem::remove(text::toUtf8(path), ignored);
}

// Throws engine::EngineError, and text::IOException when an export file cannot be read (that
// object's file stays on disk).
void exportObjects(AccessApplication& access, const ObjectKind& kind, Database& schema) {
    std::shared_ptr<engine::dao::Database> database = access.application()->currentDb();
    std::shared_ptr<engine::dao::Recordset> names;
    // A query the database cannot answer (an older format without data macros) means no
    // objects of the kind.
    if (AccessApplication::call([&] { names = database->openRecordset(kind.query); }) || !names)
        return;

    auto closeAll = [&] {
        AccessApplication::call([&] { names->close(); });
        AccessApplication::call([&] { database->close(); });
    };
    BinaryFile file;
    while (!names->eof()) {
        std::u16string name = textOf(names->fields()->item(u"Name")->value());
        std::u16string path = automation::temporaryFileName(automation::kExportFilePrefix);
        access.exportText(kind.objectType, name, path);
        try {
            file.read(path);
        } catch (const text::IOException&) {
            closeAll();
            throw;
        }
        if (file.size() > 0)
            kind.make(name, schema, file);
        removeFile(path);
        // A row the recordset cannot leave would be read again and again.
        if (std::optional<engine::EngineError> error =
                AccessApplication::call([&] { names->moveNext(); })) {
            closeAll();
            throw *error;
        }
    }
    names->close();
    database->close();
}

} // namespace

int accessObjectKindCount(const Options& options) {
    int count = 0;
    for (const ObjectKind& kind : kKinds)
        count += options.*kind.switchedOn ? 1 : 0;
    return count;
}

void readAccessObjects(engine::Components& components,
                       const database::DatabaseDescription& description, const Options& options,
                       Database& schema, settings::IProgress& progress, Warnings& warnings) {
    AccessApplication access(components);
    try {
        access.start(description);
    } catch (const database::Exception& exception) {
        warnings.record(u"Can't run MS Access");
        warnings.record(exception.message());
        return;
    }
    for (const ObjectKind& kind : kKinds) {
        if (!(options.*kind.switchedOn))
            continue;
        try {
            exportObjects(access, kind, schema);
            progress.step();
        } catch (const engine::EngineError& error) {
            warnings.record(kind.warning, error);
        } catch (const text::IOException& exception) {
            warnings.record(exception.message());
        }
    }
    access.close();
}

} // namespace reader
