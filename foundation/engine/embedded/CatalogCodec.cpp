#include "foundation/engine/embedded/CatalogCodec.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <cstring>

namespace engine::embedded {

namespace {

// Kinds of stored values, the first byte of a property value.
enum class ValueKind : std::uint8_t { Empty, Null, Integer, Real, Text, Bytes, Boolean };

class Writer {
public:
    void number(std::uint64_t value) {
        do {
            std::uint8_t byte = value & 0x7f;
            value >>= 7;
            bytes_.push_back(value ? byte | 0x80 : byte);
        } while (value);
    }
    void integer(std::int64_t value) { // zigzag keeps small negatives short
        number((std::uint64_t(value) << 1) ^ std::uint64_t(value >> 63));
    }
    void flag(bool value) { bytes_.push_back(value ? 1 : 0); }
    void raw(const void* data, std::size_t size) {
        number(size);
        auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void text(std::u16string_view value) {
        std::string utf8 = text::toUtf8(value);
        raw(utf8.data(), utf8.size());
    }
    void optionalText(const std::optional<std::u16string>& value) {
        flag(bool(value));
        if (value)
            text(*value);
    }
    void value(const Variant& v) {
        if (v.isEmpty()) {
            kind(ValueKind::Empty);
        } else if (v.isNull()) {
            kind(ValueKind::Null);
        } else if (v.type() == VarType::Bool) {
            kind(ValueKind::Boolean);
            flag(v.asBool());
        } else if (v.isByteArray()) {
            kind(ValueKind::Bytes);
            raw(v.asBytes().data(), v.asBytes().size());
        } else if (auto i = v.toInt()) {
            kind(ValueKind::Integer);
            integer(*i);
        } else if (auto d = v.toDouble(); d && !v.isString()) {
            kind(ValueKind::Real);
            std::uint64_t bits;
            std::memcpy(&bits, &*d, sizeof bits);
            number(bits);
        } else {
            kind(ValueKind::Text);
            text(v.toText().value_or(u""));
        }
    }
    Bytes take() { return std::move(bytes_); }

private:
    void kind(ValueKind k) { bytes_.push_back(std::uint8_t(k)); }
    Bytes bytes_;
};

class Reader {
public:
    Reader(const Bytes& bytes, std::u16string_view path) : bytes_(bytes), path_(path) {}

    std::uint64_t number() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t byte = next();
            value |= std::uint64_t(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return value;
        }
        throw damaged();
    }
    std::int64_t integer() {
        std::uint64_t n = number();
        return std::int64_t(n >> 1) ^ -std::int64_t(n & 1);
    }
    int small() { return int(integer()); }
    bool flag() { return next() != 0; }
    std::string_view raw() {
        std::uint64_t size = number();
        if (size > bytes_.size() - pos_)
            throw damaged();
        std::string_view piece(reinterpret_cast<const char*>(bytes_.data() + pos_), size);
        pos_ += size;
        return piece;
    }
    std::u16string text() { return text::fromUtf8(raw()); }
    std::optional<std::u16string> optionalText() {
        if (!flag())
            return std::nullopt;
        return text();
    }
    std::size_t count() { // a list length, bounded by what is left
        std::uint64_t n = number();
        if (n > bytes_.size() - pos_)
            throw damaged();
        return std::size_t(n);
    }
    Variant value() {
        switch (ValueKind(next())) {
        case ValueKind::Empty:
            return Variant();
        case ValueKind::Null:
            return Variant::null();
        case ValueKind::Boolean:
            return Variant(flag());
        case ValueKind::Integer:
            return Variant(integer());
        case ValueKind::Real: {
            std::uint64_t bits = number();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return Variant(d);
        }
        case ValueKind::Text:
            return Variant(text());
        case ValueKind::Bytes: {
            std::string_view piece = raw();
            return Variant(Variant::Bytes(piece.begin(), piece.end()));
        }
        }
        throw damaged();
    }
    void end() {
        if (pos_ != bytes_.size())
            throw damaged();
    }

private:
    std::uint8_t next() {
        if (pos_ >= bytes_.size())
            throw damaged();
        return bytes_[pos_++];
    }
    EngineError damaged() const { return errors::unrecognizedFormat(path_); }

    const Bytes& bytes_;
    std::u16string_view path_;
    std::size_t pos_ = 0;
};

// A property value keeps the width of its DAO type when it is read back.
Variant typed(const Variant& value, int daoType) {
    auto i = value.toInt();
    if (!i || value.type() == VarType::Bool)
        return value;
    switch (daoType) {
    case daotype::byte:
        return Variant(std::uint8_t(*i));
    case daotype::integer:
        return Variant(std::int16_t(*i));
    case daotype::longInteger:
        return Variant(std::int32_t(*i));
    case daotype::boolean:
        return Variant(*i != 0);
    default:
        return value;
    }
}

} // namespace

Bytes encode(const catalog::Table& table) {
    Writer w;
    w.text(table.name);
    w.integer(int(table.kind));
    w.flag(table.hidden);
    w.flag(table.temporary);
    w.text(table.linkDatasource);
    w.text(table.linkProviderString);
    w.text(table.remoteTableName);
    w.flag(table.exclusiveLink);
    w.flag(table.savedPassword);
    w.text(table.validationRule);
    w.text(table.validationText);
    w.number(table.columns.size());
    for (const catalog::Column& c : table.columns) {
        w.text(c.name);
        w.integer(c.type);
        w.integer(c.size);
        w.integer(c.precision);
        w.integer(c.scale);
        w.flag(c.nullable);
        w.flag(c.fixedLength);
        w.flag(c.autoIncrement);
        w.flag(c.compressed);
        w.flag(c.allowZeroLength);
        w.optionalText(c.defaultValue);
        w.text(c.validationRule);
        w.text(c.validationText);
        w.number(c.properties.size());
        for (const catalog::Property& p : c.properties) {
            w.text(p.name);
            w.integer(p.type);
            w.value(p.value);
        }
    }
    w.number(table.indexes.size());
    for (const catalog::Index& index : table.indexes) {
        w.text(index.name);
        w.flag(index.primary);
        w.flag(index.unique);
        w.integer(index.nulls);
        w.flag(index.foreign);
        w.number(index.columns.size());
        for (const catalog::IndexColumn& entry : index.columns) {
            w.text(entry.name);
            w.flag(entry.descending);
        }
    }
    w.number(table.checks.size());
    for (const catalog::Check& check : table.checks) {
        w.text(check.name);
        w.text(check.clause);
    }
    return w.take();
}

catalog::Table decodeTable(const Bytes& bytes, std::u16string_view path) {
    Reader r(bytes, path);
    catalog::Table table;
    table.name = r.text();
    table.kind = catalog::TableKind(r.small());
    if (table.kind < catalog::TableKind::Local || table.kind > catalog::TableKind::AccessSystem)
        throw errors::unrecognizedFormat(path);
    table.hidden = r.flag();
    table.temporary = r.flag();
    table.linkDatasource = r.text();
    table.linkProviderString = r.text();
    table.remoteTableName = r.text();
    table.exclusiveLink = r.flag();
    table.savedPassword = r.flag();
    table.validationRule = r.text();
    table.validationText = r.text();
    table.columns.resize(r.count());
    for (catalog::Column& c : table.columns) {
        c.name = r.text();
        c.type = r.small();
        c.size = r.small();
        c.precision = r.small();
        c.scale = r.small();
        c.nullable = r.flag();
        c.fixedLength = r.flag();
        c.autoIncrement = r.flag();
        c.compressed = r.flag();
        c.allowZeroLength = r.flag();
        c.defaultValue = r.optionalText();
        c.validationRule = r.text();
        c.validationText = r.text();
        c.properties.resize(r.count());
        for (catalog::Property& p : c.properties) {
            p.name = r.text();
            p.type = r.small();
            p.value = typed(r.value(), p.type);
        }
    }
    table.indexes.resize(r.count());
    for (catalog::Index& index : table.indexes) {
        index.name = r.text();
        index.primary = r.flag();
        index.unique = r.flag();
        index.nulls = r.small();
        index.foreign = r.flag();
        index.columns.resize(r.count());
        for (catalog::IndexColumn& entry : index.columns) {
            entry.name = r.text();
            entry.descending = r.flag();
        }
    }
    table.checks.resize(r.count());
    for (catalog::Check& check : table.checks) {
        check.name = r.text();
        check.clause = r.text();
    }
    r.end();
    return table;
}

Bytes encode(const catalog::Relation& relation) {
    Writer w;
    w.text(relation.name);
    w.text(relation.table);
    w.text(relation.foreignTable);
    w.integer(relation.attributes);
    w.number(relation.fields.size());
    for (const catalog::RelationField& field : relation.fields) {
        w.text(field.name);
        w.text(field.foreignName);
    }
    return w.take();
}

catalog::Relation decodeRelation(const Bytes& bytes, std::u16string_view path) {
    Reader r(bytes, path);
    catalog::Relation relation;
    relation.name = r.text();
    relation.table = r.text();
    relation.foreignTable = r.text();
    relation.attributes = std::int32_t(r.integer());
    relation.fields.resize(r.count());
    for (catalog::RelationField& field : relation.fields) {
        field.name = r.text();
        field.foreignName = r.text();
    }
    r.end();
    return relation;
}

Bytes encode(const catalog::Query& query) {
    Writer w;
    w.text(query.name);
    w.text(query.text);
    w.flag(query.procedure);
    w.number(query.parameters.size());
    for (const catalog::QueryParameter& p : query.parameters) {
        w.text(p.name);
        w.integer(p.type);
        w.integer(p.size);
        w.integer(p.precision);
        w.integer(p.scale);
    }
    return w.take();
}

catalog::Query decodeQuery(const Bytes& bytes, std::u16string_view path) {
    Reader r(bytes, path);
    catalog::Query query;
    query.name = r.text();
    query.text = r.text();
    query.procedure = r.flag();
    query.parameters.resize(r.count());
    for (catalog::QueryParameter& p : query.parameters) {
        p.name = r.text();
        p.type = r.small();
        p.size = r.small();
        p.precision = r.small();
        p.scale = r.small();
    }
    r.end();
    return query;
}

} // namespace engine::embedded
