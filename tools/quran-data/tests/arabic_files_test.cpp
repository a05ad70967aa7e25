// The add-in's Arabic files on small hand-made sources.
#include "tools/quran-data/arabic_files.h"
#include "quran/quran_text.h"
#include "tools/quran-data/container.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/text.h"

#include <gtest/gtest.h>

using namespace quran_data;
using namespace std::string_literals;

namespace {

// 114 surahs; surah 1 holds every verse but the 113 single verses that follow it.
Source small_source(std::vector<Verse> first_surah_verses) {
    Source s;
    for (int n = 1; n <= quran::kSurahCount; ++n)
        s.surahs.push_back({n, U"x", U"Surah-" + from_utf8(std::to_string(n)), n == 1 ? quran::kVerseCount - 113 : 1});
    s.verses = std::move(first_surah_verses);
    return s;
}

std::uint32_t be24(const std::string& f, std::size_t at) {
    return std::uint32_t(static_cast<unsigned char>(f[at])) << 16 |
           std::uint32_t(static_cast<unsigned char>(f[at + 1])) << 8 | static_cast<unsigned char>(f[at + 2]);
}

// Block of entry k (1-based) of a data file.
std::string block(const std::string& f, int k) {
    std::size_t at = 2;
    for (int i = 1; i < k; ++i) at += 1 + static_cast<unsigned char>(f[at]);
    return f.substr(be24(f, at + 1), be24(f, at + 4));
}

TEST(GlyphWords, PairsAreStoredLastFirstAndTheVerseEndCarriesOneMoreByte) {
    const std::vector<GlyphPair> g = {{'1', 0x41}, {'6', 0xC7}, {'3', 0x20}};
    EXPECT_EQ(glyph_word(g, false),
              "3\x20"
              "6\xC7"
              "1\x41"s);
    EXPECT_EQ(glyph_word(g, true),
              "3\x20"
              "6\xC7"
              "1\x41"s +
                  kVerseEndByte);
    EXPECT_THROW(glyph_word({{'7', 1}}, false), DataError);
}

TEST(UnicodeArabic, MushafTextDropsOnlyTheThinSpaceOf2_72) {
    EXPECT_EQ(mushaf_text({2, 72, U"\u0641\u2009\u062A"}), U"\u0641\u062A");
    EXPECT_EQ(mushaf_text({2, 73, U"\u0641\u2009\u062A"}), U"\u0641\u2009\u062A");
}

TEST(SurahTable, RecordsOfThirtyFourBytesAndOffsetsBigEndian) {
    const Source s = small_source({});
    const std::string table = surah_table(s);
    ASSERT_EQ(table.size(), 114u * 34);
    EXPECT_EQ(table.substr(0, 34), "Surah-1" + std::string(23, ' ') + "\xEB\x17\0\0"s);  // 6123 little-endian
    EXPECT_EQ(table.substr(34, 34), "Surah-2" + std::string(23, ' ') + "\x01\0\0\0"s);
    const std::string offsets = surah_verse_offsets(s);
    ASSERT_EQ(offsets.size(), 228u);
    EXPECT_EQ(offsets.substr(0, 6), "\0\0\x17\xEB\x17\xEC"s);  // 0, 6123, 6124

    Source wrong = s;
    wrong.surahs[5].verse_count = 2;
    EXPECT_THROW(surah_verse_offsets(wrong), DataError);
    wrong = s;
    wrong.surahs[0].transliteration = U"A name much longer than thirty bytes";
    EXPECT_THROW(surah_table(wrong), DataError);
}

TEST(SurahTable, RichTextHeaderOpensOneGroupAndDefinesFont31) {
    const std::string h = rtf_header();
    EXPECT_TRUE(h.starts_with("{\\rtf1"));
    EXPECT_NE(h.find("{\\f31"), std::string::npos);
    int depth = 0;
    for (char c : h) depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    EXPECT_EQ(depth, 1);
}

TEST(UnicodeArabic, LowBytesFourByteIndexesAndTheThinSpaceOf2_72) {
    std::vector<Verse> verses = {{1, 1, U"\u0628\u0633 \u0645"}, {1, 2, U"\u0645"}, {2, 72, U"\u0641\u2009\u062A"}};
    const BuiltFile f = build_unicode_arabic(small_source(verses));
    EXPECT_EQ(f.distinct_words, 3u);
    EXPECT_EQ(static_cast<unsigned char>(f.bytes[0]), 4);
    EXPECT_EQ(block(f.bytes, 1), "\x28\x33\x45\x41\x2A"s);
    EXPECT_EQ(block(f.bytes, 2), "\x01\0\0\0\x03\0\0\0\x04\0\0\0\x06\0\0\0"s);
    EXPECT_EQ(block(f.bytes, 3), "\0\x01\0\x02\0\x02\0\x03"s);
    EXPECT_EQ(block(f.bytes, 4), "\x01\0\0\0\x05\0\0\0\x07\0\0\0\x09\0\0\0"s);

    verses[1].text = U"\u0645\u2009";  // a thin space anywhere else is an error
    EXPECT_THROW(build_unicode_arabic(small_source(verses)), DataError);
    verses[1].text = U"abc";
    EXPECT_THROW(build_unicode_arabic(small_source(verses)), DataError);
}

TEST(UnicodeArabic, NoMoreThan32767Words) {
    std::vector<Verse> verses;
    for (char32_t n = 0; n < 32768; ++n)
        verses.push_back({1, static_cast<int>(n) + 1,
                          std::u32string{U'\u0628', char32_t(0x0600 + (n & 0xFF)), char32_t(0x0600 + (n >> 8))}});
    EXPECT_THROW(build_unicode_arabic(small_source(verses)), DataError);
    verses.pop_back();
    EXPECT_EQ(build_unicode_arabic(small_source(verses)).distinct_words, 32767u);
}

// Every character one pair of key "1" and its low byte, so the stored words can be read back.
class LowByteGlyphs final : public GlyphMapping {
public:
    std::vector<GlyphPair> glyphs(std::u32string_view word) const override {
        std::vector<GlyphPair> out;
        for (char32_t c : word) out.push_back({'1', static_cast<unsigned char>(c & 0xFF)});
        return out;
    }
};

std::u32string end_mark(int ayah) { return std::u32string(1, static_cast<char32_t>(U'\u0660' + ayah)); }

TEST(ArabicGlyphs, SevenEntriesVerseEndWordLastAndTheSentinelOnlyThere) {
    const std::vector<Verse> verses = {{1, 1, U""}, {1, 2, U""}};
    const std::vector<std::u32string> texts = {U"\u0628 \u0633", U"\u0628"};
    const BuiltFile f = build_arabic_glyphs(small_source(verses), texts, LowByteGlyphs(), end_mark);
    EXPECT_EQ(static_cast<unsigned char>(f.bytes[0]), 7);
    EXPECT_EQ(f.distinct_words, 4u);  // beh, seen, and the two verse ends with their sentinel
    EXPECT_EQ(block(f.bytes, 1),
              "1\x28"
              "1\x33"
              "1\x61"
              "6"
              "1\x62"
              "6"s);
    EXPECT_EQ(block(f.bytes, 2), "\0\0\x01\0\0\x03\0\0\x05\0\0\x08\0\0\x0B"s);
    EXPECT_EQ(block(f.bytes, 3),
              "\0\x01\0\x02\0\x03"
              "\0\x01\0\x04"s);
    EXPECT_EQ(block(f.bytes, 4), "\0\0\x01\0\0\x07\0\0\x0B"s);
    EXPECT_EQ(block(f.bytes, 6).size(), 114u * 34);
    EXPECT_EQ(block(f.bytes, 7), rtf_header());
    EXPECT_THROW(build_arabic_glyphs(small_source(verses), {U"\u0628"}, LowByteGlyphs(), end_mark), DataError);
}

}  // namespace
