#include "AccessFiles.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/FileReader.h"
#include "foundation/engine/mdbfile/LibmdbFile.h"
#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/engine/mdbfile/SnapshotCodec.h"
#include "foundation/engine/mdbfile/TableDefinition.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

using namespace engine;
using namespace engine::mdbfile;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Damaged copies live in a directory of the test's own.
class DamagedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("kel-mdb-damaged-" + std::to_string(getpid()));
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path write(const std::string& name, const Bytes& bytes) {
        fs::path path = directory_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }

    // Opens the file; true when it opened and its catalog reads, false when it failed with
    // the engine's error for a damaged file. Anything else fails the test.
    bool opens(const fs::path& path) {
        SCOPED_TRACE(path.filename().string());
        MdbFileBackend backend(limit_);
        OpenParameters parameters;
        parameters.path = text::fromUtf8(path.string());
        try {
            auto session = backend.open(parameters);
            auto catalog = session->catalog();
            EXPECT_NE(catalog, nullptr);
            session->execute(u"SELECT Name FROM MSysObjects", {}, nullptr);
            return true;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.description(), errors::unrecognizedFormat(parameters.path).description());
            EXPECT_EQ(e.status(), status::unspecified);
            return false;
        }
    }

    fs::path directory_;
    // Short enough to keep the test quick when libmdb loops.
    std::chrono::milliseconds limit_ = 5s;
};

constexpr std::size_t jetVersionOffset = 0x14;

} // namespace

TEST_F(DamagedFiles, TruncatedFilesFailAsUnrecognized) {
    for (const char* source : {"testV1997.mdb", "testV2003.mdb", "testV2010.accdb"}) {
        Bytes whole = readFile(mdbtest::accessFile(source));
        std::size_t page = std::string(source) == "testV1997.mdb" ? 2048 : 4096;
        for (std::size_t length : {std::size_t(0), std::size_t(20), std::size_t(100), page,
                                   page + 1, 2 * page, 3 * page - 7}) {
            Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
            EXPECT_FALSE(opens(write(std::to_string(length) + source, cut))) << length;
        }
        // Cut anywhere further on: an error or a readable file, never a crash or a hang.
        for (std::size_t length : {whole.size() / 3, whole.size() / 2, whole.size() - page})
            opens(write(std::to_string(length) + source,
                        Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(length))));
    }
}

TEST_F(DamagedFiles, PagesOverwrittenWithRandomBytes) {
    std::mt19937 random(20240611);
    int failures = 0;
    for (const char* source : {"nwind.mdb", "testV2003.mdb", "queryTestV2010.accdb"}) {
        const Bytes whole = readFile(mdbtest::accessFile(source));
        std::size_t page = std::string(source) == "nwind.mdb" ? 2048 : 4096;
        std::size_t pages = whole.size() / page;
        // The catalog's own definition (page 2) and its neighbours, then pages anywhere.
        std::vector<std::size_t> targets = {2, 1, 3};
        for (int i = 0; i < 3; ++i)
            targets.push_back(5 + random() % (pages - 5));
        for (std::size_t target : targets) {
            Bytes damaged = whole;
            for (std::size_t i = target * page; i < (target + 1) * page; ++i)
                damaged[i] = std::uint8_t(random());
            if (!opens(write("page" + std::to_string(target) + source, damaged)))
                ++failures;
        }
        // Every seventh page at once: libmdb loops on this copy of nwind.mdb until the time
        // limit stops it.
        Bytes riddled = whole;
        for (std::size_t p = 1; p < pages; p += 7)
            for (std::size_t i = p * page + 8; i < (p + 1) * page; i += 3)
                riddled[i] = std::uint8_t(random());
        if (!opens(write(std::string("riddled") + source, riddled)))
            ++failures;
    }
    // Losing the catalog's definition is fatal in every file.
    EXPECT_GE(failures, 3);
}

// A Jet 4 file read as Jet 3 has its pages cut in halves, and the other way round.
TEST_F(DamagedFiles, WrongPageSizes) {
    Bytes jet4 = readFile(mdbtest::accessFile("testV2003.mdb"));
    jet4[jetVersionOffset] = 0;
    EXPECT_FALSE(opens(write("jet4as3.mdb", jet4)));
    Bytes jet3 = readFile(mdbtest::accessFile("nwind.mdb"));
    jet3[jetVersionOffset] = 1;
    EXPECT_FALSE(opens(write("jet3as4.mdb", jet3)));
    Bytes unknown = readFile(mdbtest::accessFile("testV2010.accdb"));
    unknown[jetVersionOffset] = 0x7F;
    opens(write("unknown.accdb", unknown));
}

TEST_F(DamagedFiles, FilesThatAreNoAccessDatabase) {
    MdbFileBackend backend;
    Bytes zeros(8192, 0);
    EXPECT_FALSE(backend.recognizes(zeros));
    EXPECT_FALSE(opens(write("zeros.mdb", zeros)));
    Bytes header = readFile(mdbtest::accessFile("testV2003.mdb"));
    EXPECT_TRUE(backend.recognizes(header));
    header.resize(4096);
    EXPECT_FALSE(opens(write("header-only.mdb", header)));
    EXPECT_FALSE(opens(directory_));

    OpenParameters missing;
    missing.path = text::fromUtf8((directory_ / "missing.mdb").string());
    try {
        backend.open(missing);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.description(), errors::fileNotFound(missing.path).description());
    }
}

// Bytes from a child that died half-way never decode into a snapshot.
TEST(SnapshotCodec, EveryPrefixOfASnapshotIsRejected) {
    FileSnapshot snapshot = readAccessFile(mdbtest::accessFile("calcFieldTestV2010.accdb"));
    Bytes bytes = encodeSnapshot(snapshot);
    FileSnapshot decoded = decodeSnapshot(bytes);
    EXPECT_EQ(encodeSnapshot(decoded), bytes);
    ASSERT_FALSE(decoded.catalog.tables.empty());
    EXPECT_EQ(decoded.catalog.tables.size(), snapshot.catalog.tables.size());
    EXPECT_EQ(decoded.objects.rows, snapshot.objects.rows);

    for (std::size_t length = 0; length < bytes.size(); length += 1 + length / 64)
        EXPECT_THROW(decodeSnapshot(std::span(bytes).first(length)), DamagedFile) << length;
    Bytes longer = bytes;
    longer.push_back(0);
    EXPECT_THROW(decodeSnapshot(longer), DamagedFile);

    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        Bytes flipped = bytes;
        flipped[random() % flipped.size()] ^= std::uint8_t(1 + random() % 255);
        try {
            decodeSnapshot(flipped);
        } catch (const DamagedFile&) {
        }
    }
}

TEST(TableDefinition, DamagedDefinitionsAreErrors) {
    LibmdbFile file(mdbtest::accessFile("testV2003.mdb"));
    const CatalogEntry* entry = nullptr;
    for (const CatalogEntry& e : file.catalog())
        if (e.name == u"Table2")
            entry = &e;
    ASSERT_NE(entry, nullptr);
    PageReader read = [&](std::uint32_t page, std::span<std::uint8_t> buffer) {
        return file.readPage(page, buffer);
    };
    NameDecoder decode = [&](std::span<const std::uint8_t> s) { return file.decodeName(s); };
    Bytes bytes = readDefinitionPages(read, entry->page, file.pageSize());
    TableDefinition whole = parseTableDefinition(bytes, false, decode);
    ASSERT_EQ(whole.columns.size(), 89u); // Table2 spans two definition pages
    EXPECT_GT(bytes.size(), file.pageSize());
    EXPECT_EQ(whole.columns[88].name, u"column89");

    // A cut definition is an error, up to where the definition ends (free space follows).
    bool parsed = false;
    for (std::size_t length = 0; length <= bytes.size(); length += 13) {
        try {
            TableDefinition part =
                parseTableDefinition(std::span(bytes).first(length), false, decode);
            EXPECT_EQ(part.columns.size(), whole.columns.size());
            EXPECT_EQ(part.logical.size(), whole.logical.size());
            parsed = true;
        } catch (const DamagedFile&) {
            EXPECT_FALSE(parsed) << length;
        }
    }
    // An index naming a physical index that is not there.
    Bytes wrongIndex = bytes;
    wrongIndex[51] = 0; // no physical indexes, yet logical ones
    EXPECT_THROW(parseTableDefinition(wrongIndex, false, decode), DamagedFile);

    // A chain of definition pages that loops, and a page of another kind.
    PageReader looping = [&](std::uint32_t page, std::span<std::uint8_t> buffer) {
        std::fill(buffer.begin(), buffer.end(), 0);
        buffer[0] = 0x02;
        buffer[4] = std::uint8_t(page == 7 ? 8 : 7);
        return true;
    };
    EXPECT_THROW(readDefinitionPages(looping, 7, 4096), DamagedFile);
    PageReader dataPage = [](std::uint32_t, std::span<std::uint8_t> buffer) {
        std::fill(buffer.begin(), buffer.end(), 0);
        buffer[0] = 0x01;
        return true;
    };
    EXPECT_THROW(readDefinitionPages(dataPage, 7, 4096), DamagedFile);
    PageReader missing = [](std::uint32_t, std::span<std::uint8_t>) { return false; };
    EXPECT_THROW(readDefinitionPages(missing, 7, 4096), DamagedFile);
}
