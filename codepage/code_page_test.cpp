// The platform's code-page decoder: the same answers from iconv and from the Win32 API.
#include "codepage/code_page.h"

#include <gtest/gtest.h>

namespace {

using codepage::decode;

TEST(CodePage, DecodesSingleByteCodePages) {
    // Arabic: alef, lam, lam, heh; ASCII stays as it is.
    EXPECT_EQ(decode("\xC7\xE1\xE1\xE5 1:2", 1256), u"\u0627\u0644\u0644\u0647 1:2");
    // Arabic's extra letters outside the Arabic block: 0x81 is peh, 0x9D is ZWNJ.
    EXPECT_EQ(decode("\x81\x9D", 1256), u"\u067E\u200C");
    EXPECT_EQ(decode("\xE9t\xE9 \x80", 1252), u"\u00E9t\u00E9 \u20AC");
    EXPECT_EQ(decode("\xC0\xE1", 1251), u"\u0410\u0431");
    EXPECT_EQ(decode("", 1256), u"");
}

TEST(CodePage, DecodesDoubleByteCodePages) {
    EXPECT_EQ(decode("\x93\xFA\x96\x7B", 932), u"\u65E5\u672C");  // Japanese "Nihon"
    EXPECT_EQ(decode("\xD6\xD0"
                     "a",
                     936),
              u"\u4E2D"
              "a");  // Chinese "zhong", then ASCII
}

TEST(CodePage, ABrokenSequenceBecomesOneReplacementAndDecodingGoesOn) {
    // A lead byte at the end, cut off from its trail byte.
    EXPECT_EQ(decode("a\x93", 932), u"a\uFFFD");
    // A lead byte in the middle followed by a byte that cannot trail it, then valid text.
    EXPECT_EQ(decode("\x93\x0A\x93\xFA", 932).value().back(), u'\u65E5');
    // Bytes that Greek and Western European leave undefined (Windows would give them a C1 control).
    EXPECT_EQ(decode("a\xAA"
                     "b",
                     1253),
              u"a\uFFFD"
              "b");
    EXPECT_EQ(decode("\x80\x81\x8D", 1252), u"\u20AC\uFFFD\uFFFD");
}

TEST(CodePage, AnUnknownCodePageGivesNothing) {
    EXPECT_FALSE(decode("abc", 4242).has_value());
    EXPECT_FALSE(decode("abc", -1).has_value());
}

TEST(CodePage, LongInputLargerThanOneConversionBuffer) {
    const std::string bytes(10000, '\xC7');
    const auto text = decode(bytes, 1256);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, std::u16string(10000, u'\u0627'));
}

}  // namespace
