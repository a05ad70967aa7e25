#include <gtest/gtest.h>

#include "tarvelo/text_util.h"

using namespace mTarvelo;

TEST(TextUtil, ValReadsTheLeadingNumberOnly) {
    EXPECT_EQ(Val(u"002"), 2);
    EXPECT_EQ(Val(u"  12abc"), 12);
    EXPECT_EQ(Val(u"abc"), 0);
    EXPECT_EQ(Val(u""), 0);
    EXPECT_EQ(Val(u"1 2"), 12);
    // Typed into a verse box: held to 32 bits instead of converted out of range.
    EXPECT_EQ(WholeVal(u"99999999999"), 2147483647);
    EXPECT_EQ(WholeVal(u"-99999999999"), -2147483647 - 1);
    EXPECT_EQ(WholeVal(u"7.9"), 7);
}

TEST(TextUtil, LocaleNumbersFollowTheSeparators) {
    EXPECT_EQ(ParseLocaleNumber(u"10.5", u'.', u','), 10.5);
    EXPECT_EQ(ParseLocaleNumber(u"10,5", u',', u'.'), 10.5);
    EXPECT_EQ(ParseLocaleNumber(u" 12 ", u'.', u','), 12);
    EXPECT_EQ(ParseLocaleNumber(u"1,000", u'.', u','), 1000);
    EXPECT_FALSE(ParseLocaleNumber(u"", u'.', u','));
    EXPECT_FALSE(ParseLocaleNumber(u"12pt", u'.', u','));
    EXPECT_FALSE(ParseLocaleNumber(u".", u'.', u','));
    EXPECT_EQ(FormatNumber(21), "21");
    EXPECT_EQ(FormatNumber(20.5), "20.5");
}

TEST(TextUtil, CodePagesOfLocalesDecodeBytes) {
    EXPECT_EQ(CodePageForLcid(1025), 1256);
    EXPECT_EQ(CodePageForLcid(1033), 1252);
    EXPECT_EQ(CodePageForLcid(1049), 1251);
    EXPECT_EQ(DecodeLowBytes(std::u16string{0xC7, u'a', 0x1E1}, 1025), u"\u0627a\u0644");
    EXPECT_EQ(ToUtf8(FromUtf8("a\u0627\U0001F600")), "a\u0627\U0001F600");
}
