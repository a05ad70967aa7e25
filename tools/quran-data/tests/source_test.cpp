// Reading the source package, text conversion and code pages: malformed input is refused loudly.
#include "tools/quran-data/source.h"
#include "quran/quran_text.h"
#include "tools/quran-data/codepage.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/text.h"

#include <gtest/gtest.h>

using namespace quran_data;
using namespace std::string_literals;

namespace {

// A source document of 114 surahs holding 6236 verses, surah 114 with the remainder.
std::string source_json(int verses_of_first = quran::kVerseCount - 113, int stated_first = quran::kVerseCount - 113) {
    std::string j = "[";
    for (int s = 1; s <= quran::kSurahCount; ++s) {
        const int n = s == 1 ? verses_of_first : 1;
        j += (s > 1 ? "," : "") + std::string("{\"id\":") + std::to_string(s) +
             ",\"name\":\"\u0633\",\"transliteration\":\"S-" + std::to_string(s) +
             "\",\"total_verses\":" + std::to_string(s == 1 ? stated_first : 1) + ",\"verses\":[";
        for (int a = 1; a <= n; ++a)
            j += (a > 1 ? "," : "") + std::string("{\"id\":") + std::to_string(a) + ",\"text\":\"\u0628\"}";
        j += "]}";
    }
    return j + "]";
}

TEST(Source, ReadsSurahsAndVersesInOrder) {
    const Source s = parse_source(source_json(), "text", "test");
    ASSERT_EQ(s.surahs.size(), 114u);
    ASSERT_EQ(s.verses.size(), 6236u);
    EXPECT_EQ(s.surahs[1].transliteration, U"S-2");
    EXPECT_EQ(s.verses.back().surah, 114);
    EXPECT_EQ(s.verses.back().ayah, 1);
    EXPECT_EQ(s.verses[0].text, U"\u0628");
}

TEST(Source, RefusesWrongCountsOrderAndFields) {
    EXPECT_THROW(parse_source(source_json(quran::kVerseCount - 114, quran::kVerseCount - 114), "text", "t"),
                 DataError);  // 6235 verses
    EXPECT_THROW(parse_source(source_json(quran::kVerseCount - 113, 7), "text", "t"),
                 DataError);                                                   // stated count differs
    EXPECT_THROW(parse_source(source_json(), "translation", "t"), DataError);  // field missing
    std::string j = source_json();
    j.replace(j.find("{\"id\":2,"), 8, "{\"id\":3,");
    EXPECT_THROW(parse_source(j, "text", "t"), DataError);  // surah out of order
    EXPECT_THROW(parse_source("[1,", "text", "t"), DataError);
    EXPECT_THROW(load_arabic("/nonexistent"), DataError);
}

TEST(Text, Utf8RoundTripAndMalformedInput) {
    const std::u32string t = U"a\u00E9\u0628\u4E2D\U0001F600";
    EXPECT_EQ(from_utf8(to_utf8(t)), t);
    EXPECT_EQ(to_utf16(U"\U0001F600"), u"\U0001F600");
    EXPECT_THROW(from_utf8("\xC3"), DataError);          // truncated
    EXPECT_THROW(from_utf8("\xC0\xAF"), DataError);      // overlong
    EXPECT_THROW(from_utf8("\xED\xA0\x80"), DataError);  // surrogate
    EXPECT_THROW(from_utf8("\x80"), DataError);
}

TEST(Text, BlanksAndWords) {
    EXPECT_EQ(strip(U"\u2009 a b\t"), U"a b");
    EXPECT_EQ(collapse_blanks(U"a   b "), U"a b ");
    EXPECT_EQ(split_words(U"  a b  c "), (std::vector<std::u32string>{U"a", U"b", U"c"}));
    EXPECT_TRUE(split_words(U"   ").empty());
}

TEST(CodePages, TablesFromTheSystem) {
    const CodePage arabic(1256);
    EXPECT_EQ(arabic.encode(U"\u0627\u064E\u0651 a"), "\xC7\xF3\xF8 a"s);
    EXPECT_EQ(arabic.decode(0xC7), U'\u0627');
    EXPECT_FALSE(arabic.encode(U'\u06E1').has_value());
    try {
        arabic.encode(U"\u0627\u0670");
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("U+0670"), std::string::npos);
    }
    EXPECT_EQ(CodePage(1251).encode(U"\u042F"), "\xDF");
    EXPECT_EQ(CodePage(1254).encode(U"\u011F"), "\xF0");
    EXPECT_THROW(CodePage(99999), DataError);
}

}  // namespace
