#include "ScratchFolder.h"

#include "foundation/platform/PrivateFiles.h"
#include "foundation/platform/UserDirectories.h"
#include "foundation/text/IOException.h"
#include "foundation/text/TextFileWriter.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::u16string wide(const fs::path& p) {
    return text::fromUtf8(p.string());
}

unsigned modeOf(const fs::path& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : ~0u;
}

std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

} // namespace

TEST(UserDirectories, FollowTheXdgRules) {
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    EXPECT_EQ(configHome(), fs::path("/cfg"));
    EXPECT_EQ(dataHome(), fs::path("/home/someone/.local/share"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(configHome(), fs::path("/home/someone/.config"));

    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(tempDirectory(), u"/var/tmp/");
    ::setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(tempDirectory(), u"/var/tmp/");
    ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(tempDirectory(), u"/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(tempDirectory(), u"/tmp/");
}

TEST(PrivateFiles, CreatePrivateFileRefusesAnythingInTheWay) {
    ScratchFolder dir;
    fs::path file = dir / "a.tmp";
    ASSERT_TRUE(createPrivateFile(wide(file)));
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(fs::file_size(file), 0u);
    EXPECT_FALSE(createPrivateFile(wide(file)));

    // A dangling link would otherwise create its target.
    fs::path link = dir / "link.tmp";
    fs::create_symlink(dir / "target", link);
    EXPECT_FALSE(createPrivateFile(wide(link)));
    EXPECT_FALSE(fs::exists(dir / "target"));
}

TEST(PrivateFiles, UniqueTempFilesAreNamedLikeWindowsOnes) {
    ScratchFolder dir;
    auto first = createUniqueTempFile(wide(dir.path()), u"KLVT");
    auto second = createUniqueTempFile(wide(dir.path()) + u"/", u"KLVT");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    std::string name = fs::path(text::toUtf8(*first)).filename().string();
    ASSERT_EQ(name.size(), 11u) << name;
    EXPECT_EQ(name.substr(0, 3), "KLV");
    EXPECT_EQ(name.substr(7), ".TMP");
    EXPECT_EQ(name.substr(3, 4).find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(modeOf(text::toUtf8(*first)), 0600u);
    EXPECT_FALSE(createUniqueTempFile(wide(dir / "missing"), u"KLV"));
}

TEST(PrivateFiles, OpenPrivateFileTruncatesOnlyTheUsersOwnPlainFile) {
    ScratchFolder dir;
    fs::path own = dir / "own.tmp";
    put(own, "old content");
    fs::permissions(own, fs::perms::all);
    std::FILE* f = openPrivateFile(own.c_str());
    ASSERT_NE(f, nullptr);
    std::fputs("new", f);
    std::fclose(f);
    EXPECT_EQ(contents(own), "new");
    EXPECT_EQ(modeOf(own), 0600u);

    fs::path created = dir / "created.tmp";
    f = openPrivateFile(created.c_str());
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(modeOf(created), 0600u);

    // A planted link or a second name of another file must not be written through.
    fs::path victim = dir / "victim";
    put(victim, "keep");
    fs::path link = dir / "link.tmp";
    fs::create_symlink(victim, link);
    EXPECT_EQ(openPrivateFile(link.c_str()), nullptr);
    fs::path hardLink = dir / "hard.tmp";
    fs::create_hard_link(victim, hardLink);
    EXPECT_EQ(openPrivateFile(hardLink.c_str()), nullptr);
    EXPECT_EQ(contents(victim), "keep");

    // A FIFO would block a plain open for writing.
    fs::path fifo = dir / "fifo.tmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(openPrivateFile(fifo.c_str()), nullptr);
}

TEST(PrivateFiles, MakePrivateDirectoriesCreatesMissingParents) {
    ScratchFolder dir;
    fs::path deep = dir / "a/b/c";
    ASSERT_TRUE(makePrivateDirectories(deep));
    EXPECT_EQ(modeOf(dir / "a"), 0700u);
    EXPECT_EQ(modeOf(deep), 0700u);
    EXPECT_TRUE(makePrivateDirectories(deep)); // already there
    put(dir / "file", "x");
    EXPECT_FALSE(makePrivateDirectories(dir / "file/sub"));
}

TEST(PrivateFiles, TemporaryTextFilesGoThroughTheWriter) {
    ScratchFolder dir;
    auto path = createUniqueTempFile(wide(dir.path()), u"KLVT");
    ASSERT_TRUE(path);
    text::TextFileWriter writer(
        *path, text::TextEncoding::UTF16,
        {.messages = text::FileMessages::WithPath, .opener = openPrivateFile});
    writer.open();
    writer.write(u"A");
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(contents(text::toUtf8(*path)), std::string("\xFF\xFE"
                                                         "A\0",
                                                         4));
    EXPECT_EQ(modeOf(text::toUtf8(*path)), 0600u);

    fs::path link = dir / "kvc-link.tmp";
    fs::create_symlink(dir / "elsewhere", link);
    text::OutputFile file(wide(link), {.opener = openPrivateFile});
    try {
        file.open();
        ADD_FAILURE() << "opened through a symbolic link";
    } catch (const text::IOException& e) {
        EXPECT_EQ(e.message(), u"Can't create file.");
    }
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}
