#include "foundation/engine/jetfile/PropertyBlob.h"

#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/TableDefinition.h"
#include "foundation/engine/jetfile/Text.h"

#include <algorithm>
#include <utility>

namespace engine::jetfile {

namespace {

constexpr std::uint16_t nameListChunk = 0x80;
constexpr std::uint16_t tableChunk = 0x00;
constexpr std::uint16_t columnChunk = 0x01;
constexpr std::size_t signatureSize = 4;
constexpr std::size_t chunkHeaderSize = 6; // length, type
constexpr std::size_t entryHeaderSize = 8; // length, flags, type, name index, value size

const Bytes& jet4Signature() {
    static const Bytes signature{'M', 'R', '2', 0};
    return signature;
}

bool isKnownSignature(const Bytes& signature) {
    static const Bytes jet3{'K', 'K', 'D', 0};
    return signature == jet4Signature() || signature == jet3;
}

// A name: its byte length, then UTF-16LE.
std::u16string readName(ByteView bytes, std::size_t& at) {
    std::size_t length = bytes.u16(at);
    if (length % 2 != 0)
        throw FormatError("odd length of a property name");
    ByteView text = bytes.sub(at + 2, length);
    at += 2 + length;
    std::u16string name;
    for (std::size_t i = 0; i < length; i += 2)
        name.push_back(char16_t(text.u16(i)));
    return name;
}

void appendName(Bytes& out, std::u16string_view name) {
    appendU16(out, std::uint16_t(name.size() * 2));
    for (char16_t unit : name)
        appendU16(out, std::uint16_t(unit));
}

std::vector<std::u16string> decodeNames(ByteView chunk) {
    std::vector<std::u16string> names;
    for (std::size_t at = 0; at < chunk.size();)
        names.push_back(readName(chunk, at));
    return names;
}

PropertyObject decodeObject(ByteView chunk, std::uint16_t type,
                            const std::vector<std::u16string>& names) {
    PropertyObject object;
    object.chunkType = type;
    std::size_t nameBlock = chunk.u32(0);
    if (nameBlock < 6)
        throw FormatError("property block name shorter than its header");
    ByteView nameBytes = chunk.sub(0, nameBlock);
    std::size_t at = 4;
    object.name = readName(nameBytes, at);
    object.nameExtra = nameBytes.copy(at, nameBlock - at);
    for (at = nameBlock; at < chunk.size();) {
        std::size_t length = chunk.u16(at);
        if (length < entryHeaderSize)
            throw FormatError("property entry shorter than its header");
        ByteView entry = chunk.sub(at, length);
        Property property;
        property.flags = entry.u8(2);
        property.type = entry.u8(3);
        std::size_t nameIndex = entry.u16(4);
        if (nameIndex >= names.size())
            throw FormatError("property refers to a missing name");
        property.name = names[nameIndex];
        std::size_t size = entry.u16(6);
        property.value = entry.copy(entryHeaderSize, size);
        property.extra = entry.copy(entryHeaderSize + size, length - entryHeaderSize - size);
        object.properties.push_back(std::move(property));
        at += length;
    }
    return object;
}

// Chunk and entry lengths are stored in 32 and 16 bits.
void putLength(Bytes& out, std::size_t at, std::size_t length, bool wide) {
    if (wide) {
        putU32(out, at, std::uint32_t(length));
        return;
    }
    if (length > 0xFFFF)
        throw FormatError("property value too long");
    putU16(out, at, std::uint16_t(length));
}

} // namespace

Property Property::text(std::u16string name, std::u16string_view value, std::uint8_t flags) {
    return {std::move(name), flags, column::text, encodeText(value), {}};
}

Property Property::memo(std::u16string name, std::u16string_view value, std::uint8_t flags) {
    return {std::move(name), flags, column::memo, encodeText(value), {}};
}

Property Property::boolean(std::u16string name, bool value, std::uint8_t flags) {
    return {std::move(name), flags, column::boolean, Bytes{std::uint8_t(value ? 1 : 0)}, {}};
}

Property Property::longInteger(std::u16string name, std::int32_t value, std::uint8_t flags) {
    Bytes bytes;
    appendU32(bytes, std::uint32_t(value));
    return {std::move(name), flags, column::longInteger, bytes, {}};
}

std::optional<std::u16string> Property::asText() const {
    if (type != column::text && type != column::memo)
        return std::nullopt;
    return decodeText(value);
}

std::optional<bool> Property::asBoolean() const {
    if (type != column::boolean || value.empty())
        return std::nullopt;
    // A few are stored in 2 or 4 bytes.
    return std::any_of(value.begin(), value.end(), [](std::uint8_t b) { return b != 0; });
}

std::optional<std::int32_t> Property::asLongInteger() const {
    if (type != column::longInteger || value.size() != 4)
        return std::nullopt;
    return std::int32_t(ByteView(value).u32(0));
}

PropertyBlob PropertyBlob::decode(ByteView blob) {
    PropertyBlob decoded;
    decoded.signature_ = blob.copy(0, signatureSize);
    if (!isKnownSignature(decoded.signature_))
        throw FormatError("unknown property blob signature");
    bool haveNames = false;
    for (std::size_t at = signatureSize; at < blob.size();) {
        std::size_t length = blob.u32(at);
        std::uint16_t type = blob.u16(at + 4);
        if (length < chunkHeaderSize)
            throw FormatError("property chunk shorter than its header");
        ByteView chunk = blob.sub(at + chunkHeaderSize, length - chunkHeaderSize);
        if (type == nameListChunk) {
            if (haveNames)
                throw FormatError("property blob with two name lists");
            decoded.names_ = decodeNames(chunk);
            haveNames = true;
        } else if (type == tableChunk || type == columnChunk) {
            if (!haveNames)
                throw FormatError("property values before their names");
            decoded.objects_.push_back(decodeObject(chunk, type, decoded.names_));
        } else {
            throw FormatError("unknown property chunk type " + std::to_string(type));
        }
        at += length;
    }
    return decoded;
}

Bytes PropertyBlob::encode() const {
    Bytes out = signature_.empty() ? jet4Signature() : signature_;
    std::size_t start = out.size();
    appendU32(out, 0);
    appendU16(out, nameListChunk);
    for (const std::u16string& name : names_)
        appendName(out, name);
    putLength(out, start, out.size() - start, true);
    for (const PropertyObject& object : objects_) {
        start = out.size();
        appendU32(out, 0);
        appendU16(out, object.chunkType);
        std::size_t nameStart = out.size();
        appendU32(out, 0);
        appendName(out, object.name);
        appendBytes(out, object.nameExtra);
        putLength(out, nameStart, out.size() - nameStart, true);
        for (const Property& property : object.properties) {
            auto index = std::find(names_.begin(), names_.end(), property.name);
            if (index == names_.end())
                throw FormatError("property name missing from the name list");
            std::size_t entryStart = out.size();
            appendU16(out, 0);
            appendU8(out, property.flags);
            appendU8(out, property.type);
            appendU16(out, std::uint16_t(index - names_.begin()));
            putLength(out, out.size(), property.value.size(), false);
            appendBytes(out, property.value);
            appendBytes(out, property.extra);
            putLength(out, entryStart, out.size() - entryStart, false);
        }
        putLength(out, start, out.size() - start, true);
    }
    return out;
}

const PropertyObject* PropertyBlob::object(std::u16string_view column) const {
    for (const PropertyObject& o : objects_) {
        bool wanted = column.empty() ? o.chunkType == tableChunk
                                     : o.chunkType == columnChunk && sameName(o.name, column);
        if (wanted)
            return &o;
    }
    return nullptr;
}

PropertyObject* PropertyBlob::object(std::u16string_view column) {
    return const_cast<PropertyObject*>(std::as_const(*this).object(column));
}

const Property* PropertyBlob::find(std::u16string_view column, std::u16string_view name) const {
    const PropertyObject* o = object(column);
    if (o == nullptr)
        return nullptr;
    for (const Property& p : o->properties)
        if (sameName(p.name, name))
            return &p;
    return nullptr;
}

void PropertyBlob::set(std::u16string_view column, Property property) {
    auto listed = std::find_if(names_.begin(), names_.end(),
                               [&](const std::u16string& n) { return sameName(n, property.name); });
    if (listed == names_.end())
        names_.push_back(property.name);
    else
        property.name = *listed;
    PropertyObject* o = object(column);
    if (o == nullptr) {
        PropertyObject added;
        added.chunkType = column.empty() ? tableChunk : columnChunk;
        added.name = std::u16string(column);
        // The table's own block comes first.
        auto where = column.empty() ? objects_.begin() : objects_.end();
        o = &*objects_.insert(where, std::move(added));
    }
    for (Property& p : o->properties)
        if (sameName(p.name, property.name)) {
            p = std::move(property);
            return;
        }
    o->properties.push_back(std::move(property));
}

bool PropertyBlob::remove(std::u16string_view column, std::u16string_view name) {
    PropertyObject* o = object(column);
    if (o == nullptr)
        return false;
    auto found = std::find_if(o->properties.begin(), o->properties.end(),
                              [&](const Property& p) { return sameName(p.name, name); });
    if (found == o->properties.end())
        return false;
    o->properties.erase(found);
    // Access writes no block without properties.
    if (o->properties.empty())
        objects_.erase(objects_.begin() + (o - objects_.data()));
    return true;
}

void PropertyBlob::renameObject(std::u16string_view from, std::u16string to) {
    if (PropertyObject* o = object(from))
        o->name = std::move(to);
}

void PropertyBlob::removeObject(std::u16string_view column) {
    if (PropertyObject* o = object(column))
        objects_.erase(objects_.begin() + (o - objects_.data()));
}

} // namespace engine::jetfile
