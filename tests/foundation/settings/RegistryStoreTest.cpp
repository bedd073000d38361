#include "ChildProcess.h"
#include "SettingsHome.h"

#include "foundation/settings/RegistryKey.h"
#include "foundation/settings/RegistryWriter.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <csignal>
#include <sys/resource.h>

using namespace settings;

namespace {
constexpr char16_t kKelvor[] = u"SOFTWARE\\Kelvor";
constexpr char16_t kKelrun[] = u"SOFTWARE\\Kelrun";
} // namespace

TEST(RegistryStore, OpenFindsOnlyKeysThatExist) {
    SettingsHome home;
    EXPECT_FALSE(RegistryKey::open(kKelvor)); // no file
    RegistryBoolWriter writer(u"stoponerror", false);
    ASSERT_TRUE(writeRegistryValue(kKelrun, writer));
    EXPECT_FALSE(RegistryKey::open(kKelvor));
    auto key = RegistryKey::open(kKelrun);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readDword(u"stoponerror"), 0u);
    EXPECT_FALSE(key->readString(u"stoponerror", 1024)); // a double word is not a string
    EXPECT_EQ(std::filesystem::status(home.storeFile()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(RegistryStore, WritersStoreTheirTypes) {
    SettingsHome home;
    RegistryIntWriter negative(u"data14", -2);
    RegistryStringWriter cut(u"data6", std::u16string(u"before\0after", 12));
    RegistryBoolWriter flag(u"data3", true);
    ASSERT_TRUE(writeRegistryValue(kKelvor, negative));
    ASSERT_TRUE(writeRegistryValue(kKelvor, cut));
    ASSERT_TRUE(writeRegistryValue(kKelvor, flag));
    auto key = RegistryKey::open(kKelvor);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readDword(u"data14"), 0xFFFFFFFEu);
    EXPECT_EQ(key->readString(u"data6", 1024), u"before"); // a zero-terminated string
    EXPECT_EQ(key->readDword(u"data3"), 1u);
}

TEST(RegistryStore, WriteSeesChangesMadeByOthersSinceOpening) {
    SettingsHome home;
    auto mine = RegistryKey::create(kKelvor);
    ASSERT_TRUE(mine);
    auto theirs = RegistryKey::create(kKelvor);
    ASSERT_TRUE(theirs->writeDword(u"data3", 1));
    ASSERT_TRUE(mine->writeDword(u"data4", 1)); // must not undo the other write
    auto key = RegistryKey::open(kKelvor);
    EXPECT_EQ(key->readDword(u"data3"), 1u);
    EXPECT_EQ(key->readDword(u"data4"), 1u);
}

TEST(RegistryStore, TwoProcessesWritingAtOnceLoseNothing) {
    SettingsHome home;
    constexpr int kValues = 100;
    auto writeMany = [](const char16_t* subKey, char16_t prefix) {
        return [=] {
            for (int i = 0; i < kValues; ++i) {
                std::u16string name = prefix + text::toWString(i);
                RegistryIntWriter writer(name, i * 7 + 1);
                if (!writeRegistryValue(subKey, writer))
                    ::_exit(1);
            }
        };
    };
    // Both write into the same key, and one of them also into the other key.
    pid_t first = startChild(writeMany(kKelvor, u'a'));
    pid_t second = startChild([&] {
        writeMany(kKelvor, u'b')();
        RegistryBoolWriter writer(u"stoponerror", false);
        if (!writeRegistryValue(kKelrun, writer))
            ::_exit(1);
    });
    int firstStatus = waitChild(first);
    int secondStatus = waitChild(second);
    ASSERT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 0);
    ASSERT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0);

    auto key = RegistryKey::open(kKelvor);
    ASSERT_TRUE(key);
    for (int i = 0; i < kValues; ++i) {
        for (char16_t prefix : {u'a', u'b'}) {
            std::u16string name = prefix + text::toWString(i);
            EXPECT_EQ(key->readDword(name), std::uint32_t(i * 7 + 1)) << text::toUtf8(name);
        }
    }
    EXPECT_EQ(RegistryKey::open(kKelrun)->readDword(u"stoponerror"), 0u);
    // Nothing but the store and its lock is left in the folder.
    std::size_t files = 0;
    for ([[maybe_unused]] auto& entry :
         std::filesystem::directory_iterator(home.storeFile().parent_path()))
        ++files;
    EXPECT_EQ(files, 2u);
}

// The file-size limit stands in for a full disk: a value whose new file cannot be written
// whole is reported as not stored, and the file keeps every byte it had, with nothing left
// beside it.
TEST(RegistryStore, AFullDiskKeepsTheOldFile) {
    SettingsHome home;
    RegistryStringWriter before(u"data6", u"kept");
    ASSERT_TRUE(writeRegistryValue(kKelvor, before));
    auto bytesOfStore = [&] {
        std::ifstream in(home.storeFile(), std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    };
    std::string old = bytesOfStore();

    pid_t child = startChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{rlim_t(old.size() + 100), rlim_t(old.size() + 100)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RegistryStringWriter tooLong(u"data7", std::u16string(5000, u'x'));
        RegistryIntWriter small(u"data4", 1);
        // The long value fails; the short one still fits and is stored.
        ::_exit(writeRegistryValue(kKelvor, tooLong) ? 1
                : writeRegistryValue(kKelvor, small) ? 0
                                                     : 2);
    });
    int status = waitChild(child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    auto key = RegistryKey::open(kKelvor);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString(u"data6", 1024), u"kept");
    EXPECT_FALSE(key->readString(u"data7", 10000));
    EXPECT_EQ(key->readDword(u"data4"), 1u);
    std::size_t files = 0;
    for ([[maybe_unused]] auto& entry :
         std::filesystem::directory_iterator(home.storeFile().parent_path()))
        ++files;
    EXPECT_EQ(files, 2u); // the store and its lock
}
