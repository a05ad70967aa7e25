// The verse files: the invariant check on hand-made files, and the generated files themselves.
#include "tools/quran-data/verse_files.h"
#include "tools/quran-data/codepage.h"
#include "tools/quran-data/dain.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/file_io.h"
#include "tools/quran-data/spelling.h"
#include "tools/quran-data/text.h"

#include "quran_data/dain_texts.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quran_data;

namespace {

// A well-formed pair of files: every verse of every surah with one letter as its text.
struct FakeFiles {
    std::string search;
    std::string vocalised;
};

FakeFiles fake_files() {
    FakeFiles f;
    for (int s = 1; s <= 114; ++s) {
        const int count = s == 114 ? 6 : s <= 15 ? 56 : 55;  // 6236 in all
        for (int a = 1; a <= count; ++a) {
            f.search += (s < 10    ? "00"
                         : s < 100 ? "0"
                                   : "") +
                        std::to_string(s) + " \xC8 " + std::to_string(a) + "\r\n";
            f.vocalised += "\xC8\xF3\r\n";
        }
    }
    return f;
}

TEST(VerseFileCheck, AcceptsWellFormedFiles) {
    const FakeFiles f = fake_files();
    EXPECT_NO_THROW(check_verse_files(f.search, f.vocalised));
}

TEST(VerseFileCheck, RejectsBrokenFiles) {
    const FakeFiles good = fake_files();
    const auto broken = [&](std::string search, std::string vocalised) {
        EXPECT_THROW(check_verse_files(search, vocalised), DataError);
    };
    broken(good.search + "114 \xC8 7\r\n", good.vocalised + "\xC8\r\n");       // 6237 lines
    broken(good.search, good.vocalised.substr(0, good.vocalised.size() - 4));  // one line short
    std::string s = good.search;
    s.replace(s.find("\r\n"), 2, "\n");  // bare LF
    broken(s, good.vocalised);
    s = good.search;
    s.replace(s.find("001 \xC8 2\r\n"), 9, "001 \xC8 3\r\n");  // a verse skipped
    broken(s, good.vocalised);
    s = good.search;
    s.replace(0, 7, "001 \xC7 1");  // not the vocalised verse
    broken(s, good.vocalised);
    s = good.search;
    s.replace(0, 7, "001\xC8 1");  // no blank after the code
    broken(s, good.vocalised);
}

TEST(VerseFileCheck, EncodingNamesTheLineThatCannotBeHeld) {
    try {
        encode_lines({U"\u0628", U"\u06E1"});
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos);
    }
    EXPECT_EQ(encode_lines({U"\u0628", U""}), "\xC8\r\n\r\n");
    EXPECT_EQ(to_utf8(search_line(2, 282, U"\u0628\u064E \u0633")), "002 \u0628 \u0633 282");
}

TEST(Dain, CutAfterTheWordsAndOneBlank) {
    const std::u32string cut =
        U"\u0623\u064E\u0644\u0651\u064E\u0627 "
        U"\u062A\u064E\u0643\u0652\u062A\u064F\u0628\u064F\u0648\u0647\u064E\u0627";
    const auto [a, b] = split_dain(U"x " + cut + U" y z");
    EXPECT_EQ(a, U"x " + cut + U" ");
    EXPECT_EQ(b, U"y z");
    EXPECT_THROW(split_dain(U"x " + cut), DataError);
    EXPECT_THROW(split_dain(U"x y"), DataError);
    EXPECT_NE(dain_header(U"a\"\u0628", U"b").find("u\"a\\u0022\\u0628\""), std::string::npos);
}

class GeneratedFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        search_ = read_file(std::filesystem::path(QV_OUTPUT_DIR) / "QuranV.Qur");
        vocalised_ = read_file(std::filesystem::path(QV_OUTPUT_DIR) / "Qurant.Qur");
    }
    static inline std::string search_;
    static inline std::string vocalised_;
};

TEST_F(GeneratedFiles, HoldEveryVerseAlignedInBothForms) {
    EXPECT_NO_THROW(check_verse_files(search_, vocalised_));
    EXPECT_TRUE(search_.starts_with(CodePage(1256).encode(from_utf8("001 بسم الله الرحمن الرحيم 1\r\n"))));
}

TEST_F(GeneratedFiles, WholeWordsAreFoundAsTyped) {
    const CodePage page(1256);
    const auto hits = [&](const char* word) {
        const std::string w = page.encode(from_utf8(word));
        long n = 0;
        for (std::size_t at = search_.find(w); at != std::string::npos; at = search_.find(w, at + w.size())) ++n;
        return n;
    };
    EXPECT_EQ(hits(" الله "), 2152);
    EXPECT_EQ(hits(" الصلاة "), 58);
    EXPECT_EQ(hits(" الزكاة "), 26);
    EXPECT_EQ(hits(" يا أيها "), 142);
    EXPECT_EQ(hits(" السماوات "), 182);
    EXPECT_EQ(hits(" آمنوا "), 262);
    EXPECT_EQ(hits(" القرآن "), 43);
}

TEST_F(GeneratedFiles, HalvesOf2_282JoinToItsVocalisedLine) {
    static_assert(Dain1.size() == 959 && Dain2.size() == 188);
    const CodePage page(1256);
    // find 2:282 through the search file: its line number is the same in both files
    const std::string code = "002 ";
    std::size_t line_no = 0;
    std::size_t at = 0;
    for (;; ++line_no) {
        const std::size_t end = search_.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string_view l(search_.data() + at, end - at);
        if (l.starts_with(code) && l.ends_with(" 282")) break;
        at = end + 2;
    }
    std::size_t v = 0;
    for (std::size_t i = 0; i < line_no; ++i) v = vocalised_.find("\r\n", v) + 2;
    const std::string line = vocalised_.substr(v, vocalised_.find("\r\n", v) - v);
    std::u16string decoded;
    for (char c : line) decoded.push_back(static_cast<char16_t>(page.decode(static_cast<unsigned char>(c))));
    EXPECT_EQ(decoded, std::u16string(Dain1) + std::u16string(Dain2));
    EXPECT_EQ(Dain1.back(), u' ');
}

}  // namespace
