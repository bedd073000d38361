// The property blobs Access wrote (MSysObjects.LvProp) decode and encode back to their bytes,
// and properties set, replaced and removed read back as set.

#include "SharedFiles.h"
#include "StoredProperties.h"

#include "foundation/engine/jetfile/PropertyBlob.h"
#include "foundation/engine/jetfile/TableDefinition.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace engine::jetfile;

namespace {

using jettest::propertyBlob;
using jettest::propertyBlobs;
using jettest::StoredBlob;

TEST(PropertyBlob, EveryStoredBlobEncodesBackToItsBytes) {
    int blobs = 0;
    int properties = 0;
    for (const std::string& name : jettest::writableFormatFiles()) {
        for (const StoredBlob& blob : propertyBlobs(name)) {
            PropertyBlob decoded = PropertyBlob::decode(blob.bytes);
            EXPECT_EQ(decoded.encode(), blob.bytes)
                << name << " " << std::string(blob.object.begin(), blob.object.end());
            ++blobs;
            for (const PropertyObject& object : decoded.objects())
                properties += int(object.properties.size());
        }
    }
    std::cout << "property blobs " << blobs << ", properties " << properties << "\n";
    EXPECT_GE(blobs, 250);
    EXPECT_GE(properties, 4000);
}

// The same property made from its typed value, or nullopt for a type made no other way.
std::optional<Property> madeAgain(const Property& p) {
    // Some Yes/No properties of the Access application (TotalsRow, HideNewField, ...) are
    // stored in 2 or 4 bytes; the engine's own take one.
    if (auto flag = p.asBoolean())
        return p.value.size() == 1 ? std::optional(Property::boolean(p.name, *flag, p.flags))
                                   : std::nullopt;
    if (auto number = p.asLongInteger())
        return Property::longInteger(p.name, *number, p.flags);
    if (auto text = p.asText())
        return p.type == column::memo ? Property::memo(p.name, *text, p.flags)
                                      : Property::text(p.name, *text, p.flags);
    return std::nullopt;
}

TEST(PropertyBlob, TypedValuesMadeAgainAreTheBytesAccessWrote) {
    int made = 0;
    for (const std::string& name : jettest::writableFormatFiles()) {
        for (const StoredBlob& blob : propertyBlobs(name)) {
            PropertyBlob decoded = PropertyBlob::decode(blob.bytes);
            for (const PropertyObject& object : decoded.objects()) {
                for (const Property& p : object.properties) {
                    std::optional<Property> again = madeAgain(p);
                    if (!again)
                        continue;
                    EXPECT_EQ(again->value, p.value) << name << " " << int(p.type);
                    EXPECT_EQ(again->type, p.type);
                    ++made;
                }
            }
        }
    }
    std::cout << "typed properties made again " << made << "\n";
    EXPECT_GE(made, 2000);
}

TEST(PropertyBlob, ReadsTypedValuesOfTablesAndColumns) {
    PropertyBlob blob = PropertyBlob::decode(propertyBlob("testV2003.mdb", u"Table1").bytes);
    const Property* required = blob.find(u"a", u"REQUIRED"); // names without regard to case
    ASSERT_NE(required, nullptr);
    EXPECT_EQ(required->asBoolean(), false);
    EXPECT_EQ(required->flags, Property::ddlFlag);
    EXPECT_EQ(required->asText(), std::nullopt);
    const Property* defaultValue = blob.find(u"C", u"DefaultValue");
    ASSERT_NE(defaultValue, nullptr);
    EXPECT_EQ(defaultValue->asText(), u"0");
    // Made again, the property has the bytes Access wrote.
    Property made = Property::memo(u"DefaultValue", u"0", Property::ddlFlag);
    EXPECT_EQ(made.type, defaultValue->type);
    EXPECT_EQ(made.flags, defaultValue->flags);
    EXPECT_EQ(made.value, defaultValue->value);
    EXPECT_EQ(Property::boolean(u"Required", false, Property::ddlFlag).value, required->value);
    ASSERT_NE(blob.find(u"", u"OrderByOn"), nullptr); // the table's own
    EXPECT_EQ(blob.find(u"", u"Required"), nullptr);
    EXPECT_EQ(blob.find(u"NoSuchColumn", u"Required"), nullptr);
}

TEST(PropertyBlob, SetsReplacesAndRemovesProperties) {
    Bytes original = propertyBlob("testV2003.mdb", u"Table1").bytes;
    PropertyBlob blob = PropertyBlob::decode(original);
    std::size_t names = blob.names().size();
    blob.set(u"A", Property::boolean(u"required", true, Property::ddlFlag));
    blob.set(u"A", Property::text(u"Description", u"the key", 0));
    blob.set(u"New", Property::longInteger(u"ColumnWidth", -1, 0));
    blob.set(u"", Property::text(u"ValidationText", u"no", Property::ddlFlag));

    PropertyBlob again = PropertyBlob::decode(blob.encode());
    EXPECT_EQ(again.find(u"A", u"Required")->asBoolean(), true);
    EXPECT_EQ(again.find(u"A", u"Required")->name, u"Required"); // keeps the listed spelling
    EXPECT_EQ(again.find(u"a", u"Description")->asText(), u"the key");
    EXPECT_EQ(again.find(u"New", u"ColumnWidth")->asLongInteger(), -1);
    EXPECT_EQ(again.find(u"", u"ValidationText")->asText(), u"no");
    EXPECT_EQ(again.names().size(), names); // every name was listed already
    EXPECT_EQ(again.objects().back().name, u"New");

    EXPECT_TRUE(again.remove(u"A", u"Description"));
    EXPECT_FALSE(again.remove(u"A", u"Description"));
    EXPECT_FALSE(again.remove(u"Nothing", u"Description"));
    again.removeObject(u"New");
    again.remove(u"", u"ValidationText");
    again.set(u"A", Property::boolean(u"Required", false, Property::ddlFlag));
    // Back to what Access wrote.
    EXPECT_EQ(again.encode(), original);

    again.renameObject(u"a", u"Renamed");
    EXPECT_NE(again.find(u"Renamed", u"Required"), nullptr);
    EXPECT_EQ(again.find(u"A", u"Required"), nullptr);
}

TEST(PropertyBlob, MakesTheFirstBlockOfATableWithoutProperties) {
    PropertyBlob blob;
    blob.set(u"Amount", Property::boolean(u"Required", true, Property::ddlFlag));
    blob.set(u"", Property::longInteger(u"Orientation", 0, Property::ddlFlag));
    Bytes bytes = blob.encode();
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{'M', 'R', '2', 0}));
    PropertyBlob again = PropertyBlob::decode(bytes);
    ASSERT_EQ(again.objects().size(), 2u);
    EXPECT_EQ(again.objects()[0].chunkType, 0);
    EXPECT_EQ(again.objects()[1].name, u"Amount");
    EXPECT_EQ(again.names(), (std::vector<std::u16string>{u"Required", u"Orientation"}));
    // Access writes no block without properties, and no blob without blocks.
    EXPECT_TRUE(again.remove(u"amount", u"required"));
    ASSERT_EQ(again.objects().size(), 1u);
    EXPECT_TRUE(again.remove(u"", u"Orientation"));
    EXPECT_TRUE(again.empty());
}

TEST(PropertyBlob, CutOrDamagedBlobsAreFormatErrors) {
    Bytes original = propertyBlob("testV2003.mdb", u"Table1").bytes;
    for (std::size_t size = 0; size < original.size(); ++size) {
        Bytes cut(original.begin(), original.begin() + std::ptrdiff_t(size));
        try {
            PropertyBlob::decode(cut);
        } catch (const FormatError&) {
        }
    }
    Bytes badIndex = original;
    // The first property entry of the table's block: its name index far out of the list.
    std::size_t namesChunk = ByteView(original).u32(4);
    std::size_t tableBlock = 4 + namesChunk;
    std::size_t entry = tableBlock + 6 + ByteView(original).u32(tableBlock + 6);
    putU16(badIndex, entry + 4, 0x7FFF);
    EXPECT_THROW(PropertyBlob::decode(badIndex), FormatError);
    Bytes badSignature = original;
    badSignature[0] = 'X';
    EXPECT_THROW(PropertyBlob::decode(badSignature), FormatError);
}

} // namespace
