#pragma once

// The stored form of catalog objects: each table, relation and saved query is one compact
// byte string, so that a schema change writes one catalog row and few pages.

#include "foundation/engine/api/CatalogModel.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace engine::embedded {

using Bytes = std::vector<std::uint8_t>;

Bytes encode(const catalog::Table& table);
Bytes encode(const catalog::Relation& relation);
Bytes encode(const catalog::Query& query);

// Each throws errors::unrecognizedFormat(path) when the bytes are not a stored object.
catalog::Table decodeTable(const Bytes& bytes, std::u16string_view path);
catalog::Relation decodeRelation(const Bytes& bytes, std::u16string_view path);
catalog::Query decodeQuery(const Bytes& bytes, std::u16string_view path);

} // namespace engine::embedded
