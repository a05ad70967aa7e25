#include "tarvelo/autoreplace/tag_reader.h"

#include <gtest/gtest.h>

namespace mTarvelo {
namespace {

TEST(TagReader, NumberValueReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(NumberValue(u"2:"), 2);
    EXPECT_EQ(NumberValue(u"002:"), 2);
    EXPECT_EQ(NumberValue(u"  17A]"), 17);
    EXPECT_EQ(NumberValue(u"1-2A]"), 1);
    EXPECT_EQ(NumberValue(u"A]"), 0);
    EXPECT_EQ(NumberValue(u""), 0);
    EXPECT_EQ(NumberValue(u"-5A]"), -5);
    EXPECT_EQ(NumberValue(u"+5"), 5);
    EXPECT_EQ(NumberValue(u"- 5"), 0);
    // Far too many digits saturate instead of wrapping round to a small or negative number.
    EXPECT_GT(NumberValue(u"99999999999999999999999999"), 32767);
}

TEST(TagReader, ReadsNumbersAndLetters) {
    struct Case {
        std::u16string tag;
        std::int64_t surah, from, to;
        bool arabic, translation, alternate, sameLine;
    };
    const Case cases[] = {
        {u"[QS2:1-2A]", 2, 1, 2, true, false, false, true},   {u"[QS2:5T]", 2, 5, 5, false, true, false, true},
        {u"[QS2:1-2B]", 2, 1, 2, true, true, false, true},    {u"[QS2:255BN]", 2, 255, 255, true, true, false, false},
        {u"[QS1:1-7BS]", 1, 1, 7, true, true, true, true},    {u"[QS2:1-2]", 2, 1, 2, false, false, false, true},
        {u"[QS002:1A]", 2, 1, 1, true, false, false, true},   {u"[QS2:1-2AT]", 2, 1, 2, true, true, false, true},
        {u"[QS2:1-2TB]", 2, 1, 2, true, true, false, true},   {u"[QS2:300A]", 2, 300, 300, true, false, false, true},
        {u"[QS115:1A]", 115, 1, 1, true, false, false, true}, {u"[QS:1A]", 0, 1, 1, true, false, false, true},
        {u"[QS2:A]", 2, 0, 0, true, false, false, true},      {u"[QS2:5-A]", 2, 5, 0, true, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tag.begin(), c.tag.end()));
        const auto request = ReadTag(c.tag);
        ASSERT_TRUE(request.has_value());
        EXPECT_EQ(request->surah, c.surah);
        EXPECT_EQ(request->from, c.from);
        EXPECT_EQ(request->to, c.to);
        EXPECT_EQ(request->arabic, c.arabic);
        EXPECT_EQ(request->translation, c.translation);
        EXPECT_EQ(request->alternate, c.alternate);
        EXPECT_EQ(request->sameLine, c.sameLine);
    }
}

TEST(TagReader, RejectsTextThatIsNoTag) {
    EXPECT_FALSE(ReadTag(u"[QX2:1A]"));
    EXPECT_FALSE(ReadTag(u"[QS2.1A]"));
    EXPECT_FALSE(ReadTag(u"QS2:1A]"));
    EXPECT_FALSE(ReadTag(u"[qs2:1a]"));  // callers upper-case first
    EXPECT_FALSE(ReadTag(u""));
}

TEST(TagReader, UpperCasesOnlyAsciiLetters) {
    EXPECT_EQ(UpperCaseTag(u"[qs2:1-2b]"), u"[QS2:1-2B]");
    EXPECT_EQ(UpperCaseTag(u"[Qs2:1-2bSn]"), u"[QS2:1-2BSN]");
    EXPECT_EQ(UpperCaseTag(u"\u0628[qs"), u"\u0628[QS");
}

TEST(TagReader, InsertModeFromLetters) {
    TagRequest r;
    EXPECT_FALSE(RequestedInsertMode(r).has_value());
    r.arabic = true;
    EXPECT_EQ(RequestedInsertMode(r), 2);
    r.translation = true;
    EXPECT_EQ(RequestedInsertMode(r), 1);
    r.arabic = false;
    EXPECT_EQ(RequestedInsertMode(r), 3);
}

TEST(TagReader, CitationText) {
    EXPECT_EQ(CitationText(2, u"Al-Baqarah                    ", 1, 2), u"(QS2. Al-Baqarah ayat 1-2)");
    EXPECT_EQ(CitationText(2, u"  Al-Baqarah ", 5, 5), u"(QS2. Al-Baqarah ayat 5)");
    EXPECT_EQ(CitationText(114, u"An-Nas", 6, 3), u"(QS114. An-Nas ayat 6-3)");
    EXPECT_EQ(CitationText(1, u"", 1, 7), u"(QS1.  ayat 1-7)");
}

}  // namespace
}  // namespace mTarvelo
