#include "foundation/engine/mdbfile/AccessFileBackend.h"

#include "foundation/engine/jetfile/Format.h"
#include "foundation/engine/mdbfile/AccessFileSession.h"
#include "foundation/engine/mdbfile/MdbFileSession.h"
#include "foundation/text/WideString.h"

#include <fstream>

namespace engine::mdbfile {

namespace {

bool pageStoreWrites(const std::u16string& path) {
    std::ifstream in(text::toUtf8(path), std::ios::binary);
    std::vector<std::uint8_t> first(64);
    in.read(reinterpret_cast<char*>(first.data()), std::streamsize(first.size()));
    first.resize(std::size_t(in.gcount()));
    return jetfile::detectFormat(jetfile::ByteView(first)).has_value();
}

} // namespace

AccessFileBackend::AccessFileBackend(std::chrono::milliseconds readLimit)
    : readLimit_(readLimit), reader_(readLimit) {}

bool AccessFileBackend::recognizes(std::span<const std::uint8_t> header) const {
    return reader_.recognizes(header);
}

std::shared_ptr<Session> AccessFileBackend::open(const OpenParameters& parameters) {
    std::shared_ptr<const FileSnapshot> snapshot = reader_.snapshotOf(parameters.path);
    if (!pageStoreWrites(parameters.path))
        return std::make_shared<MdbFileSession>(std::move(snapshot));
    return std::make_shared<AccessFileSession>(files_.attach(parameters.path, std::move(snapshot)),
                                               readLimit_);
}

} // namespace engine::mdbfile
