#include "foundation/engine/mdbfile/SnapshotCodec.h"

#include "foundation/engine/mdbfile/TableDefinition.h"

#include <cstring>
#include <stdexcept>

namespace engine::mdbfile {

namespace {

constexpr std::uint32_t magic = 0x4B4D4442; // "KMDB"
constexpr std::uint32_t version = 2;

// Each structure is listed once, in transfer(); the Writer and the Reader walk the same list.
class Writer {
public:
    std::vector<std::uint8_t> bytes;

    void operator()(std::uint32_t& v) { put(v, 4); }
    void operator()(std::int32_t& v) { put(std::uint32_t(v), 4); }
    void operator()(int64_t& v) { put(std::uint64_t(v), 8); }
    void operator()(bool& v) { put(v ? 1 : 0, 1); }
    void operator()(std::u16string& s) {
        put(s.size(), 4);
        for (char16_t c : s)
            put(c, 2);
    }
    void operator()(std::vector<std::uint8_t>& b) {
        put(b.size(), 4);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    std::uint32_t count(std::size_t n) {
        put(n, 4);
        return std::uint32_t(n);
    }
    bool present(bool isPresent) {
        put(isPresent ? 1 : 0, 1);
        return isPresent;
    }

private:
    void put(std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            bytes.push_back(std::uint8_t(value >> (8 * i)));
    }
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void operator()(std::uint32_t& v) { v = std::uint32_t(get(4)); }
    void operator()(std::int32_t& v) { v = std::int32_t(std::uint32_t(get(4))); }
    void operator()(int64_t& v) { v = std::int64_t(get(8)); }
    void operator()(bool& v) { v = get(1) != 0; }
    void operator()(std::u16string& s) {
        std::size_t n = length(2);
        s.resize(n);
        for (char16_t& c : s)
            c = char16_t(get(2));
    }
    void operator()(std::vector<std::uint8_t>& b) {
        std::size_t n = length(1);
        b.assign(bytes_.begin() + std::ptrdiff_t(position_),
                 bytes_.begin() + std::ptrdiff_t(position_ + n));
        position_ += n;
    }
    // The number of items that follow; each takes at least a byte.
    std::uint32_t count(std::size_t) { return length(1); }
    bool present(bool) { return get(1) != 0; }
    bool atEnd() const { return position_ == bytes_.size(); }

private:
    std::uint32_t length(std::size_t unitSize) {
        std::uint64_t n = get(4);
        if (n * unitSize > bytes_.size() - position_)
            throw DamagedFile("snapshot count exceeds its bytes");
        return std::uint32_t(n);
    }

    std::uint64_t get(int width) {
        if (bytes_.size() - position_ < std::size_t(width))
            throw DamagedFile("snapshot ends early");
        std::uint64_t value = 0;
        for (int i = width; i-- > 0;)
            value = (value << 8) | bytes_[position_ + std::size_t(i)];
        position_ += std::size_t(width);
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

template <class Archive> void transfer(Archive& a, int& v) {
    std::int32_t x = v;
    a(x);
    v = x;
}

template <class Archive, class T> void transfer(Archive& a, std::vector<T>& items) {
    std::uint32_t n = a.count(items.size());
    items.resize(n);
    for (T& item : items)
        transfer(a, item);
}

template <class Archive> void transfer(Archive& a, std::u16string& s) {
    a(s);
}
template <class Archive> void transfer(Archive& a, bool& b) {
    a(b);
}

template <class Archive> void transfer(Archive& a, std::optional<std::u16string>& s) {
    if (!a.present(s.has_value()))
        return s.reset();
    if (!s)
        s.emplace();
    a(*s);
}

// The value types a snapshot holds: column properties and MSysObjects cells.
template <class Archive> void transfer(Archive& a, Variant& v) {
    std::uint32_t tag = std::uint32_t(v.type());
    a(tag);
    switch (VarType(tag)) {
    case VarType::Empty:
        v = Variant();
        return;
    case VarType::Null:
        v = Variant::null();
        return;
    case VarType::Bool: {
        bool b = v.type() == VarType::Bool && v.asBool();
        a(b);
        v = Variant(b);
        return;
    }
    case VarType::Byte:
    case VarType::Int16:
    case VarType::Int32: {
        std::int32_t n = std::int32_t(v.toInt().value_or(0));
        a(n);
        if (VarType(tag) == VarType::Byte)
            v = Variant(std::uint8_t(n));
        else if (VarType(tag) == VarType::Int16)
            v = Variant(std::int16_t(n));
        else
            v = Variant(n);
        return;
    }
    case VarType::String: {
        std::u16string s = v.isString() ? v.asString() : std::u16string();
        a(s);
        v = Variant(std::move(s));
        return;
    }
    case VarType::ByteArray: {
        std::vector<std::uint8_t> b = v.isByteArray() ? v.asBytes() : Variant::Bytes();
        a(b);
        v = Variant(std::move(b));
        return;
    }
    default:
        throw DamagedFile("snapshot value of an unexpected type");
    }
}

template <class Archive> void transfer(Archive& a, catalog::Property& p) {
    transfer(a, p.name);
    transfer(a, p.type);
    transfer(a, p.value);
}

template <class Archive> void transfer(Archive& a, catalog::Column& c) {
    transfer(a, c.name);
    transfer(a, c.type);
    transfer(a, c.size);
    transfer(a, c.precision);
    transfer(a, c.scale);
    transfer(a, c.nullable);
    transfer(a, c.fixedLength);
    transfer(a, c.autoIncrement);
    transfer(a, c.compressed);
    transfer(a, c.allowZeroLength);
    transfer(a, c.defaultValue);
    transfer(a, c.validationRule);
    transfer(a, c.validationText);
    transfer(a, c.properties);
    transfer(a, c.multiValueType);
}

template <class Archive> void transfer(Archive& a, catalog::IndexColumn& c) {
    transfer(a, c.name);
    transfer(a, c.descending);
}

template <class Archive> void transfer(Archive& a, catalog::Index& i) {
    transfer(a, i.name);
    transfer(a, i.primary);
    transfer(a, i.unique);
    transfer(a, i.nulls);
    transfer(a, i.foreign);
    transfer(a, i.columns);
}

template <class Archive> void transfer(Archive& a, catalog::Check& c) {
    transfer(a, c.name);
    transfer(a, c.clause);
}

template <class Archive> void transfer(Archive& a, catalog::Table& t) {
    int kind = int(t.kind);
    transfer(a, kind);
    if (kind < int(catalog::TableKind::Local) || kind > int(catalog::TableKind::AccessSystem))
        throw DamagedFile("snapshot table of an unknown kind");
    t.kind = catalog::TableKind(kind);
    transfer(a, t.name);
    transfer(a, t.hidden);
    transfer(a, t.temporary);
    transfer(a, t.linkDatasource);
    transfer(a, t.linkProviderString);
    transfer(a, t.remoteTableName);
    transfer(a, t.exclusiveLink);
    transfer(a, t.savedPassword);
    transfer(a, t.validationRule);
    transfer(a, t.validationText);
    transfer(a, t.columns);
    transfer(a, t.indexes);
    transfer(a, t.checks);
}

template <class Archive> void transfer(Archive& a, catalog::RelationField& f) {
    transfer(a, f.name);
    transfer(a, f.foreignName);
}

template <class Archive> void transfer(Archive& a, catalog::Relation& r) {
    transfer(a, r.name);
    transfer(a, r.table);
    transfer(a, r.foreignTable);
    a(r.attributes);
    transfer(a, r.fields);
}

template <class Archive> void transfer(Archive& a, catalog::QueryParameter& p) {
    transfer(a, p.name);
    transfer(a, p.type);
    transfer(a, p.size);
    transfer(a, p.precision);
    transfer(a, p.scale);
}

template <class Archive> void transfer(Archive& a, catalog::Query& q) {
    transfer(a, q.name);
    transfer(a, q.text);
    transfer(a, q.procedure);
    transfer(a, q.parameters);
}

template <class Archive> void transfer(Archive& a, std::vector<Variant>& row) {
    std::uint32_t n = a.count(row.size());
    row.resize(n);
    for (Variant& v : row)
        transfer(a, v);
}

template <class Archive> void transfer(Archive& a, FileSnapshot& s) {
    std::uint32_t header[2] = {magic, version};
    a(header[0]);
    a(header[1]);
    if (header[0] != magic || header[1] != version)
        throw DamagedFile("not a snapshot");
    transfer(a, s.catalog.tables);
    transfer(a, s.catalog.relations);
    transfer(a, s.catalog.queries);
    transfer(a, s.objects.columns);
    std::uint32_t rows = a.count(s.objects.rows.size());
    s.objects.rows.resize(rows);
    for (std::vector<Variant>& row : s.objects.rows) {
        transfer(a, row);
        if (row.size() != s.objects.columns.size())
            throw DamagedFile("snapshot row of the wrong width");
    }
}

} // namespace

std::vector<std::uint8_t> encodeSnapshot(const FileSnapshot& snapshot) {
    FileSnapshot copy = snapshot;
    Writer writer;
    transfer(writer, copy);
    return std::move(writer.bytes);
}

FileSnapshot decodeSnapshot(std::span<const std::uint8_t> bytes) {
    Reader reader(bytes);
    FileSnapshot snapshot;
    transfer(reader, snapshot);
    if (!reader.atEnd())
        throw DamagedFile("snapshot has trailing bytes");
    return snapshot;
}

} // namespace engine::mdbfile
