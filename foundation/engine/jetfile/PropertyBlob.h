#pragma once

// The properties of a table and its columns as Access keeps them in MSysObjects.LvProp: a
// 4-byte signature ("MR2" and a zero in Jet 4 and ACE), then chunks, each with its length
// and type: first the list of every property name the blob uses, then one block per object
// (the table's own, then one per column, each named), each property in it with its flags,
// value type, index into the name list and value bytes.

#include "foundation/engine/jetfile/Bytes.h"

#include <optional>
#include <string>

namespace engine::jetfile {

struct Property {
    // DDL: set on properties of the object's definition (Required, DefaultValue,
    // DisplayControl, ...), clear on view settings (ColumnWidth, ColumnOrder, ...).
    static constexpr std::uint8_t ddlFlag = 0x01;

    std::u16string name;
    std::uint8_t flags = 0;
    std::uint8_t type = 0; // a column type code
    Bytes value;
    Bytes extra; // bytes after the value inside the entry, kept as read

    static Property text(std::u16string name, std::u16string_view value, std::uint8_t flags);
    // Text typed as Memo, as Access stores DefaultValue, ValidationRule and Expression.
    static Property memo(std::u16string name, std::u16string_view value, std::uint8_t flags);
    static Property boolean(std::u16string name, bool value, std::uint8_t flags);
    static Property longInteger(std::u16string name, std::int32_t value, std::uint8_t flags);

    std::optional<std::u16string> asText() const;
    std::optional<bool> asBoolean() const;
    std::optional<std::int32_t> asLongInteger() const;
};

struct PropertyObject {
    std::uint16_t chunkType = 0; // 0 the table's own block, 1 a column's
    std::u16string name;
    Bytes nameExtra; // bytes after the name inside its length, kept as read
    std::vector<Property> properties;
};

class PropertyBlob {
public:
    static PropertyBlob decode(ByteView blob);
    Bytes encode() const;

    const std::vector<std::u16string>& names() const { return names_; }
    const std::vector<PropertyObject>& objects() const { return objects_; }
    // A blob without properties: Access then stores no blob at all.
    bool empty() const { return objects_.empty(); }

    // column empty: the table's own properties. Names compare without regard to case.
    const Property* find(std::u16string_view column, std::u16string_view name) const;
    // Replaces the property of that name or adds it, creating the object's block if needed.
    void set(std::u16string_view column, Property property);
    // Whether there was one to remove. Its name stays in the name list, as Access leaves it;
    // an object left without properties loses its block.
    bool remove(std::u16string_view column, std::u16string_view name);
    // A column renamed or dropped takes its block along.
    void renameObject(std::u16string_view from, std::u16string to);
    void removeObject(std::u16string_view column);

private:
    PropertyObject* object(std::u16string_view column);
    const PropertyObject* object(std::u16string_view column) const;

    Bytes signature_;
    std::vector<std::u16string> names_;
    std::vector<PropertyObject> objects_;
};

} // namespace engine::jetfile
