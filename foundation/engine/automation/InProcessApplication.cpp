#include "foundation/engine/automation/InProcessApplication.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/automation/DocumentFiles.h"
#include "foundation/engine/embedded/SystemObjects.h"

namespace engine::inprocess {

namespace {

using embedded::DocumentStore;
using embedded::documentErrors::invalidObjectType;
using embedded::documentErrors::objectNotFound;

// What the script dialect imports to remove a table's data macros.
bool isDataMacroRemoval(int objectType, const DocumentStore::Bytes& bytes) {
    return objectType == access::objectTableDataMacro && bytes.size() == 1 && bytes[0] == 0;
}

EngineError noDatabase() {
    return {status::unspecified, u"There is no database open in the application."};
}

class Application : public access::Application, public std::enable_shared_from_this<Application> {
public:
    Application(std::shared_ptr<embedded::EmbeddedSession> session, DatabaseOpener currentDb)
        : session_(std::move(session)), currentDb_(std::move(currentDb)) {}
    ~Application() override {
        try {
            closeCurrentDatabase();
        } catch (const EngineError&) {
        }
    }

    std::shared_ptr<dao::Database> currentDb() override {
        open();
        return currentDb_();
    }

    void saveAsText(int objectType, const std::u16string& name,
                    const std::u16string& file) override {
        std::optional<DocumentStore::Bytes> bytes = open().document(objectType, name);
        if (!bytes)
            throw objectNotFound(name);
        writeDocumentFile(file, *bytes);
    }

    void loadFromText(int objectType, const std::u16string& name,
                      const std::u16string& file) override {
        embedded::EmbeddedSession& session = open();
        DocumentStore::Bytes bytes = readDocumentFile(file);
        if (isDataMacroRemoval(objectType, bytes)) {
            session.removeDocument(objectType, name);
            return;
        }
        if (bytes.empty())
            throw EngineError(status::unspecified,
                              u"The file '" + file + u"' holds no object to load.");
        session.saveDocument(objectType, name, bytes);
    }

    std::shared_ptr<access::DoCmd> doCmd() override;

    void deleteObject(int objectType, const std::u16string& name) {
        // Data macros go by loading a single zero byte, not through DoCmd.
        if (!embedded::documentObjectType(objectType))
            throw invalidObjectType();
        if (!open().removeDocument(objectType, name))
            throw objectNotFound(name);
    }

    void closeCurrentDatabase() override {
        if (std::shared_ptr<embedded::EmbeddedSession> session = std::move(session_))
            session->close();
    }

    // Every change was saved when it was made: nothing is left to keep or drop.
    void quit(int) override { closeCurrentDatabase(); }

private:
    embedded::EmbeddedSession& open() const {
        if (!session_)
            throw noDatabase();
        return *session_;
    }

    std::shared_ptr<embedded::EmbeddedSession> session_;
    DatabaseOpener currentDb_;
};

class DoCmd : public access::DoCmd {
public:
    explicit DoCmd(std::shared_ptr<Application> application)
        : application_(std::move(application)) {}
    void deleteObject(int objectType, const std::u16string& name) override {
        application_->deleteObject(objectType, name);
    }

private:
    std::shared_ptr<Application> application_;
};

std::shared_ptr<access::DoCmd> Application::doCmd() {
    open();
    return std::make_shared<DoCmd>(shared_from_this());
}

} // namespace

std::shared_ptr<access::Application>
makeApplication(std::shared_ptr<embedded::EmbeddedSession> session, DatabaseOpener currentDb) {
    return std::make_shared<Application>(std::move(session), std::move(currentDb));
}

} // namespace engine::inprocess
