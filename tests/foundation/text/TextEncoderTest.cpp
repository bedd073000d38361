#include "foundation/text/TextEncoder.h"
#include "foundation/text/ByteOrderMark.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace text;

namespace {

std::vector<unsigned char> bytesOf(ByteSpan span) {
    return {span.begin(), span.end()};
}

std::u16string decodeWith(ITextEncoder& encoder, const std::vector<unsigned char>& bytes) {
    std::u16string out;
    encoder.decode(bytes.data(), bytes.size(), out);
    return out;
}

} // namespace

TEST(TextEncoder, MarksAndFactory) {
    EXPECT_TRUE(createTextEncoder(TextEncoding::ASCII)->bom().empty());
    EXPECT_EQ(bytesOf(createTextEncoder(TextEncoding::UTF8)->bom()),
              (std::vector<unsigned char>{0xEF, 0xBB, 0xBF}));
    EXPECT_EQ(bytesOf(createTextEncoder(TextEncoding::UTF16)->bom()),
              (std::vector<unsigned char>{0xFF, 0xFE}));
    EXPECT_THROW(createTextEncoder(TextEncoding(4)), std::invalid_argument);
}

TEST(TextEncoder, Windows1252RoundTripsEveryByte) {
    TextEncoderASCII ansi;
    std::vector<unsigned char> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<unsigned char>(i);
    std::u16string text = decodeWith(ansi, all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(text[0x80], u'\u20AC');
    EXPECT_EQ(text[0x8A], u'\u0160');
    EXPECT_EQ(text[0x9F], u'\u0178');
    EXPECT_EQ(text[0xE9], u'\u00E9');
    // The undefined bytes decode to the C1 controls of the same value.
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text[b], char16_t(b)) << b;
    // Encoding the whole string stops at the NUL in front; skip it.
    std::u16string rest = text.substr(1);
    EXPECT_EQ(bytesOf(ansi.encode(rest)), std::vector<unsigned char>(all.begin() + 1, all.end()));
}

TEST(TextEncoder, AnsiWritesQuestionMarkForWhatItCannotRepresent) {
    TextEncoderASCII ansi;
    // U+0080 is a C1 control that 1252 does not define; a surrogate pair is one character.
    std::u16string text = u"a\u0080\u4E2D\U0001F600\xD800z";
    EXPECT_EQ(bytesOf(ansi.encode(text)),
              (std::vector<unsigned char>{'a', '?', '?', '?', '?', 'z'}));
}

TEST(TextEncoder, Utf8EncodesEveryPlaneAndLoneSurrogates) {
    TextEncoderUTF8 utf8;
    std::u16string text = u"\u00E9\u20AC\U0001F600";
    text.push_back(0xDC00);
    EXPECT_EQ(bytesOf(utf8.encode(text)),
              (std::vector<unsigned char>{0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80,
                                          0xEF, 0xBF, 0xBD}));
}

TEST(TextEncoder, LargeTextBeyondU07FFEncodesWhole) {
    TextEncoderUTF8 utf8;
    std::u16string text(100000, u'\u4E2D');
    ByteSpan bytes = utf8.encode(text);
    ASSERT_EQ(bytes.size(), 300000u);
    EXPECT_EQ(bytes[299997], 0xE4);
    EXPECT_EQ(bytes[299999], 0xAD);
    EXPECT_EQ(decodeWith(utf8, bytesOf(bytes)), text);
}

TEST(TextEncoder, EmbeddedNulCutsAnsiAndUtf8ButNotUtf16) {
    std::u16string text(u"ab\0cd", 5);
    TextEncoderASCII ansi;
    TextEncoderUTF8 utf8;
    TextEncoderUTF16 utf16;
    EXPECT_EQ(ansi.encode(text).size(), 2u);
    EXPECT_EQ(utf8.encode(text).size(), 2u);
    EXPECT_EQ(utf16.encode(text).size(), 10u);
    EXPECT_EQ(utf16.encode(text.c_str()).size(), 4u); // a C string ends at its NUL
}

TEST(TextEncoder, ScratchBufferOnlyGrows) {
    TextEncoderUTF8 utf8;
    const unsigned char* big = utf8.encode(std::u16string(1000, u'x')).data();
    const unsigned char* small = utf8.encode(u"abc").data();
    EXPECT_EQ(small, big);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(small), 3), "abc");
    // The UTF-16 encoder hands out the caller's own storage.
    TextEncoderUTF16 utf16;
    std::u16string text = u"xyz";
    EXPECT_EQ(utf16.encode(text).data(), reinterpret_cast<const unsigned char*>(text.data()));
    EXPECT_TRUE(TextEncoderASCII().encode(static_cast<const char16_t*>(nullptr)).empty());
}

TEST(TextEncoder, Utf16DecodeAppendsAndDropsOddByte) {
    TextEncoderUTF16 utf16;
    std::u16string out = u"x";
    const unsigned char bytes[] = {0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x42};
    utf16.decode(bytes, sizeof bytes, out);
    EXPECT_EQ(out, u"xA\U0001F600");
    // The other two replace what the string held.
    out = u"old";
    TextEncoderUTF8().decode("new", 3, out);
    EXPECT_EQ(out, u"new");
    out = u"old";
    TextEncoderASCII().decode("", 0, out);
    EXPECT_EQ(out, u"");
}

TEST(ByteOrderMark, ChoosesTheDecoderByTheFirstBytes) {
    auto decode = [](std::vector<unsigned char> b) { return decodeByBom(b.data(), b.size()); };
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF, 0x41}), u"A");
    EXPECT_EQ(decode({0xFF, 0xFE, 0x41, 0x00}), u"A");
    EXPECT_EQ(decode({0x41, 0x42}), u"AB");
    EXPECT_EQ(decode({0xEF, 0xBB}), u"\u00EF\u00BB"); // shorter than the mark: ANSI
    EXPECT_EQ(decode({0xFE, 0xFF, 0x00, 0x41}), std::u16string(u"\u00FE\u00FF\0A", 4));
    EXPECT_EQ(decode({0x80}), u"\u20AC");
    EXPECT_EQ(decodeByBom(nullptr, 0), u"");

    const unsigned char utf16[] = {0xFF, 0xFE, 0x41};
    DetectedEncoding detected = detectByBom(utf16, sizeof utf16);
    EXPECT_EQ(detected.encoding, TextEncoding::UTF16);
    EXPECT_EQ(detected.markLength, 2u);
    EXPECT_EQ(decodeByBom(utf16, sizeof utf16), u""); // the odd byte is dropped
}
