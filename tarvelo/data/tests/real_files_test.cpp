// The readers on the files the data tool builds: every verse of every file read back through the
// readers must give what the tool was given (the source package and the verse file), so that the
// writer and the readers agree on every byte of the format, not only on small hand-made files.
#include <gtest/gtest.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <map>

#include "tarvelo/data/data_files.h"

using namespace mTarvelo;
namespace fs = std::filesystem;

namespace {

#if defined(QV_DATA_DIR) && defined(QURAN_JSON_DIST)
const fs::path dataDir = QV_DATA_DIR;
const fs::path sourceDir = QURAN_JSON_DIST;
#else
const fs::path dataDir;
const fs::path sourceDir;
#endif

constexpr int verseTotal = 6236;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const nlohmann::json& Source(const std::string& language) {
    static std::map<std::string, nlohmann::json> loaded;
    auto [it, added] = loaded.try_emplace(language);
    if (added) {
        std::ifstream in(sourceDir / (language.empty() ? "quran.json" : "quran_" + language + ".json"));
        it->second = nlohmann::json::parse(in);
    }
    return it->second;
}

// The words of a text separated by single blanks, without blanks at either end.
std::u16string SingleBlanks(std::u16string_view text) {
    std::u16string out;
    bool blank = false;
    for (char16_t c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += u' ';
        blank = false;
        out += c;
    }
    return out;
}

// UTF-16LE bytes, one per character (AmbilUnicode's result), as text.
std::u16string FromUtf16Bytes(std::u16string_view bytes) {
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) out += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return out;
}

// The directory of a data file read straight from its bytes: (offset, length) of entries 1..n.
std::vector<std::pair<std::uint32_t, std::uint32_t>> Directory(const std::string& file) {
    auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(file.at(at)); };
    auto be3 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(byte(at) << 16 | byte(at + 1) << 8 | byte(at + 2));
    };
    const int count = byte(0) | byte(1) << 8;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
    std::size_t at = 2;
    for (int i = 0; i < count; ++i) {
        entries.emplace_back(be3(at + 1), be3(at + 4));
        at += 1 + byte(at);
    }
    return entries;
}

// The positions of an index block (3-byte big-endian or 4-byte little-endian).
std::vector<std::uint32_t> Positions(const std::string& file, std::pair<std::uint32_t, std::uint32_t> entry,
                                     int width) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t at = entry.first; at + static_cast<std::uint32_t>(width) <= entry.first + entry.second;
         at += static_cast<std::uint32_t>(width)) {
        std::uint32_t value = 0;
        for (int i = 0; i < width; ++i) {
            const std::uint32_t b = static_cast<std::uint8_t>(file.at(at + static_cast<std::uint32_t>(i)));
            value = width == 3 ? value << 8 | b : value | b << (8 * i);
        }
        out.push_back(value);
    }
    return out;
}

class RealDataFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (dataDir.empty() || !fs::exists(dataDir / "Arabic.dabrel") || !fs::exists(dataDir / "UnicodeArabic.dbu"))
            GTEST_SKIP() << "the data files are not built";
        ShowMessage = [this](std::u16string_view text) { messages.push_back(ToUtf8(text)); };
        DataFolderOverride = dataDir;
        CloseDataFiles();
        TranslationName.clear();
        loade();
        ASSERT_TRUE(messages.empty()) << messages.front();
    }
    void TearDown() override {
        CloseDataFiles();
        ShowMessage = nullptr;
        DataFolderOverride.reset();
        if (!scratch.empty()) fs::remove_all(scratch);
    }
    // A private folder for damaged copies of the real files.
    fs::path Scratch() {
        scratch = fs::temp_directory_path() / ("tarvelo-real-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        return scratch;
    }

    std::vector<std::string> messages;
    fs::path scratch;
};

TEST_F(RealDataFiles, EveryIndexStartsAtOneAndClosesItsBlock) {
    struct Pair {
        int index, block, width;
    };
    for (const auto& item : fs::directory_iterator(dataDir)) {
        const std::string name = item.path().filename().string();
        const bool unicode = name == "UnicodeArabic.dbu";
        const bool arabic = name == "Arabic.dabrel";
        if (!unicode && item.path().extension() != ".dabrel") continue;
        SCOPED_TRACE(name);
        const std::string file = ReadAll(item.path());
        const auto entries = Directory(file);
        ASSERT_EQ(entries.size(), unicode ? 4u : arabic ? 7u : 6u);
        // Blocks lie after the directory, inside the file and before a translation's trailer.
        for (const auto& [offset, length] : entries)
            EXPECT_LE(offset + length, file.size() - (unicode || arabic ? 0 : 8));
        std::vector<Pair> pairs = {{2, 1, unicode ? 4 : 3}, {4, 3, unicode ? 4 : 3}};
        if (!unicode && !arabic) pairs.push_back({6, 5, 3});
        for (const Pair& pair : pairs) {
            const auto positions = Positions(file, entries[static_cast<std::size_t>(pair.index - 1)], pair.width);
            ASSERT_FALSE(positions.empty());
            EXPECT_EQ(entries[static_cast<std::size_t>(pair.index - 1)].second % static_cast<unsigned>(pair.width), 0u);
            EXPECT_EQ(positions.front(), 1u);
            // The closing position: the last item ends where the block ends.
            EXPECT_EQ(positions.back(), entries[static_cast<std::size_t>(pair.block - 1)].second + 1);
            EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        }
        // One verse more in the index than there are verses; no notes, only the closing position.
        EXPECT_EQ(Positions(file, entries[3], unicode ? 4 : 3).size(), verseTotal + 1u);
        if (!unicode && !arabic) {
            EXPECT_EQ(Positions(file, entries[5], 3), std::vector<std::uint32_t>{1});
        }
        if (arabic) {
            EXPECT_EQ(entries[4].second, 2u * quran::kSurahCount);
            EXPECT_EQ(entries[5].second, static_cast<unsigned>(surahRecordSize * quran::kSurahCount));
        }
    }
}

TEST_F(RealDataFiles, SurahTableAndOffsetsAreTheSourceSurahs) {
    const auto& surahs = Source("");
    ASSERT_EQ(surahs.size(), static_cast<std::size_t>(quran::kSurahCount));
    int before = 0;
    for (int s = 1; s <= quran::kSurahCount; ++s) {
        const auto& surah = surahs[static_cast<std::size_t>(s - 1)];
        const SurahRecord& record = SurahTable[static_cast<std::size_t>(s)];
        std::u16string name = record.Name;
        ASSERT_EQ(name.size(), static_cast<std::size_t>(surahNameLength));
        name.erase(name.find_last_not_of(u' ') + 1);
        EXPECT_EQ(ToUtf8(name), surah["transliteration"].get<std::string>());
        EXPECT_EQ(record.VerseCount, surah["total_verses"].get<int>());
        EXPECT_EQ(record.Spare, 0);
        EXPECT_EQ(SurahVerseOffset[static_cast<std::size_t>(s)], before);
        before += record.VerseCount;
    }
    EXPECT_EQ(before, verseTotal);
    EXPECT_EQ(RtfHeader.substr(0, 5), u"{\\rtf");
    EXPECT_NE(RtfHeader.find(u"{\\f31"), std::u16string::npos);
}

// The glyph path as the composer takes it: drop the verse's last character, then split at the
// blanks. A verse holds one glyph word per word of its Mushaf text and one more, its end-of-verse
// ornament; every word is pairs of a glyph font key "1".."5" and a printable code.
TEST_F(RealDataFiles, GlyphWordsAreTheMushafWordsAndTheVerseEnd) {
    int k = 0;
    for (const auto& surah : Source("")) {
        for (const auto& verse : surah["verses"]) {
            ++k;
            std::u16string text = FromUtf8(verse["text"].get<std::string>());
            std::erase(text, u'\u2009');
            const std::u16string words = SingleBlanks(text);
            std::u16string glyphs = ReadVerseText(k, slotArabic);
            ASSERT_FALSE(glyphs.empty()) << k;
            glyphs.pop_back();
            ASSERT_EQ(std::count(glyphs.begin(), glyphs.end(), u' '), std::count(words.begin(), words.end(), u' ') + 1)
                << "verse " << k;
            std::size_t start = 0;
            while (start <= glyphs.size()) {
                const std::size_t blank = std::min(glyphs.find(u' ', start), glyphs.size());
                ASSERT_GT(blank - start, 0u) << k;
                ASSERT_EQ((blank - start) % 2, 0u) << k;
                for (std::size_t j = start; j < blank; j += 2) {
                    ASSERT_TRUE(glyphs[j] >= u'1' && glyphs[j] <= u'5') << "verse " << k;
                    ASSERT_GE(glyphs[j + 1], 0x21) << "verse " << k;
                }
                start = blank + 1;
            }
        }
    }
    EXPECT_EQ(k, verseTotal);
}

TEST_F(RealDataFiles, UnicodeVersesAreTheSourceTextWithTheirNumbers) {
    int k = 0;
    for (const auto& surah : Source("")) {
        for (const auto& verse : surah["verses"]) {
            ++k;
            const int ayah = verse["id"].get<int>();
            std::u16string text = FromUtf8(verse["text"].get<std::string>());
            std::erase(text, u'\u2009');
            std::u16string number;
            for (char c : std::to_string(ayah)) number += static_cast<char16_t>(u'\u0660' + (c - '0'));
            const std::u16string expected = u" " + SingleBlanks(text) + u" (" + number + u")";
            ASSERT_EQ(FromUtf16Bytes(AmbilUnicode(k, static_cast<std::int16_t>(ayah))), expected) << "verse " << k;
        }
    }
    EXPECT_EQ(k, verseTotal);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RealDataFiles, DefaultTranslationIsTheFirstByNameThatIsNotArabic) {
    EXPECT_EQ(TranslationName, u"Bengali");
    EXPECT_EQ(TranslationEncoding, TextEncoding::Hexadecimal);
}

// The plain form of a character that a hexadecimal (up to U+0FFF) or shifted-pair (up to
// U+FEFF) file has no room for: fullwidth forms, curly quotes, dashes; the ideographic blank is
// white space.
char16_t PlainForm(char16_t c, TextEncoding encoding) {
    if (c == u'\u3000') return u' ';
    if (encoding == TextEncoding::Hexadecimal ? c <= 0xFFF : c <= 0xFEFF) return c;
    if (c >= u'\uFF01' && c <= u'\uFF5E') return static_cast<char16_t>(c - 0xFEE0);
    switch (c) {
        case u'\u2018':
        case u'\u2019': return u'\'';
        case u'\u201C':
        case u'\u201D': return u'"';
        case u'\u2013': return u'-';
        default: return c;
    }
}

TEST_F(RealDataFiles, TranslationsReadBackAsTheirSource) {
    struct Expected {
        const char* name;
        const char* language;
        TextEncoding encoding;
        char16_t direction;
        std::int32_t lcid;
    };
    const Expected files[] = {
        {"English", "en", TextEncoding::CodePage, u'L', 1033},
        {"Spanish", "es", TextEncoding::CodePage, u'L', 3082},
        {"French", "fr", TextEncoding::CodePage, u'L', 1036},
        {"Swedish", "sv", TextEncoding::CodePage, u'L', 1053},
        {"Russian", "ru", TextEncoding::CodePage, u'L', 1049},
        {"Turkish", "tr", TextEncoding::CodePage, u'L', 1055},
        {"Indonesia", "id", TextEncoding::Hexadecimal, u'L', 1057},
        {"Urdu", "ur", TextEncoding::Hexadecimal, u'R', 1056},
        {"Bengali", "bn", TextEncoding::Hexadecimal, u'L', 2117},
        {"Chinese", "zh", TextEncoding::ShiftedPair, u'L', 2052},
    };
    for (const Expected& file : files) {
        SCOPED_TRACE(file.name);
        TranslationName = FromUtf8(file.name);
        loadeFile(slotTranslation);
        ASSERT_TRUE(messages.empty()) << messages.front();
        EXPECT_EQ(TranslationEncoding, file.encoding);
        EXPECT_EQ(TranslationDirection, file.direction);
        EXPECT_EQ(TranslationLcid, file.lcid);
        EXPECT_FALSE(TranslationSingleByte);
        int k = 0, compared = 0;
        for (const auto& surah : Source(file.language)) {
            for (const auto& verse : surah["verses"]) {
                ++k;
                std::u16string text = ReadVerseText(k, slotTranslation);
                if (file.encoding == TextEncoding::CodePage) text = DecodeLowBytes(text, file.lcid);
                std::u16string expected = FromUtf8(verse["translation"].get<std::string>());
                if (file.encoding != TextEncoding::CodePage) {
                    for (char16_t& c : expected) {
                        c = PlainForm(c, file.encoding);
                        if (c == u'[' || c == u']') c = c == u'[' ? u'(' : u')';
                    }
                }
                expected = SingleBlanks(expected);
                // Characters written as several (letters with marks, ligatures of words) and
                // damaged character references are compared by the tool's own tests.
                const bool plain = std::none_of(expected.begin(), expected.end(), [&](char16_t c) {
                    return (file.encoding == TextEncoding::Hexadecimal && c > 0xFFF) || c == u'&';
                });
                if (!plain) continue;
                ++compared;
                if (text != expected)
                    FAIL() << "verse " << k << "\n  read: " << ToUtf8(text) << "\n  source: " << ToUtf8(expected);
            }
        }
        EXPECT_EQ(k, verseTotal);
        // Nearly every verse holds only characters its file keeps as they are.
        EXPECT_GE(compared, verseTotal * 98 / 100);
        EXPECT_TRUE(messages.empty());
    }
}

// Damaged copies of real files: the read in question ends with an error, the others still work.
TEST_F(RealDataFiles, DamagedCopiesEndTheirReadsWithErrors) {
    const fs::path folder = Scratch();
    std::string english = ReadAll(dataDir / "English.dabrel");
    const auto entries = Directory(english);
    // The closing position of the verse index made smaller than the last verse's start.
    std::string closing = english;
    const std::size_t last = entries[3].first + entries[3].second - 3;
    closing[last] = closing[last + 1] = closing[last + 2] = '\0';
    std::ofstream(folder / "T.dabrel", std::ios::binary) << closing;
    DataFolderOverride = folder;
    TranslationName = u"T";
    loadeFile(slotTranslation);
    ASSERT_TRUE(messages.empty()) << messages.front();
    EXPECT_FALSE(ReadVerseText(verseTotal - 1, slotTranslation).empty());
    try {
        ReadVerseText(verseTotal, slotTranslation);
        ADD_FAILURE() << "the last verse was read";
    } catch (const DataError& error) {
        EXPECT_EQ(error.Number(), errInvalidFormat);
    }

    // The file cut in the middle of its verse block: the directory still points past its end.
    std::ofstream(folder / "T.dabrel", std::ios::binary | std::ios::trunc)
        << english.substr(0, entries[2].first + entries[2].second / 2);
    loadeFile(slotTranslation);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 321 (Invalid file format) in procedure loadeFile of Module mTarvelo");
    messages.clear();

    // A word identifier of 32768 in the first verse of UnicodeArabic.dbu.
    std::string unicode = ReadAll(dataDir / "UnicodeArabic.dbu");
    const auto unicodeEntries = Directory(unicode);
    unicode[unicodeEntries[2].first] = '\x80';
    unicode[unicodeEntries[2].first + 1] = '\0';
    std::ofstream(folder / "UnicodeArabic.dbu", std::ios::binary) << unicode;
    loadeFile(slotUnicode);
    ASSERT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(AmbilUnicode(1, 1), u"");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 6 (Overflow) in procedure AmbilUnicode of Module mTarvelo");
    EXPECT_FALSE(AmbilUnicode(2, 2).empty());
}

}  // namespace
