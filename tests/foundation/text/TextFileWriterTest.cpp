#include "foundation/text/TextFileWriter.h"
#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <signal.h>
#include <sys/resource.h>

using namespace text;
namespace fs = std::filesystem;

namespace {

class TextFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("kel-text-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::u16string path(const char* name) const { return fromUtf8((dir_ / name).string()); }

    static std::string contents(const std::u16string& path) {
        std::ifstream in(toUtf8(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static std::string writeWith(const std::u16string& path, TextEncoding encoding,
                                 const std::u16string& text) {
        TextFileWriter writer(path, encoding, {});
        writer.open();
        writer.write(text);
        EXPECT_TRUE(writer.close());
        return contents(path);
    }

    fs::path dir_;
};

std::u16string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const IOException& e) {
        return e.message();
    }
    return u"(no exception)";
}

} // namespace

TEST_F(TextFileWriterTest, WritesMarkThenText) {
    EXPECT_EQ(writeWith(path("a.txt"), TextEncoding::UTF8, u"abc"), "\xEF\xBB\xBF"
                                                                    "abc");
    EXPECT_EQ(writeWith(path("b.txt"), TextEncoding::UTF16, u"abc"), std::string("\xFF\xFE"
                                                                                 "a\0b\0c\0",
                                                                                 8));
    EXPECT_EQ(writeWith(path("c.txt"), TextEncoding::ASCII, u"abc"), "abc");
}

TEST_F(TextFileWriterTest, LineEndsPassThroughUnchanged) {
    EXPECT_EQ(writeWith(path("a.txt"), TextEncoding::ASCII, u"1\r\n2\n3\r"), "1\r\n2\n3\r");
    EXPECT_EQ(writeWith(path("b.txt"), TextEncoding::UTF16, u"\r\n"),
              std::string("\xFF\xFE\r\0\n\0", 6));
}

TEST_F(TextFileWriterTest, NoWriteOrEmptyWriteLeavesOnlyTheMark) {
    for (auto encoding : {TextEncoding::ASCII, TextEncoding::UTF8, TextEncoding::UTF16}) {
        std::u16string p = path("f.txt");
        TextFileWriter writer(p, encoding, {});
        writer.open();
        writer.write(u"");
        writer.write(static_cast<const char16_t*>(u""));
        writer.close();
        auto mark = createTextEncoder(encoding)->bom();
        EXPECT_EQ(contents(p), std::string(mark.begin(), mark.end()));
    }
}

TEST_F(TextFileWriterTest, SeveralWritesAppendAndOpenTruncates) {
    std::u16string p = path("s.txt");
    writeWith(p, TextEncoding::ASCII, u"a much longer first version");
    TextFileWriter writer(p); // the comparer's default: UTF-8
    writer.open();
    writer.write(u"caf\u00E9");
    writer.write(std::u16string(u"\r\n\u20AC"));
    writer.close();
    EXPECT_EQ(contents(p), "\xEF\xBB\xBF"
                           "caf\xC3\xA9\r\n\xE2\x82\xAC");
}

TEST_F(TextFileWriterTest, EmbeddedNulReachesOnlyUtf16Files) {
    std::u16string text(u"a\0b", 3);
    EXPECT_EQ(writeWith(path("a.txt"), TextEncoding::UTF8, text), "\xEF\xBB\xBF"
                                                                  "a");
    EXPECT_EQ(writeWith(path("b.txt"), TextEncoding::UTF16, text), std::string("\xFF\xFE"
                                                                               "a\0\0\0b\0",
                                                                               8));
}

TEST_F(TextFileWriterTest, MissingDirectoryMessageInBothVariants) {
    std::u16string p = path("missing/x.txt");
    EXPECT_EQ(messageOf([&] { TextFileWriter(p).open(); }), u"Can't create file:\n" + p);
    EXPECT_EQ(messageOf([&] { TextFileWriter(p, TextEncoding::UTF16, {}).open(); }),
              u"Can't create file.");
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(TextFileWriterTest, FailedWriteClosesAndReportsInBothVariants) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    for (auto messages : {FileMessages::Brief, FileMessages::WithPath}) {
        TextFileWriter writer(u"/dev/full", TextEncoding::ASCII, {.messages = messages});
        writer.open(); // no mark for ASCII, so opening succeeds
        std::u16string message = messageOf([&] { writer.write(u"x"); });
        EXPECT_EQ(message, messages == FileMessages::WithPath ? u"Can't write file:\n/dev/full"
                                                              : u"Can't write file.");
        EXPECT_FALSE(writer.close()); // already closed by the failure
        EXPECT_EQ(messageOf([&] { writer.write(u"y"); }).substr(0, 16), u"Can't write file");
    }
}

TEST_F(TextFileWriterTest, MarkThatCannotBeWrittenFailsOpen) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TextFileWriter writer(u"/dev/full", TextEncoding::UTF8, {});
    EXPECT_EQ(messageOf([&] { writer.open(); }), u"Can't write file.");
}

TEST(IOException, CarriesTheMessageInBothForms) {
    IOException e(u"Can't create file:\n/tmp/\u00E9");
    EXPECT_EQ(e.message(), u"Can't create file:\n/tmp/\u00E9");
    EXPECT_STREQ(e.what(), "Can't create file:\n/tmp/\xC3\xA9");
    IOException copy = e;
    EXPECT_EQ(copy.message(), e.message());
}

// A file that replaces the old one at close: until a clean close the old content stays, and
// a writer given up half way (a crash, a kill, an exception) leaves nothing of the new one.
TEST_F(TextFileWriterTest, ReplacingWriterKeepsTheOldFileUntilACleanClose) {
    std::u16string script = path("sync.sql");
    writeWith(script, TextEncoding::ASCII, u"old script");
    {
        TextFileWriter writer(script, TextEncoding::ASCII, {.replaceAtClose = true});
        writer.open();
        writer.write(u"CREATE TABLE [Half]");
        EXPECT_EQ(contents(script), "old script");
    } // given up without close
    EXPECT_EQ(contents(script), "old script");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    fs::permissions(toUtf8(script), fs::perms::owner_read | fs::perms::owner_write);
    TextFileWriter writer(script, TextEncoding::ASCII, {.replaceAtClose = true});
    writer.open();
    writer.write(u"new script");
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(contents(script), "new script");
    EXPECT_EQ(fs::status(toUtf8(script)).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// The file-size limit stands in for a full disk: the write fails with the message, and the
// old file is all that is left.
TEST_F(TextFileWriterTest, ReplacingWriterOnAFullDiskLeavesTheOldFile) {
    std::u16string script = path("sync.sql");
    writeWith(script, TextEncoding::ASCII, u"old script");
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::u16string message;
    {
        TextFileWriter writer(script, TextEncoding::UTF8,
                              {.messages = FileMessages::WithPath, .replaceAtClose = true});
        writer.open();
        message = messageOf([&] { writer.write(std::u16string(10000, u'x')); });
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, u"Can't write file:\n" + script);
    EXPECT_EQ(contents(script), "old script");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}
