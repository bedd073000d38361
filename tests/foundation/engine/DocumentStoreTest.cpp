#include "EngineFixture.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/api/Codes.h"
#include "foundation/engine/embedded/EmbeddedSession.h"

namespace enginetest {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The documents of an embedded database through its session.
class Documents : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [Orders] ([Id] LONG)");
        auto link = components().createTable();
        link->setParentCatalog(catalog);
        link->setName(u"Linked");
        link->properties()->item(u"Jet OLEDB:Create Link")->setValue(Variant(true));
        link->properties()->item(u"Jet OLEDB:Link Datasource")->setValue(Variant(u"/x.accdb"));
        link->properties()->item(u"Jet OLEDB:Remote Table Name")->setValue(Variant(u"Orders"));
        catalog->tables()->append(link);
        OpenParameters parameters;
        parameters.path = u16(path);
        store = std::dynamic_pointer_cast<embedded::EmbeddedSession>(openDatabase(parameters));
        ASSERT_TRUE(store);
    }

    std::shared_ptr<embedded::EmbeddedSession> store;
};

} // namespace

TEST_F(Documents, EachKindKeepsItsOwnNamesAndTheExactBytes) {
    const Bytes utf16{0xFF, 0xFE, 'V', 0, 0, 0, '\r', 0, '\n', 0, 0x80, 0xDC};
    store->saveDocument(access::objectForm, u"Main", utf16);
    store->saveDocument(access::objectReport, u"Main", Bytes{'r'});
    store->saveDocument(access::objectMacro, u"Main", Bytes{'m'});
    store->saveDocument(access::objectModule, u"Main", Bytes{0});
    EXPECT_EQ(store->document(access::objectForm, u"MAIN"), utf16);
    EXPECT_EQ(store->document(access::objectReport, u"main"), Bytes{'r'});
    EXPECT_EQ(store->document(access::objectMacro, u"Main"), Bytes{'m'});
    EXPECT_EQ(store->document(access::objectModule, u"Main"), Bytes{0});
    EXPECT_EQ(store->document(access::objectForm, u"Other"), std::nullopt);

    // A new version replaces the old one, under the new spelling.
    store->saveDocument(access::objectForm, u"MAIN", Bytes{'2'});
    EXPECT_EQ(store->document(access::objectForm, u"main"), Bytes{'2'});
    EXPECT_EQ(rows("SELECT Name FROM MSysObjects WHERE Type = -32768"),
              (std::vector<std::string>{"MAIN"}));

    EXPECT_TRUE(store->removeDocument(access::objectForm, u"Main"));
    EXPECT_FALSE(store->removeDocument(access::objectForm, u"Main"));
    EXPECT_EQ(store->document(access::objectReport, u"Main"), Bytes{'r'});

    // Another connection sees what was saved: each change is committed at once.
    store->close();
    OpenParameters parameters;
    parameters.path = u16(path);
    auto reopened = std::dynamic_pointer_cast<embedded::EmbeddedSession>(openDatabase(parameters));
    EXPECT_EQ(reopened->document(access::objectModule, u"main"), Bytes{0});
}

TEST_F(Documents, DataMacrosBelongToALocalTableAndGoWithIt) {
    EXPECT_EQ(store->document(access::objectTableDataMacro, u"Orders"), std::nullopt);
    store->saveDocument(access::objectTableDataMacro, u"orders", Bytes{'<', '/', '>'});
    EXPECT_EQ(store->document(access::objectTableDataMacro, u"ORDERS"), (Bytes{'<', '/', '>'}));
    EXPECT_TRUE(store->removeDocument(access::objectTableDataMacro, u"Orders"));
    EXPECT_FALSE(store->removeDocument(access::objectTableDataMacro, u"Orders"));
    EXPECT_EQ(store->document(access::objectTableDataMacro, u"Orders"), std::nullopt);

    store->saveDocument(access::objectTableDataMacro, u"Orders", Bytes{'x'});
    exec(u"DROP TABLE [Orders]");
    exec(u"CREATE TABLE [Orders] ([Id] LONG)");
    EXPECT_EQ(store->document(access::objectTableDataMacro, u"Orders"), std::nullopt);
}

TEST_F(Documents, RefusedChangesLeaveTheFileAsItWas) {
    store->saveDocument(access::objectForm, u"Kept", Bytes{'k'});
    std::string before = bytesOf(path);
    auto refusal = [&](int type, const std::u16string& name) {
        return failureOf([&] { store->saveDocument(type, name, Bytes{'x'}); });
    };
    EXPECT_EQ(refusal(access::objectTableDataMacro, u"Missing"),
              u"The database engine cannot find the input table or query 'Missing'. Make sure it "
              u"exists and that its name is spelled correctly.");
    EXPECT_EQ(refusal(access::objectTableDataMacro, u"Linked"),
              u"Cannot modify the design of table 'Linked'. It is in a linked database.");
    EXPECT_EQ(failureOf([&] { store->removeDocument(access::objectTableDataMacro, u"Missing"); }),
              refusal(access::objectTableDataMacro, u"Missing"));
    const std::u16string invalidType =
        u"The object type argument for the action or method is blank or invalid.";
    for (int type : {0, 1, 6, 12345}) {
        EXPECT_EQ(refusal(type, u"X"), invalidType);
        EXPECT_EQ(failureOf([&] { store->document(type, u"X"); }), invalidType);
        EXPECT_EQ(failureOf([&] { store->removeDocument(type, u"X"); }), invalidType);
    }
    for (const std::u16string& name :
         {std::u16string(), std::u16string(u" Lead"), std::u16string(u"A.B"),
          std::u16string(u"[x]"), std::u16string(65, u'n')})
        EXPECT_TRUE(refusal(access::objectForm, name)
                        .ends_with(u"is not a valid name. Make sure "
                                   u"that it does not include invalid "
                                   u"characters or punctuation and "
                                   u"that it is not too long."))
            << text::toUtf8(name);
    EXPECT_TRUE(bytesOf(path) == before) << "a refused change wrote to the file";
    EXPECT_EQ(store->document(access::objectForm, u"Kept"), Bytes{'k'});
}

TEST_F(Documents, AClosedStoreFailsInsteadOfCrashing) {
    store->close();
    EXPECT_EQ(failureOf([&] { store->document(access::objectForm, u"X"); }),
              u"Operation is not allowed when the object is closed.");
    EXPECT_EQ(failureOf([&] { store->saveDocument(access::objectForm, u"X", Bytes{'x'}); }),
              u"Operation is not allowed when the object is closed.");
}

} // namespace enginetest
