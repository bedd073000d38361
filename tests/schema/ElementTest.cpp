#include "schema/Database.h"
#include "schema/EmptyElement.h"
#include "schema/IEntityVisitor.h"

#include <gtest/gtest.h>

namespace {

// Records which visit ran, numbered in the visitor's declaration order.
class SlotRecorder : public IEntityVisitor {
public:
    int slot = 0;
    const Element* element = nullptr;

    void visit(const Entity::Report& e) override { record(1, e); }
    void visit(const Entity::Module& e) override { record(2, e); }
    void visit(const Entity::Macro& e) override { record(3, e); }
    void visit(const Entity::Form& e) override { record(4, e); }
    void visit(const TableDataMacro& e) override { record(5, e); }
    void visit(const View& e) override { record(6, e); }
    void visit(const TableLinkedODBC& e) override { record(7, e); }
    void visit(const TableLinkedAccess& e) override { record(8, e); }
    void visit(const Table& e) override { record(9, e); }
    void visit(const Procedure& e) override { record(10, e); }
    void visit(const Key& e) override { record(11, e); }
    void visit(const Index& e) override { record(12, e); }
    void visit(const Field& e) override { record(13, e); }
    void visit(const EmptyElement& e) override { record(14, e); }
    void visit(const CheckConstraint& e) override { record(15, e); }

private:
    void record(int s, const Element& e) {
        slot = s;
        element = &e;
    }
};

struct Expected {
    const Element* element;
    int kind;
    int slot;
};

} // namespace

TEST(Element, EveryClassDispatchesToItsOwnVisitAndKind) {
    Table table(u"t");
    Field field(table, {.name = u"f"});
    Index index(table, u"i", false, false, 0);
    Key key(table, u"k", u"", Key::Primary, 0, 0, false, false);
    CheckConstraint check(u"c", u"t", u"x > 0");
    View view(u"v", u"SELECT 1");
    Procedure procedure(u"p", u"DELETE FROM t");
    TableDataMacro macro(u"t", {});
    Entity::Form form(u"f", {});
    Entity::Macro accessMacro(u"m", {});
    Entity::Module module(u"mod", {});
    Entity::Report report(u"r", {});
    TableLinkedAccess linked(u"l", u"r", u"s");
    TableLinkedODBC odbc(u"o", u"r", u"ODBC;");

    const Expected cases[] = {
        {&table, 1, 9},
        {&field, 2, 13},
        {&index, 3, 12},
        {&key, 4, 11},
        {&EmptyElement::instance(), 5, 14},
        {&check, 6, 15},
        {&view, 7, 6},
        {&procedure, 8, 10},
        {&macro, 9, 5},
        {&form, 10, 4},
        {&accessMacro, 11, 3},
        {&module, 12, 2},
        {&report, 13, 1},
        {&odbc, 0, 7},
        {&linked, 0, 8},
    };
    for (const Expected& c : cases) {
        SlotRecorder recorder;
        c.element->accept(recorder);
        EXPECT_EQ(recorder.slot, c.slot) << c.kind;
        EXPECT_EQ(recorder.element, c.element) << c.kind;
        EXPECT_EQ(static_cast<int>(c.element->kind()), c.kind) << c.slot;
    }
}

TEST(Element, EmptyElementIsOneSharedUnnamedInstance) {
    EmptyElement& empty = EmptyElement::instance();
    EXPECT_EQ(&empty, &EmptyElement::instance());
    EXPECT_TRUE(empty.name().empty());
    EXPECT_EQ(empty.kind(), ElementKind::Empty);
}
