#include "foundation/access/AccessApplication.h"

#include "foundation/access/TemporaryFileName.h"
#include "foundation/database/Exceptions.h"
#include "foundation/platform/PrivateFiles.h"
#include "foundation/text/OutputFile.h"
#include "foundation/text/WideString.h"

#include <filesystem>

namespace automation {

namespace {

void removeFile(const std::u16string& path) {
    std::error_code ignored;
    std::filesystem::remove(text::toUtf8(path), ignored);
}

} // namespace

AccessApplication::AccessApplication(engine::Components& components) : components_(components) {}

AccessApplication::~AccessApplication() {
    close();
}

std::u16string AccessApplication::commandLine(const database::DatabaseDescription& description) {
    // No separator follows a value: a user name runs straight into "/pwd ".
    std::u16string line = u"MSACCESS.EXE \"" + description.path + u"\" /nostartup ";
    if (!description.userName.empty())
        line += u"/user " + description.userName;
    if (!description.userPassword.empty())
        line += u"/pwd " + description.userPassword;
    if (!description.systemDatabase.empty())
        line += u"/wrkgrp " + description.systemDatabase;
    return line;
}

void AccessApplication::start(const database::DatabaseDescription& description) {
    close();
    engine::OpenParameters parameters{description.path, description.databasePassword,
                                      description.systemDatabase, description.userName,
                                      description.userPassword};
    std::shared_ptr<engine::access::Application> application;
    try {
        application = components_.startAccess(parameters);
    } catch (const engine::EngineError&) {
        // The application exists but could not open the database.
        throw database::Exception(u"Can't bind to the moniker");
    }
    if (!application)
        throw database::Exception(u"Can't find path to MSAccess");
    application_ = std::move(application);
    commandLine_ = commandLine(description);
}

engine::access::Application& AccessApplication::running() const {
    if (!application_)
        throw engine::EngineError(engine::status::objectClosed,
                                  u"Microsoft Access is not running.");
    return *application_;
}

std::optional<engine::EngineError> AccessApplication::call(const std::function<void()>& member) {
    try {
        member();
        return std::nullopt;
    } catch (const engine::EngineError& error) {
        return error;
    }
}

void AccessApplication::exportText(int objectType, const std::u16string& name,
                                   const std::u16string& file) {
    call([&] { running().saveAsText(objectType, name, file); });
}

void AccessApplication::importText(int objectType, const std::u16string& name,
                                   const std::vector<std::uint8_t>& content) {
    engine::access::Application& application = running();
    std::u16string path = temporaryFileName(kImportFilePrefix);
    text::OutputFile file(path, {text::FileMessages::Brief, platform::openPrivateFile});
    file.open();
    file.write(content.data(), content.size());
    file.close();
    application.loadFromText(objectType, name, path);
    removeFile(path);
}

void AccessApplication::deleteObject(int objectType, const std::u16string& name) {
    std::shared_ptr<engine::access::DoCmd> doCmd = running().doCmd();
    if (!doCmd)
        throw engine::EngineError(engine::status::unspecified);
    doCmd->deleteObject(objectType, name);
}

void AccessApplication::close() noexcept {
    if (application_) {
        call([&] { application_->closeCurrentDatabase(); });
        call([&] { application_->quit(quitOption_); });
        application_.reset();
    }
    commandLine_.clear();
}

} // namespace automation
