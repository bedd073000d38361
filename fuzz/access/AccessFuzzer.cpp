// libFuzzer target: damaged Access files, read in this process by the Access-file backend's
// reader (the product runs it in a child that contains libmdb's crashes; here our own parsing
// shows its faults), and the snapshot it gives through the codec that carries it to the
// parent. A damaged file is an error, never a crash.
//
// An input names one of the shared Access files and patches to write over it, so that the
// saved inputs stay small: the first byte chooses the file, then each patch is a three-byte
// little-endian offset (taken modulo the file's size), a length byte and that many bytes.

#include "foundation/engine/mdbfile/FileReader.h"
#include "foundation/engine/mdbfile/SnapshotCodec.h"
#include "foundation/engine/mdbfile/TableDefinition.h"
#include "fuzz/ScratchFile.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* kFiles[] = {"adox_jet4.mdb",      "emptyJet4.mdb",   "queryTestV2003.mdb",
                                  "indexTestV2003.mdb", "empty2010.accdb", "indexTestV2010.accdb"};

const std::vector<std::vector<std::uint8_t>>& baseFiles() {
    static const std::vector<std::vector<std::uint8_t>> files = [] {
        std::vector<std::vector<std::uint8_t>> read;
        for (const char* name : kFiles) {
            std::ifstream in(std::string(KEL_ACCESS_DATA_DIR "/") + name, std::ios::binary);
            read.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (read.back().empty())
                std::abort(); // the shared files are the seeds' ground
        }
        return read;
    }();
    return files;
}

std::vector<std::uint8_t> patched(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file = baseFiles()[data[0] % std::size(kFiles)];
    std::size_t at = 1;
    while (at + 4 <= size) {
        std::size_t offset = (data[at] | data[at + 1] << 8 | data[at + 2] << 16) % file.size();
        std::size_t length = data[at + 3];
        at += 4;
        for (std::size_t i = 0; i < length && at < size; ++i, ++at)
            file[(offset + i) % file.size()] = data[at];
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static fuzz::ScratchFile scratch(".mdb");
    std::vector<std::uint8_t> file = patched(data, size);
    std::string path = scratch.write(file.data(), file.size()).string();
    try {
        engine::mdbfile::FileSnapshot snapshot = engine::mdbfile::readAccessFile(path);
        std::vector<std::uint8_t> bytes = engine::mdbfile::encodeSnapshot(snapshot);
        if (engine::mdbfile::encodeSnapshot(engine::mdbfile::decodeSnapshot(bytes)) != bytes)
            std::abort();
    } catch (const engine::mdbfile::DamagedFile&) {
    }
    return 0;
}
