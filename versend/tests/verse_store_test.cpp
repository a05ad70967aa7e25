// The verse store without the window: the code page, the line-pair scan and its limits, and the
// two surah name tables.
#include "quran/quran_text.h"
#include "versend/code_page.h"
#include "versend/surah_names.h"
#include "versend/tests/form1_fixture.h"
#include "versend/verse_scan.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace versend {
namespace {

using testing::writeLines;

class VerseScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = std::filesystem::path(dir.path().toStdString());
    }
    void write(const std::vector<QString>& search, const std::vector<QString>& vocalised, bool lastLineEnd = true) {
        writeLines(folder / "QuranV.Qur", search, lastLineEnd);
        writeLines(folder / "Qurant.Qur", vocalised, lastLineEnd);
    }
    // Every search line that contains the needle, through the fast search.
    std::vector<std::string> linesContaining(std::string_view needle) {
        std::vector<std::string> lines;
        VerseScan scan(VerseFiles::in(folder));
        while (scan.nextContaining(needle)) lines.emplace_back(scan.searchLine());
        EXPECT_EQ(scan.lineCount(), lineTotal);
        return lines;
    }
    QTemporaryDir dir;
    std::filesystem::path folder;
    int lineTotal = 0;
};

TEST(CodePage, ArabicLettersAndMarksRoundTrip) {
    const QString text = QStringLiteral("بِسْمِ اللَّهِ الرَّحْمَنِ 123 ؟،");
    const auto bytes = encodeArabicCodePage(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), static_cast<std::size_t>(text.size()));  // one byte per character
    EXPECT_EQ(decodeArabicCodePage(*bytes), text);
    EXPECT_EQ(static_cast<unsigned char>((*bytes)[0]), 0xC8);  // BEH in code page 1256
}

TEST(CodePage, CharactersOutsideThePageAreRefusedOrReplaced) {
    EXPECT_FALSE(encodeArabicCodePage(QStringLiteral("ﷲ")));  // the ligature is not in the page
    EXPECT_EQ(encodeArabicCodePageLossy(QStringLiteral("aﷲb")), "a?b");
    // Every byte decodes to something, so no byte of a file is lost.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const auto back = encodeArabicCodePage(decodeArabicCodePage(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
}

TEST_F(VerseScanTest, LinesPairUpAndLineEndsAreNotPartOfTheLine) {
    write({"001 a 1", "001 b 2", "002 c 1"}, {"x1", "x2", "x3"}, false);
    VerseScan scan(VerseFiles::in(folder));
    std::vector<std::pair<std::string, std::string>> pairs;
    while (scan.next()) pairs.emplace_back(scan.searchLine(), scan.vocalisedLine());
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>{"001 a 1", "x1"}));
    EXPECT_EQ(pairs[2], (std::pair<std::string, std::string>{"002 c 1", "x3"}));  // no line end after it
    EXPECT_EQ(scan.lineCount(), 3);
}

TEST_F(VerseScanTest, OnlyTheFirst6236LinesAreRead) {
    std::vector<QString> search(kVerseLineLimit + 3, QStringLiteral("001 w 1"));
    search.back() = QStringLiteral("001 late 1");
    std::vector<QString> vocalised(search.size(), QStringLiteral("v"));
    write(search, vocalised);
    lineTotal = kVerseLineLimit;
    EXPECT_TRUE(linesContaining("late").empty());
    VerseScan scan(VerseFiles::in(folder));
    scan.skipToEnd();
    EXPECT_EQ(scan.lineCount(), kVerseLineLimit);
}

TEST_F(VerseScanTest, ShortSearchFileEndsQuietlyShortVocalisedFileFails) {
    write({"001 a 1", "001 b 2"}, {"x1", "x2", "x3"});
    {
        VerseScan scan(VerseFiles::in(folder));
        scan.skipToEnd();
        EXPECT_EQ(scan.lineCount(), 2);
    }
    write({"001 a 1", "001 b 2", "001 c 3"}, {"x1", "x2"});
    VerseScan scan(VerseFiles::in(folder));
    EXPECT_TRUE(scan.next());
    EXPECT_TRUE(scan.next());
    try {
        scan.next();
        FAIL() << "the third search line has no vocalised line";
    } catch (const VerseFileError& error) {
        EXPECT_EQ(error.kind(), VerseFileError::Kind::TooShort);
        EXPECT_EQ(error.file(), folder / "Qurant.Qur");
    }
    // The fast search reports the same failure even when nothing matches.
    VerseScan again(VerseFiles::in(folder));
    EXPECT_THROW(again.nextContaining("nowhere"), VerseFileError);
}

TEST_F(VerseScanTest, MissingFilesNameTheFile) {
    write({"001 a 1"}, {"x"});
    std::filesystem::remove(folder / "Qurant.Qur");
    try {
        VerseScan scan(VerseFiles::in(folder));
        FAIL() << "the vocalised file is missing";
    } catch (const VerseFileError& error) {
        EXPECT_EQ(error.kind(), VerseFileError::Kind::Unreadable);
        EXPECT_EQ(error.file(), folder / "Qurant.Qur");
        EXPECT_NE(std::string(error.what()).find("Qurant.Qur"), std::string::npos);
    }
}

TEST_F(VerseScanTest, FastSearchFindsExactlyTheLinesThatContainTheNeedle) {
    // Hits at the start, the end, twice in one line, in the last line, and never across lines.
    const std::vector<QString> search{"001 ab 1", "001 xx 2", "002 abab 3", "002 y ab", "003 a", "b 4", "114 ab"};
    write(search, std::vector<QString>(search.size(), "v"), false);
    lineTotal = static_cast<int>(search.size());
    EXPECT_EQ(linesContaining("ab"), (std::vector<std::string>{"001 ab 1", "002 abab 3", "002 y ab", "114 ab"}));
    EXPECT_EQ(linesContaining("a\r\nb"), std::vector<std::string>{});  // never across a line end
    EXPECT_EQ(linesContaining("001"), (std::vector<std::string>{"001 ab 1", "001 xx 2"}));
    EXPECT_EQ(linesContaining(" ").size(), search.size());  // every line has a blank
}

TEST(SurahNames, TablesHoldTheNamesInChooserOrder) {
    EXPECT_EQ(chooserName(0), u"اختر اسم السورة");
    EXPECT_EQ(chooserName(1), u"الفاتحة");
    EXPECT_EQ(chooserName(2), u"البقرة");
    EXPECT_EQ(chooserName(114), u"النّاس");
    EXPECT_TRUE(chooserName(115).empty());
    EXPECT_TRUE(chooserName(-1).empty());
    EXPECT_EQ(citationName(0), u"0");
    EXPECT_EQ(citationName(1), u"الفاتحة");
    EXPECT_TRUE(citationName(115).empty());
}

TEST(SurahNames, CitationTableDiffersInSevenEntriesOnly) {
    int differing = 0;
    for (int n = 1; n <= quran::kSurahCount; ++n) {
        ASSERT_FALSE(chooserName(n).empty()) << n;
        if (chooserName(n) != citationName(n)) ++differing;
    }
    EXPECT_EQ(differing, 7);
    EXPECT_EQ(chooserName(24), u"النّور");
    EXPECT_EQ(citationName(24), u"النور");
    EXPECT_EQ(citationName(51), u"الذاريات");
    EXPECT_EQ(chooserName(51),
              u"\u0627\u0644\u0630\u0651\u0650\u0627\u0631\u064A\u0627\u062A");  // shadda before the kasra
    EXPECT_EQ(citationName(30), u"\u0627\u0644\u0631\u0651\u064F\u0648\u0645");  // marks stay where both tables agree
    EXPECT_EQ(citationName(86), u"\u0627\u0644\u0637\u0651\u064B\u0627\u0631\u0642");  // shadda before the mark
}

TEST(SurahNames, SurahCodeHasThreeDigits) {
    EXPECT_EQ(surahCode(0), "000");
    EXPECT_EQ(surahCode(5), "005");
    EXPECT_EQ(surahCode(24), "024");
    EXPECT_EQ(surahCode(114), "114");
}

}  // namespace
}  // namespace versend
