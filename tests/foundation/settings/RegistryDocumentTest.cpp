#include "Utf16File.h"

#include "foundation/settings/RegistryDocument.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

using namespace settings;

namespace {

constexpr char16_t kKey[] = u"HKEY_CURRENT_USER\\SOFTWARE\\Kelvor";
constexpr char16_t kRunKey[] = u"HKEY_CURRENT_USER\\SOFTWARE\\Kelrun";

std::optional<std::uint32_t> dword(const RegistryDocument& doc, std::u16string_view name,
                                   std::u16string_view key = kKey) {
    auto v = doc.value(key, name);
    if (!v || !std::holds_alternative<std::uint32_t>(*v))
        return std::nullopt;
    return std::get<std::uint32_t>(*v);
}

std::optional<std::u16string> string(const RegistryDocument& doc, std::u16string_view name) {
    auto v = doc.value(kKey, name);
    if (!v || !std::holds_alternative<std::u16string>(*v))
        return std::nullopt;
    return std::get<std::u16string>(*v);
}

// A string literal with its NUL bytes.
template <std::size_t N> std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

} // namespace

TEST(RegistryDocument, NewFileIsWrittenAsRegeditWritesIt) {
    RegistryDocument doc;
    doc.setValue(kKey, u"data3", std::uint32_t{1});
    doc.setValue(kKey, u"data6", std::u16string(u"\"C:\\Program Files\\m\u00E9ld.exe\" %p1 %p2"));
    doc.setValue(kRunKey, u"stoponerror", std::uint32_t{0});
    doc.setValue(kKey, u"data14", std::uint32_t{0xFFFFFFFF});
    EXPECT_EQ(doc.bytes(),
              utf16File(u"Windows Registry Editor Version 5.00\r\n"
                        u"\r\n"
                        u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n"
                        u"\"data3\"=dword:00000001\r\n"
                        u"\"data6\"=\"\\\"C:\\\\Program Files\\\\m\u00E9ld.exe\\\" %p1 %p2\"\r\n"
                        u"\"data14\"=dword:ffffffff\r\n"
                        u"\r\n"
                        u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\r\n"
                        u"\"stoponerror\"=dword:00000000\r\n"
                        u"\r\n"));
    RegistryDocument again(doc.bytes());
    EXPECT_EQ(dword(again, u"data14"), 0xFFFFFFFFu);
    EXPECT_EQ(string(again, u"data6"), u"\"C:\\Program Files\\m\u00E9ld.exe\" %p1 %p2");
    EXPECT_EQ(again.bytes(), doc.bytes());
}

TEST(RegistryDocument, ReplacingAValueTouchesOnlyItsLine) {
    std::string before = utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                   u"; kept comment\r\n"
                                   u"[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                                   u"\"data3\"=dword:00000007\r\n\r\n"
                                   u"[hkey_current_user\\software\\kelvor]\r\n"
                                   u"\"Data3\"=dword:00000000\r\n"
                                   u"\"unknown\"=hex(2):25,00,00,00\r\n"
                                   u"\"broken\"=dword:xyz\r\n");
    RegistryDocument doc(before);
    doc.setValue(kKey, u"data3", std::uint32_t{2});
    EXPECT_EQ(doc.bytes(), utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                     u"; kept comment\r\n"
                                     u"[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                                     u"\"data3\"=dword:00000007\r\n\r\n"
                                     u"[hkey_current_user\\software\\kelvor]\r\n"
                                     u"\"data3\"=dword:00000002\r\n"
                                     u"\"unknown\"=hex(2):25,00,00,00\r\n"
                                     u"\"broken\"=dword:xyz\r\n"));
    EXPECT_EQ(dword(RegistryDocument(doc.bytes()), u"data3"), 2u);
    EXPECT_EQ(dword(doc, u"data3", u"HKEY_CURRENT_USER\\Software\\Other"), 7u);
}

TEST(RegistryDocument, NewValueJoinsTheKeyBeforeItsBlankLines) {
    RegistryDocument doc(utf16File(u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n"
                                   u"\"data3\"=dword:00000001\r\n\r\n"
                                   u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\r\n"));
    doc.setValue(kKey, u"data4", std::uint32_t{1});
    doc.setValue(kRunKey, u"stoponerror", std::uint32_t{1});
    EXPECT_EQ(doc.bytes(), utf16File(u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n"
                                     u"\"data3\"=dword:00000001\r\n"
                                     u"\"data4\"=dword:00000001\r\n\r\n"
                                     u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\r\n"
                                     u"\"stoponerror\"=dword:00000001\r\n"));
}

TEST(RegistryDocument, Utf8FileWithUnixLineEndsStaysSo) {
    RegistryDocument doc("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n"
                         "\"data6\"=\"caf\xC3\xA9 %p1 %p2\"");
    EXPECT_EQ(string(doc, u"data6"), u"caf\u00E9 %p1 %p2");
    doc.setValue(kKey, u"data5", std::uint32_t{1});
    EXPECT_EQ(doc.bytes(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n"
                           "\"data6\"=\"caf\xC3\xA9 %p1 %p2\"\n"
                           "\"data5\"=dword:00000001\n");
    RegistryDocument marked("\xEF\xBB\xBF[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n");
    marked.setValue(kKey, u"data3", std::uint32_t{1});
    EXPECT_EQ(marked.bytes(), "\xEF\xBB\xBF[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n"
                              "\"data3\"=dword:00000001\r\n");
}

TEST(RegistryDocument, StringsThatCannotBeQuotedAreWrittenAsBytes) {
    RegistryDocument doc;
    std::u16string multiLine = u"line 1\r\nline \"2\"";
    doc.setValue(kKey, u"data6", multiLine);
    std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find(utf16File(u"\"data6\"=hex(1):6c,00").substr(2)), std::string::npos);
    EXPECT_EQ(string(RegistryDocument(bytes), u"data6"), multiLine);

    // UTF-8 cannot hold a lone surrogate.
    RegistryDocument utf8("[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n");
    std::u16string lone = u"a";
    lone.push_back(0xD800);
    utf8.setValue(kKey, u"data6", lone);
    EXPECT_EQ(string(RegistryDocument(utf8.bytes()), u"data6"), lone);
}

TEST(RegistryDocument, ReadsRegeditFormsOfValues) {
    RegistryDocument doc("[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n"
                         "  \"data3\" = DWORD:0000000A  \n"
                         "\"data4\"=dword:00000001\n"
                         "\"data5\"=hex(4):02,00,00,01\n"
                         "\"data6\"=hex(1):61,00,\\\n"
                         "  62,00,00,00\n"
                         "\"data13\"=\"x\\\\y\"\n"
                         "@=\"default\"\n");
    EXPECT_EQ(dword(doc, u"data3"), 10u);
    EXPECT_EQ(dword(doc, u"DATA4"), 1u);
    EXPECT_EQ(dword(doc, u"data5"), 0x01000002u);
    EXPECT_EQ(string(doc, u"data6"), u"ab");
    EXPECT_EQ(string(doc, u"data13"), u"x\\y");
    EXPECT_EQ(string(doc, u""), u"default");
    EXPECT_TRUE(doc.hasKey(u"hkey_current_user\\software\\KELVOR"));
    EXPECT_FALSE(doc.hasKey(kRunKey));
}

TEST(RegistryDocument, DamagedLinesAreSkippedAndKept) {
    std::string damaged = bytes("[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n"
                                "\"data3\"=dword:00000001\n"
                                "\"data3\"=dword:\n"        // truncated: the line above holds
                                "\"data4\"=dword:0000001\n" // cut short
                                "\"data5\"=\"1\"\n"         // a string where a number belongs
                                "\"data6\"=\"no end\n"
                                "\"data13\"=\"bad \\n escape\"\n"
                                "\"data14\"=hex(1):6\n" // odd byte count
                                "\"data8\n"
                                "\x00\x01\xFF\xFE garbage \x80\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun\n" // broken header
                                "\"stoponerror\"=dword:00000000\n");
    RegistryDocument doc(damaged);
    EXPECT_EQ(dword(doc, u"data3"), 1u);
    for (auto name : {u"data4", u"data6", u"data13", u"data14", u"data8"})
        EXPECT_FALSE(doc.value(kKey, name)) << text::toUtf8(name);
    EXPECT_FALSE(dword(doc, u"data5"));
    EXPECT_FALSE(doc.hasKey(kRunKey));
    EXPECT_FALSE(doc.value(kRunKey, u"stoponerror"));
    EXPECT_FALSE(doc.value(kKey, u"stoponerror"));

    // Writing a value keeps every other byte, the garbage included.
    doc.setValue(kKey, u"data6", std::u16string(u"meld %p1 %p2"));
    std::string after = doc.bytes();
    std::string line = "\"data6\"=\"meld %p1 %p2\"\n";
    ASSERT_NE(after.find(line), std::string::npos);
    after.replace(after.find(line), line.size(), "\"data6\"=\"no end\n");
    EXPECT_EQ(after, damaged);
}

TEST(RegistryDocument, BinaryGarbageIsKeptWhenAKeyIsAdded) {
    std::string garbage = bytes("\x7F"
                                "ELF\x02\x01\x01\x00\x00\xFF\x10\x13\x00");
    RegistryDocument doc(garbage);
    doc.setValue(kKey, u"data3", std::uint32_t{1});
    std::string after = doc.bytes();
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(dword(RegistryDocument(after), u"data3"), 1u);

    // A UTF-16 file cut in the middle of a character: the broken character is completed so
    // that the new text stays aligned, and the cut line stays unreadable.
    RegistryDocument cut(utf16File(u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n"
                                   u"\"data3\"=dword:000") +
                         "\x30");
    cut.setValue(kKey, u"data4", std::uint32_t{1});
    RegistryDocument reread(cut.bytes());
    EXPECT_EQ(dword(reread, u"data4"), 1u);
    EXPECT_FALSE(reread.value(kKey, u"data3"));
}
