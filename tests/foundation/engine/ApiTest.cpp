#include "foundation/engine/api/Backend.h"
#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/api/EngineError.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(EngineErrors, CarryTheEngineStatusAndWording) {
    EXPECT_EQ(errors::itemNotFound().status(), 0x800A0CC1u);
    EXPECT_EQ(errors::fileNotFound(u"/x/a.mdb").description(), u"Could not find file '/x/a.mdb'.");
    EXPECT_EQ(errors::unrecognizedFormat(u"a").description(), u"Unrecognized database format 'a'.");
    EXPECT_EQ(errors::notValidPassword().status(), 0x80040E4Du);
    EXPECT_EQ(errors::fieldExists(u"F", u"T").description(),
              u"Field 'F' already exists in table 'T'.");
    EXPECT_EQ(errors::syntaxError(u"CREATE TABLE").status(), 0x80040E14u);
    EXPECT_EQ(errors::tableNotFound(u"X").status(), 0x80040E37u);
}

TEST(CatalogModel, NamesMatchIgnoringCaseAndAttributesFollowTheKind) {
    catalog::Catalog c;
    catalog::Table t;
    t.name = u"Orders";
    catalog::Column id;
    id.name = u"Id";
    t.columns.push_back(id);
    c.tables.push_back(t);
    ASSERT_NE(c.findTable(u"ORDERS"), nullptr);
    EXPECT_NE(c.findTable(u"orders")->findColumn(u"iD"), nullptr);
    EXPECT_EQ(c.findTable(u"Order"), nullptr);

    EXPECT_EQ(catalog::daoAttributes(t), 0);
    t.kind = catalog::TableKind::System;
    EXPECT_EQ(catalog::daoAttributes(t), std::int32_t(0x80000002u));
    t.kind = catalog::TableKind::AccessLink;
    t.hidden = true;
    EXPECT_EQ(catalog::daoAttributes(t), 0x40000001);
}

TEST(Codes, DaoTypesOfCatalogTypes) {
    EXPECT_EQ(daoTypeOf(type::varWChar), daotype::text);
    EXPECT_EQ(daoTypeOf(type::wChar), daotype::text);
    EXPECT_EQ(daoTypeOf(type::attachment), 101);
    EXPECT_EQ(daoTypeOf(type::decimal), 20);
    EXPECT_EQ(daoTypeOf(999), 0);
}

namespace {
struct ReadOnlySession : Session {
    std::shared_ptr<const catalog::Catalog> catalog() override { return {}; }
    std::shared_ptr<ado::Recordset> execute(const std::u16string&, const std::vector<Variant>&,
                                            std::int64_t*) override {
        return {};
    }
    void close() override {}
};
} // namespace

TEST(Session, ChangesFailAsReadOnlyUnlessTheBackendWrites) {
    ReadOnlySession s;
    try {
        s.dropColumn(u"T", u"C");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.description(), u"Cannot update. Database or object is read-only.");
    }
}
