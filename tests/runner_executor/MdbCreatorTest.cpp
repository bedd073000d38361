// Creating the empty database of a description.

#include "ExecutorFixture.h"

#include <fstream>

using namespace executortest;

namespace {

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(MdbCreator, CreatesADatabaseThatOpensForEitherExtension) {
    TempFolder folder;
    for (const char* name : {"new.mdb", "new.accdb", "new.data"}) {
        database::DatabaseDescription description;
        description.path = u16(folder / name);
        SQLExecutor::MdbCreator creator(description);
        ASSERT_TRUE(creator.create()) << u8(creator.message());
        EXPECT_FALSE(creator.hasError());
        EXPECT_EQ(u8(creator.message()), "");
        database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
        EXPECT_NO_THROW(connection.adoxCatalog()) << name;
    }
}

TEST(MdbCreator, ExistingFileIsNeverReplaced) {
    TempFolder folder;
    std::filesystem::path path = folder / "kept.mdb";
    std::ofstream(path, std::ios::binary) << "precious";
    database::DatabaseDescription description;
    description.path = u16(path);
    SQLExecutor::MdbCreator creator(description);
    EXPECT_FALSE(creator.create());
    EXPECT_TRUE(creator.hasError());
    EXPECT_TRUE(creator.message().starts_with(u"\r\nError: ")) << u8(creator.message());
    EXPECT_GT(creator.message().size(), std::u16string(u"\r\nError: ").size());
    EXPECT_EQ(bytesOf(path), "precious");
}

TEST(MdbCreator, MissingFolderFailsWithTheEnginesMessage) {
    TempFolder folder;
    database::DatabaseDescription description;
    description.path = u16(folder / "no" / "such" / "folder.mdb");
    SQLExecutor::MdbCreator creator(description);
    EXPECT_FALSE(creator.create());
    EXPECT_TRUE(creator.message().starts_with(u"\r\nError: "));
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

TEST(MdbCreator, DatabasePasswordProtectsTheNewFile) {
    TempFolder folder;
    database::DatabaseDescription description;
    description.path = u16(folder / "secret.accdb");
    description.databasePassword = u"s3cret";
    SQLExecutor::MdbCreator creator(description);
    ASSERT_TRUE(creator.create()) << u8(creator.message());

    database::DatabaseDescription withoutPassword = description;
    withoutPassword.databasePassword.clear();
    database::DatabaseConnection refused(withoutPassword, database::ProviderChoice::ByExtension);
    EXPECT_THROW(refused.adoConnection(), database::DbOpenException);
    database::DatabaseConnection accepted(description, database::ProviderChoice::ByExtension);
    EXPECT_NO_THROW(accepted.adoConnection());
}
