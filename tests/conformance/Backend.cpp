#include "Backend.h"

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <unistd.h>

namespace conformance {

using namespace engine;

std::u16string connectionStringFor(const std::filesystem::path& path) {
    return u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + text::fromUtf8(path.string()) + u";";
}

std::shared_ptr<ado::Connection> Backend::open(const std::filesystem::path& path) {
    auto connection = components().createConnection();
    connection->open(connectionStringFor(path), u"", u"", -1);
    return connection;
}

namespace {

class EmbeddedBackend : public Backend {
public:
    std::string name() const override { return "embedded"; }
    std::string unavailableReason() override { return ""; }
    std::shared_ptr<ado::Connection> create(const std::filesystem::path& path) override {
        return components().createCatalog()->create(connectionStringFor(path));
    }
};

class AccessFileBackend : public Backend {
public:
    AccessFileBackend(std::string name, std::filesystem::path emptyFile)
        : name_(std::move(name)), emptyFile_(std::move(emptyFile)) {}

    std::string name() const override { return name_; }

    // The Access files become a backend of their own once they can be written; until then
    // a probe statement on a scratch copy says so and the records are counted as skipped.
    std::string unavailableReason() override {
        if (checked_)
            return reason_;
        checked_ = true;
        if (!std::filesystem::exists(emptyFile_))
            return reason_ = "missing " + emptyFile_.string();
        std::filesystem::path probe =
            std::filesystem::temp_directory_path() /
            ("kel-conformance-probe-" + std::to_string(getpid()) + emptyFile_.extension().string());
        try {
            auto connection = create(probe);
            connection->execute(u"CREATE TABLE [ConformanceProbe] ([A] LONG)", {}, nullptr);
            connection->close();
        } catch (const EngineError& e) {
            reason_ = "Access files are not writable yet (" + text::toUtf8(e.description()) + ")";
        }
        std::filesystem::remove(probe);
        return reason_;
    }

    std::shared_ptr<ado::Connection> create(const std::filesystem::path& path) override {
        std::filesystem::copy_file(emptyFile_, path,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        return open(path);
    }

private:
    std::string name_;
    std::filesystem::path emptyFile_;
    bool checked_ = false;
    std::string reason_;
};

} // namespace

std::vector<std::unique_ptr<Backend>> allBackends(const std::filesystem::path& accessDataDir) {
    std::vector<std::unique_ptr<Backend>> backends;
    backends.push_back(std::make_unique<EmbeddedBackend>());
    backends.push_back(
        std::make_unique<AccessFileBackend>("jet4", accessDataDir / "emptyJet4.mdb"));
    backends.push_back(
        std::make_unique<AccessFileBackend>("ace", accessDataDir / "empty2010.accdb"));
    return backends;
}

} // namespace conformance
