// Word cases of the spelling conversion: real words of the source (escaped, so the mark order is
// the source's) and their common spelling.
#include "tools/quran-data/spelling.h"
#include "tools/quran-data/codepage.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/source.h"
#include "tools/quran-data/text.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>

using namespace quran_data;

namespace {

struct WordCase {
    std::u32string uthmani;
    std::u32string common;
};

// open tanween and iqlab meem; superscript alef; hamza seats; the vocative split and the
// demonstrative that must not split; silent and small letters; spellings that add or drop a
// letter; sukun and shadda
const std::vector<WordCase> kWords = {
    {U"\u062E\u064E\u064A\u06E1\u0631\u065E", U"\u062E\u064E\u064A\u0652\u0631\u064C"},  // خَيْرٌ
    {U"\u0643\u064E\u062B\u0650\u064A\u0631\u0657\u0627",
     U"\u0643\u064E\u062B\u0650\u064A\u0631\u064B\u0627"},                               // كَثِيرًا
    {U"\u0634\u064E\u064A\u06E1\u0621\u0656", U"\u0634\u064E\u064A\u0652\u0621\u064D"},  // شَيْءٍ
    {U"\u0639\u064E\u0644\u0650\u064A\u0645\u064F\u06E2", U"\u0639\u064E\u0644\u0650\u064A\u0645\u064C"},  // عَلِيمٌ
    {U"\u0645\u0650\u0646\u06E2", U"\u0645\u0650\u0646\u0652"},                                            // مِنْ
    {U"\u0671\u0644\u06E1\u0639\u064E\u0670\u0644\u064E\u0645\u0650\u064A\u0646\u064E",
     U"\u0627\u0644\u0652\u0639\u064E\u0627\u0644\u064E\u0645\u0650\u064A\u0646\u064E"},  // الْعَالَمِينَ
    {U"\u0630\u064E\u0670\u0644\u0650\u0643\u064E", U"\u0630\u064E\u0644\u0650\u0643\u064E"},  // ذَلِكَ
    {U"\u0648\u064E\u0643\u064E\u0630\u064E\u0670\u0644\u0650\u0643\u064E",
     U"\u0648\u064E\u0643\u064E\u0630\u064E\u0644\u0650\u0643\u064E"},  // وَكَذَلِكَ
    {U"\u0671\u0644\u0635\u0651\u064E\u0644\u064E\u0648\u0670\u0629\u064E",
     U"\u0627\u0644\u0635\u0651\u064E\u0644\u064E\u0627\u0629\u064E"},  // الصَّلَاةَ
    {U"\u0671\u0644\u0632\u0651\u064E\u0643\u064E\u0648\u0670\u0629\u064E",
     U"\u0627\u0644\u0632\u0651\u064E\u0643\u064E\u0627\u0629\u064E"},  // الزَّكَاةَ
    {U"\u0631\u064E\u0648\u064E\u0670\u0633\u0650\u064A\u064E",
     U"\u0631\u064E\u0648\u064E\u0627\u0633\u0650\u064A\u064E"},                   // رَوَاسِيَ
    {U"\u0639\u064E\u0644\u064E\u0649\u0670", U"\u0639\u064E\u0644\u064E\u0649"},  // عَلَى
    {U"\u0647\u064E\u0670\u0630\u064E\u0670\u0646\u0650", U"\u0647\u064E\u0630\u064E\u0627\u0646\u0650"},  // هَذَانِ
    {U"\u0645\u064E\u062C\u06E1\u0631\u065C\u0649\u0670\u0647\u064E\u0627",
     U"\u0645\u064E\u062C\u0652\u0631\u064E\u0627\u0647\u064E\u0627"},  // مَجْرَاهَا
    {U"\u0671\u0644\u0631\u0651\u0650\u0628\u064E\u0648\u0670\u0627\u0652",
     U"\u0627\u0644\u0631\u0651\u0650\u0628\u064E\u0627"},  // الرِّبَا
    {U"\u0621\u064E\u0627\u0645\u064E\u0646\u064F\u0648\u0627\u0652",
     U"\u0622\u0645\u064E\u0646\u064F\u0648\u0627"},  // آمَنُوا
    {U"\u0634\u064E\u064A\u06E1\u0640\u0654\u0657\u0627", U"\u0634\u064E\u064A\u0652\u0626\u064B\u0627"},  // شَيْئًا
    {U"\u064A\u064E\u0633\u06E1\u0640\u0654\u064E\u0644\u064F\u0648\u0646\u064E\u0643\u064E",
     U"\u064A\u064E\u0633\u0652\u0623\u064E\u0644\u064F\u0648\u0646\u064E\u0643\u064E"},  // يَسْأَلُونَكَ
    {U"\u0628\u0650\u0640\u0654\u064E\u0627\u064A\u064E\u0670\u062A\u0650\u0646\u064E\u0627",
     U"\u0628\u0650\u0622\u064A\u064E\u0627\u062A\u0650\u0646\u064E\u0627"},  // بِآيَاتِنَا
    {U"\u0671\u0644\u0633\u0651\u064E\u064A\u0651\u0650\u0640\u0654\u064E\u0627\u062A\u0650",
     U"\u0627\u0644\u0633\u0651\u064E\u064A\u0651\u0650\u0626\u064E\u0627\u062A\u0650"},  // السَّيِّئَاتِ
    {U"\u0623\u064E\u0621\u0650\u0630\u064E\u0627", U"\u0623\u064E\u0625\u0650\u0630\u064E\u0627"},  // أَإِذَا
    {U"\u0631\u064E\u0621\u064F\u0648\u0641\u065E", U"\u0631\u064E\u0621\u064F\u0648\u0641\u064C"},  // رَءُوفٌ
    {U"\u0645\u064E\u0633\u06E1\u0640\u0654\u064F\u0648\u0644\u0657\u0627",
     U"\u0645\u064E\u0633\u0652\u0626\u064F\u0648\u0644\u064B\u0627"},  // مَسْئُولًا
    {U"\u0671\u0644\u06E1\u0645\u064E\u0644\u064E\u0624\u064F\u0627\u0652",
     U"\u0627\u0644\u0652\u0645\u064E\u0644\u064E\u0623\u064F"},  // الْمَلَأُ
    {U"\u0634\u064F\u0631\u064E\u0643\u064E\u0640\u0670\u0653\u0624\u064F\u0627\u0652",
     U"\u0634\u064F\u0631\u064E\u0643\u064E\u0627\u0621\u064F"},  // شُرَكَاءُ
    {U"\u0625\u0650\u0633\u06E1\u0631\u064E\u0640\u0670\u0653\u0621\u0650\u064A\u0644\u064E",
     U"\u0625\u0650\u0633\u0652\u0631\u064E\u0627\u0626\u0650\u064A\u0644\u064E"},  // إِسْرَائِيلَ
    {U"\u064A\u064E\u0640\u0670\u0653\u0623\u064E\u064A\u0651\u064F\u0647\u064E\u0627",
     U"\u064A\u064E\u0627 \u0623\u064E\u064A\u0651\u064F\u0647\u064E\u0627"},  // يَا أَيُّهَا
    {U"\u064A\u064E\u0670\u0642\u064E\u0648\u06E1\u0645\u0650",
     U"\u064A\u064E\u0627 \u0642\u064E\u0648\u0652\u0645\u0650"},  // يَا قَوْمِ
    {U"\u064A\u064E\u0640\u0670\u0653\u0640\u0654\u064E\u0627\u062F\u064E\u0645\u064F",
     U"\u064A\u064E\u0627 \u0622\u062F\u064E\u0645\u064F"},  // يَا آدَمُ
    {U"\u0647\u064E\u0640\u0670\u0653\u0624\u064F\u0644\u064E\u0627\u0653\u0621\u0650",
     U"\u0647\u064E\u0624\u064F\u0644\u064E\u0627\u0621\u0650"},  // هَؤُلَاءِ
    {U"\u0642\u064E\u0627\u0644\u064F\u0648\u0627\u0652", U"\u0642\u064E\u0627\u0644\u064F\u0648\u0627"},  // قَالُوا
    {U"\u0623\u064F\u0648\u0652\u0644\u064E\u0640\u0670\u0653\u0626\u0650\u0643\u064E",
     U"\u0623\u064F\u0648\u0644\u064E\u0626\u0650\u0643\u064E"},       // أُولَئِكَ
    {U"\u0644\u064E\u0647\u064F\u06E5", U"\u0644\u064E\u0647\u064F"},  // لَهُ
    {U"\u0628\u0650\u0647\u0650\u06E6", U"\u0628\u0650\u0647\u0650"},  // بِهِ
    {U"\u062F\u064E\u0627\u0648\u064F\u06E5\u062F\u064E",
     U"\u062F\u064E\u0627\u0648\u064F\u0648\u062F\u064E"},  // دَاوُودَ
    {U"\u0625\u0650\u0628\u06E1\u0631\u064E\u0670\u0647\u0650\u0640\u06E7\u0645\u064E",
     U"\u0625\u0650\u0628\u0652\u0631\u064E\u0627\u0647\u0650\u064A\u0645\u064E"},  // إِبْرَاهِيمَ
    {U"\u0623\u064E\u0641\u064E\u0625\u0650\u064A\u0652\u0646",
     U"\u0623\u064E\u0641\u064E\u0625\u0650\u0646\u0652"},                         // أَفَإِنْ
    {U"\u0623\u064E\u0646\u064E\u0627\u06E0", U"\u0623\u064E\u0646\u064E\u0627"},  // أَنَا
    {U"\u0644\u064E\u0623\u064E\u0627\u0652\u0630\u06E1\u0628\u064E\u062D\u064E\u0646\u0651\u064E\u0647\u064F\u06E5"
     U"\u0653",
     U"\u0644\u064E\u0623\u064E\u0630\u0652\u0628\u064E\u062D\u064E\u0646\u0651\u064E\u0647\u064F"},  // لَأَذْبَحَنَّهُ
    {U"\u0646\u064F\u0640\u06E8\u062C\u0650\u064A", U"\u0646\u064F\u0646\u0652\u062C\u0650\u064A"},  // نُنْجِي
    {U"\u0671\u0644\u0651\u064E\u064A\u06E1\u0644\u0650",
     U"\u0627\u0644\u0644\u0651\u064E\u064A\u0652\u0644\u0650"},  // اللَّيْلِ
    {U"\u064A\u064E\u062F\u06E1\u0639\u064F\u0648\u0627\u0652", U"\u064A\u064E\u062F\u0652\u0639\u064F\u0648"},  // يَدْعُو
    {U"\u062C\u064E\u0627\u0653\u0621\u064F\u0648", U"\u062C\u064E\u0627\u0621\u064F\u0648\u0627"},  // جَاءُوا
    {U"\u0641\u064E\u0633\u06E1\u0640\u0654\u064E\u0644\u06E1",
     U"\u0641\u064E\u0627\u0633\u0652\u0623\u064E\u0644\u0652"},                               // فَاسْأَلْ
    {U"\u064A\u064F\u062D\u06E1\u064A\u0650", U"\u064A\u064F\u062D\u0652\u064A\u0650\u064A"},  // يُحْيِي
    {U"\u0671\u0644\u06E1\u062D\u064E\u0645\u06E1\u062F\u064F",
     U"\u0627\u0644\u0652\u062D\u064E\u0645\u0652\u062F\u064F"},  // الْحَمْدُ
    {U"\u0639\u064E\u0670\u0647\u064E\u062F\u062A\u0651\u064F\u0645\u06E1",
     U"\u0639\u064E\u0627\u0647\u064E\u062F\u0652\u062A\u064F\u0645\u0652"},  // عَاهَدْتُمْ
    {U"\u0644\u0650\u0644\u0646\u0651\u064E\u0627\u0633\u0650",
     U"\u0644\u0650\u0644\u0646\u0651\u064E\u0627\u0633\u0650"},  // لِلنَّاسِ
};

TEST(Spelling, ConvertsTheReferenceWords) {
    SpellingConverter conv;
    for (const auto& w : kWords)
        EXPECT_EQ(to_utf8(conv.convert_verse(w.uthmani, 99, 99)), to_utf8(w.common)) << to_utf8(w.common);
}

TEST(Spelling, OutputIsCodePage1256AndRulesAreCounted) {
    SpellingConverter conv;
    const CodePage page(1256);
    for (const auto& w : kWords)
        EXPECT_NO_THROW(page.encode(conv.convert_verse(w.uthmani, 99, 99))) << to_utf8(w.common);
    const auto& stats = conv.stats();
    EXPECT_EQ(stats.at("R22 vocative ya / attention ha written as a separate word"), 3);
    EXPECT_GT(stats.at("R27 bare consonant -> explicit sukun"), 0);
    EXPECT_FALSE(stats.contains("R06 muqatta'at: drop all marks"));
}

TEST(Spelling, SearchFormKeepsLettersAndSingleBlanks) {
    EXPECT_EQ(to_utf8(search_form(source_order(from_utf8("يَا أَيُّهَا  الَّذِينَ آمَنُوا")))), "يا أيها الذين آمنوا");
    EXPECT_EQ(to_utf8(search_form(from_utf8("شَيْئًا"))), "شيئا");
    EXPECT_EQ(to_utf8(search_form(from_utf8(" ـهٰذَا "))), "هذا");
}

TEST(Spelling, MarkOrderHelpers) {
    // a vowel before shadda is put behind it; NFD decomposes hamza letters and orders marks
    EXPECT_EQ(source_order(U"\u0644\u064E\u0651\u0627"), U"\u0644\u0651\u064E\u0627");
    EXPECT_EQ(source_order(U"\u0644\u0651\u064E"), U"\u0644\u0651\u064E");
    EXPECT_EQ(arabic_nfd(U"\u0624\u064F"), U"\u0648\u064F\u0654");
    EXPECT_EQ(arabic_nfd(U"\u0644\u0651\u064E"), U"\u0644\u064E\u0651");
}

TEST(Spelling, DetachedLettersOnlyOpenASurah) {
    SpellingConverter conv;
    const std::u32string alif_lam_meem = U"\u0627\u0644\u0653\u0645\u0653";
    EXPECT_EQ(conv.convert_verse(alif_lam_meem, 2, 1), U"\u0627\u0644\u0645");
    // elsewhere the same letters are an ordinary word and keep their marks
    EXPECT_NE(conv.convert_verse(alif_lam_meem, 2, 2), U"\u0627\u0644\u0645");
}

class SpellingOfVerses : public ::testing::Test {
protected:
    static void SetUpTestSuite() { source_.emplace(load_arabic(QURAN_JSON_DIST)); }
    static void TearDownTestSuite() { source_.reset(); }
    std::string verse(int s, int a) {
        for (const auto& v : source_->verses)
            if (v.surah == s && v.ayah == a) return to_utf8(conv_.convert_verse(v.text, s, a));
        ADD_FAILURE() << "no verse " << s << ":" << a;
        return {};
    }
    static std::string ordered(const char* utf8) { return to_utf8(source_order(from_utf8(utf8))); }

    static inline std::optional<Source> source_;
    SpellingConverter conv_;
};

TEST_F(SpellingOfVerses, AssimilationPauseMarksAndSukun) {
    EXPECT_EQ(verse(2, 5), ordered("أُولَئِكَ عَلَى هُدًى مِنْ رَبِّهِمْ وَأُولَئِكَ هُمُ الْمُفْلِحُونَ"));
}

TEST_F(SpellingOfVerses, DetachedLettersAtVerseStart) {
    EXPECT_EQ(verse(2, 1), "الم");
    EXPECT_EQ(verse(42, 2), "عسق");
    EXPECT_EQ(to_utf8(search_form(from_utf8(verse(20, 1)))), "طه");
}

TEST_F(SpellingOfVerses, WholeWordExceptions) {
    EXPECT_NE(verse(2, 72).find(ordered("فَادَّارَأْتُمْ")), std::string::npos);
    EXPECT_NE(verse(20, 94).find(ordered("يَا ابْنَ أُمَّ")), std::string::npos);
    EXPECT_NE(verse(38, 13).find(ordered("الْأَيْكَةِ")), std::string::npos);
    EXPECT_NE(verse(26, 176).find(ordered("الْأَيْكَةِ")), std::string::npos);
}

}  // namespace
