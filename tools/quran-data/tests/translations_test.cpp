// Translation files: the three encodings, their trailers, mapped characters and the note blocks.
#include "tools/quran-data/translations.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/text.h"

#include <gtest/gtest.h>

using namespace quran_data;
using namespace std::string_literals;

namespace {

const Language kEnglish{"en", "English", TextEncoding::CodePage, 1252, 'L', 1033};
const Language kRussian{"ru", "Russian", TextEncoding::CodePage, 1251, 'L', 1049};
const Language kUrdu{"ur", "Urdu", TextEncoding::Hexadecimal, 0, 'R', 1056};
const Language kChinese{"zh", "Chinese", TextEncoding::ShiftedPair, 0, 'L', 2052};

TEST(TranslationEncoding, WordsInEachEncoding) {
    EXPECT_EQ(TranslationEncoder(kEnglish).encode_word(U"caf\u00E9\u2019"), "caf\xE9\x92"s);
    EXPECT_EQ(TranslationEncoder(kRussian).encode_word(U"\u042F"), "\xDF"s);
    EXPECT_EQ(TranslationEncoder(kUrdu).encode_word(U"\u0627a\u06D2"), "6270616D2");
    // (h - 1) * 256 + l: U+4E2D -> 4F 2D, "a" -> 01 61, U+3000 -> 31 00
    EXPECT_EQ(TranslationEncoder(kChinese).encode_word(U"\u4E2Da\u3000"), "\x4F\x2D\x01\x61\x31\x00"s);
    EXPECT_THROW(TranslationEncoder(kUrdu).encode_word(U"\u1E6D"), DataError);
    EXPECT_THROW(TranslationEncoder(kChinese).encode_word(U"\uFF0C"), DataError);
    EXPECT_THROW(TranslationEncoder(kRussian).encode_word(U"\u00E9"), DataError);
}

TEST(TranslationEncoding, TrailerIsDirectionLocaleAndMarker) {
    EXPECT_EQ(TranslationEncoder(kEnglish).trailer(), "L1033UNC");
    EXPECT_EQ(TranslationEncoder(kUrdu).trailer(), "R1056CNU");
    EXPECT_EQ(TranslationEncoder(kChinese).trailer(), "L2052CNN");
    for (const auto& lang : languages()) EXPECT_EQ(TranslationEncoder(lang).trailer().size(), 8u) << lang.file_name;
}

TEST(TranslationEncoding, CharactersWithoutRoomAreWrittenPlainAndCounted) {
    TranslationEncoder urdu(kUrdu);
    EXPECT_EQ(urdu.prepare(U"\u201C\u0627\u201D\tx"), U"\"\u0627\" x");
    EXPECT_EQ(urdu.counts().at("U+201C -> '\"'"), 1);
    EXPECT_EQ(urdu.counts().at("U+0009 -> blank"), 1);
    // a dotted transliteration letter keeps its dot as a combining mark
    EXPECT_EQ(urdu.prepare(U"\u1E6Da"), U"t\u0323a");

    TranslationEncoder chinese(kChinese);
    EXPECT_EQ(chinese.prepare(U"\u4E2D\uFF0C\uFF08x\uFF09"), U"\u4E2D,(x)");
    EXPECT_EQ(chinese.counts().size(), 3u);

    // code pages hold curly quotes: nothing to map
    TranslationEncoder english(kEnglish);
    EXPECT_EQ(english.prepare(U"\u2018a\u2019 [b]"), U"\u2018a\u2019 [b]");
    EXPECT_TRUE(english.counts().empty());
    EXPECT_THROW(TranslationEncoder(kRussian).prepare(U"\u4E2D"), DataError);
}

TEST(TranslationEncoding, NoSquareBracketsWhereReadersTakeThemForNotes) {
    TranslationEncoder urdu(kUrdu);
    EXPECT_EQ(urdu.prepare(U"[All] praise"), U"(All) praise");
    EXPECT_EQ(urdu.counts().at("'[' -> '('"), 1);
    TranslationEncoder chinese(kChinese);
    EXPECT_EQ(chinese.prepare(U"\uFF3B1\uFF3D"), U"(1)");  // fullwidth brackets too
}

TEST(TranslationEncoding, DamagedCharacterReferencesAreRepaired) {
    TranslationEncoder bengali({"bn", "Bengali", TextEncoding::Hexadecimal, 0, 'L', 2117});
    EXPECT_EQ(bengali.prepare(U"\u0995\uA9A32453; \u6826#2438;x"), U"\u0995\u0995 \u0986x");
    EXPECT_EQ(bengali.counts().size(), 2u);
    EXPECT_THROW(bengali.prepare(U"\uA9A3 2453;"), DataError);
}

TEST(TranslationFile, EntriesNotesAndTrailer) {
    const std::vector<Verse> verses = {{1, 1, U"In the name"}, {1, 2, U"the  end"}, {1, 3, U""}};
    const BuiltTranslation t = build_translation(verses, kEnglish);
    EXPECT_EQ(t.distinct_words, 4u);  // In, the, name, end
    const std::string& f = t.bytes;
    ASSERT_GT(f.size(), 8u);
    EXPECT_EQ(f.substr(f.size() - 8), "L1033UNC");
    EXPECT_EQ(f.substr(0, 2), "\x06\0"s);
    // the words and verses: In|the|name|end, verses 1 2 3 / 2 4 / nothing
    EXPECT_NE(f.find("Inthenameend"), std::string::npos);
    EXPECT_NE(f.find("\0\x01\0\x02\0\x03\0\x02\0\x04"s), std::string::npos);
    EXPECT_NE(f.find("\0\0\x01\0\0\x07\0\0\x0B\0\0\x0B"s), std::string::npos);
    // the notes: an empty block and an index of one closing position, right before the trailer
    EXPECT_EQ(f.substr(f.size() - 11, 3), "\0\0\x01"s);
}

}  // namespace
