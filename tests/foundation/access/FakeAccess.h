#pragma once

// An Access application held in memory that records its calls: documents to list and export,
// and failures to inject. The listing queries are told apart by the object type they select.

#include "foundation/engine/api/Access.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace accesstest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes readFile(const std::u16string& path) {
    std::ifstream in(text::toUtf8(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct FakeDocument {
    int type;
    std::u16string name;
    std::optional<Bytes> text; // none: SaveAsText writes no file
};

class FakeApplication : public engine::access::Application,
                        public std::enable_shared_from_this<FakeApplication> {
public:
    std::vector<FakeDocument> documents;
    std::set<int> unlistable;       // object types whose listing query fails
    std::set<std::string> failing;  // "CurrentDb", "LoadFromText", "DeleteObject", "MoveNext", ...
    std::vector<std::string> calls; // "SaveAsText(2,Orders)", ...
    std::vector<std::u16string> files;      // the files named to SaveAsText and LoadFromText
    std::map<std::u16string, Bytes> loaded; // name: the bytes LoadFromText found

    std::shared_ptr<engine::dao::Database> currentDb() override;
    void saveAsText(int type, const std::u16string& name, const std::u16string& file) override {
        record("SaveAsText(" + std::to_string(type) + "," + text::toUtf8(name) + ")");
        files.push_back(file);
        for (const FakeDocument& document : documents) {
            if (document.type == type && document.name == name && document.text) {
                std::ofstream out(text::toUtf8(file), std::ios::binary);
                out.write(reinterpret_cast<const char*>(document.text->data()),
                          std::streamsize(document.text->size()));
            }
        }
    }
    void loadFromText(int type, const std::u16string& name, const std::u16string& file) override {
        files.push_back(file);
        record("LoadFromText(" + std::to_string(type) + "," + text::toUtf8(name) + ")");
        loaded[name] = readFile(file);
    }
    std::shared_ptr<engine::access::DoCmd> doCmd() override;
    void closeCurrentDatabase() override { record("CloseCurrentDatabase"); }
    void quit(int option) override { record("Quit(" + std::to_string(option) + ")"); }

    // Notes the call, then fails it when asked to.
    void record(const std::string& call) {
        calls.push_back(call);
        std::string member = call.substr(0, call.find('('));
        if (failing.count(member))
            throw engine::EngineError(engine::status::unspecified, u"Injected failure.");
    }
};

namespace detail {

// Only what a listing needs: the field "Name" of the current row.
class NameField : public engine::dao::Field {
public:
    explicit NameField(std::u16string value) : value_(std::move(value)) {}
    std::u16string name() const override { return u"Name"; }
    void setName(const std::u16string&) override {}
    int type() const override { return 10; }
    int size() const override { return 0; }
    std::int32_t attributes() const override { return 0; }
    bool required() const override { return false; }
    bool allowZeroLength() const override { return false; }
    std::u16string foreignName() const override { return {}; }
    void setForeignName(const std::u16string&) override {}
    engine::Variant defaultValue() const override { return {}; }
    void setDefaultValue(const engine::Variant&) override {}
    engine::Variant value() const override { return engine::Variant(value_); }
    std::shared_ptr<engine::Properties> properties() const override { return nullptr; }
    std::shared_ptr<engine::Property> createProperty(const std::u16string&, int,
                                                     const engine::Variant&) override {
        return nullptr;
    }

private:
    std::u16string value_;
};

class NameFields : public engine::dao::Fields {
public:
    explicit NameFields(std::u16string value) : field_(std::make_shared<NameField>(value)) {}
    int count() const override { return 1; }
    std::shared_ptr<engine::dao::Field> item(int index) const override {
        if (index != 0)
            throw engine::errors::itemNotFound();
        return field_;
    }
    std::shared_ptr<engine::dao::Field> item(std::u16string_view name) const override {
        if (!text::equalsNoCase(name, u"Name"))
            throw engine::errors::itemNotFound();
        return field_;
    }
    void append(std::shared_ptr<engine::dao::Field>) override {}
    void remove(std::u16string_view) override {}

private:
    std::shared_ptr<NameField> field_;
};

class NameRecordset : public engine::dao::Recordset {
public:
    NameRecordset(std::vector<std::u16string> names, std::shared_ptr<FakeApplication> owner)
        : names_(std::move(names)), owner_(std::move(owner)) {}
    bool eof() const override { return position_ >= names_.size(); }
    std::shared_ptr<engine::dao::Fields> fields() const override {
        return std::make_shared<NameFields>(names_.at(position_));
    }
    void moveNext() override {
        owner_->record("MoveNext");
        ++position_;
    }
    void close() override { owner_->record("Recordset.Close"); }

private:
    std::vector<std::u16string> names_;
    std::size_t position_ = 0;
    std::shared_ptr<FakeApplication> owner_;
};

inline int typeOfListing(const std::u16string& query) {
    if (query.find(u"LvExtra") != std::u16string::npos)
        return 12;
    const std::pair<const char16_t*, int> types[] = {
        {u"Type=-32768", 2}, {u"Type=-32764", 3}, {u"Type=-32766", 4}, {u"Type=-32761", 5}};
    for (const auto& [condition, type] : types)
        if (query.ends_with(condition))
            return type;
    return 0;
}

class ListingDatabase : public engine::dao::Database {
public:
    explicit ListingDatabase(std::shared_ptr<FakeApplication> owner) : owner_(std::move(owner)) {}
    std::u16string name() const override { return {}; }
    std::shared_ptr<engine::dao::TableDefs> tableDefs() const override { return nullptr; }
    std::shared_ptr<engine::dao::Relations> relations() const override { return nullptr; }
    std::shared_ptr<engine::dao::Relation> createRelation(const std::u16string&) override {
        return nullptr;
    }
    std::shared_ptr<engine::dao::Recordset> openRecordset(const std::u16string& query) override {
        int type = typeOfListing(query);
        owner_->record("OpenRecordset(" + std::to_string(type) + ")");
        if (type == 0 || owner_->unlistable.count(type))
            throw engine::EngineError(engine::status::unspecified, u"Cannot open the query.");
        std::vector<std::u16string> names;
        for (const FakeDocument& document : owner_->documents)
            if (document.type == type)
                names.push_back(document.name);
        return std::make_shared<NameRecordset>(std::move(names), owner_);
    }
    void close() override { owner_->record("Database.Close"); }

private:
    std::shared_ptr<FakeApplication> owner_;
};

class RecordingDoCmd : public engine::access::DoCmd {
public:
    explicit RecordingDoCmd(std::shared_ptr<FakeApplication> owner) : owner_(std::move(owner)) {}
    void deleteObject(int type, const std::u16string& name) override {
        owner_->record("DeleteObject(" + std::to_string(type) + "," + text::toUtf8(name) + ")");
    }

private:
    std::shared_ptr<FakeApplication> owner_;
};

} // namespace detail

inline std::shared_ptr<engine::dao::Database> FakeApplication::currentDb() {
    record("CurrentDb");
    return std::make_shared<detail::ListingDatabase>(shared_from_this());
}

inline std::shared_ptr<engine::access::DoCmd> FakeApplication::doCmd() {
    record("DoCmd");
    return std::make_shared<detail::RecordingDoCmd>(shared_from_this());
}

} // namespace accesstest
