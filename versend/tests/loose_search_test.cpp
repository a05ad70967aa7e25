// The forgiving word search without the window: the letter fold on both sides, the folded pass
// over the search file, the order "exact first, folded only when nothing was found", and a table
// of loosely typed phrases over the real verse files.
#include "versend/code_page.h"
#include "versend/letter_folding.h"
#include "versend/result_rows.h"
#include "versend/tests/form1_fixture.h"
#include "versend/texts.h"
#include "versend/verse_scan.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace versend {
namespace {

std::string folded(std::string_view bytes) {
    std::string out;
    appendFoldedBytes(bytes, out);
    return out;
}

std::string encoded(const QString& text) { return encodeArabicCodePage(text).value(); }

TEST(LetterFolding, LettersTypedOneForAnotherBecomeOneAndMarksGo) {
    const struct {
        QString typed;
        QString folded;
    } cases[] = {
        {QStringLiteral("آ أ إ ٱ ا"), QStringLiteral("ا ا ا ا ا")},
        {QStringLiteral("ى ئ ی ي"), QStringLiteral("ي ي ي ي")},
        {QStringLiteral("ة ه ؤ و ک ك"), QStringLiteral("ه ه و و ك ك")},
        // harakat, tanween, shadda, sukun, superscript alef, combining hamza, tatweel
        {QStringLiteral("بَ بً بُ بِ بّ بْ بٰ أ بـب"), QStringLiteral("ب ب ب ب ب ب ب ا بب")},
        // what no fold touches: the hamza on the line, other letters, digits, Latin
        {QStringLiteral("ء ب ہ 12 ab"), QStringLiteral("ء ب ہ 12 ab")},
    };
    for (const auto& c : cases) EXPECT_EQ(foldedQuery(c.typed), encoded(c.folded)) << c.typed.toStdString();
}

// The search file is folded through the byte table, the query character by character before it
// is encoded: both must give the same for every character of the code page.
TEST(LetterFolding, FileBytesAndTypedTextFoldAlike) {
    int changed = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const auto query = foldedQuery(decodeArabicCodePage(byte));
        ASSERT_TRUE(query) << b;
        EXPECT_EQ(folded(byte), *query) << b;
        if (folded(byte) != byte) ++changed;
    }
    // آ أ إ ى ئ ة ؤ ک, tatweel and the eight marks of the code page; nothing else moves.
    EXPECT_EQ(changed, 17);
    EXPECT_EQ(folded(encoded(QStringLiteral("فَإِنَّ اللّـهَ"))), encoded(QStringLiteral("فان الله")));
}

TEST(LetterFolding, PersianKeyboardLettersOutsideTheCodePageAreFoldedFirst) {
    EXPECT_FALSE(encodeArabicCodePage(QStringLiteral("یوم")));  // Farsi yeh has no byte
    EXPECT_EQ(foldedQuery(QStringLiteral("یوم الدین")), encoded(QStringLiteral("يوم الدين")));
    EXPECT_FALSE(foldedQuery(QStringLiteral("ﷲ")));  // still outside the page after the fold
}

class FoldedScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = std::filesystem::path(dir.path().toStdString());
    }
    void write(const std::vector<QString>& search) {
        std::vector<QString> vocalised;
        for (std::size_t i = 0; i < search.size(); ++i) vocalised.push_back(QStringLiteral("v%1").arg(i + 1));
        testing::writeLines(folder / "QuranV.Qur", search);
        testing::writeLines(folder / "Qurant.Qur", vocalised);
        texts = VerseTexts::read(VerseFiles::in(folder));
    }
    // The vocalised lines of the rows of a word search, and whether they came from the fold.
    std::pair<std::vector<QString>, bool> search(const QString& query) {
        ResultTable rows;
        const WordSearchOutcome outcome = collectWordSearch(texts, query, rows);
        EXPECT_EQ(outcome.linesRead, texts->search.lineCount());
        std::vector<QString> found;
        for (int row = 0; row < rows.count(); ++row) found.push_back(rows.text(row, ResultTable::Column::Vocalised));
        return {found, outcome.folded};
    }

    QTemporaryDir dir;
    std::filesystem::path folder;
    std::shared_ptr<const VerseTexts> texts;
};

// A search file that carries marks and tatweel loses bytes in its folded copy: every hit must
// still land on its own line, paired with its own vocalised line.
TEST_F(FoldedScanTest, HitsAfterDroppedBytesStayOnTheirLines) {
    write({QStringLiteral("001 إِنَّ اللَّهَ غفور 1"), QStringLiteral("001 أنـــا 2"), QStringLiteral("001 ءامن 3"),
           QStringLiteral("002 على كل شىء 4"), QStringLiteral("002 اللـه 5")});
    const auto& foldedLines = texts->foldedSearch();
    ASSERT_EQ(foldedLines.lineCount(), 5);
    EXPECT_EQ(foldedLines.line(0), encoded(QStringLiteral("001 ان الله غفور 1")));
    EXPECT_EQ(search(QStringLiteral(" ان الله ")), std::make_pair(std::vector<QString>{"v1"}, true));
    EXPECT_EQ(search(QStringLiteral(" انا ")), std::make_pair(std::vector<QString>{"v2"}, true));
    EXPECT_EQ(search(QStringLiteral(" علي كل شيء ")), std::make_pair(std::vector<QString>{"v4"}, true));
    EXPECT_EQ(search(QStringLiteral("الله")), std::make_pair(std::vector<QString>{"v1", "v5"}, true));
    // The surah code and the verse number are folded with the words.
    EXPECT_EQ(search(QStringLiteral("002 علي")), std::make_pair(std::vector<QString>{"v4"}, true));
    EXPECT_EQ(search(QStringLiteral("أنا 2")), std::make_pair(std::vector<QString>{"v2"}, true));
}

TEST_F(FoldedScanTest, ExactHitsAreNeverMixedWithFoldedOnes) {
    write({QStringLiteral("001 إن الله 1"), QStringLiteral("001 ان الله 2"), QStringLiteral("001 أن الله 3")});
    // Written as in line 2: exactly that line, though the fold would find all three.
    EXPECT_EQ(search(QStringLiteral(" ان الله ")), std::make_pair(std::vector<QString>{"v2"}, false));
    EXPECT_EQ(search(QStringLiteral(" آن الله ")), std::make_pair(std::vector<QString>{"v1", "v2", "v3"}, true));
    // Nothing even folded: no rows, and they are not called folded.
    EXPECT_EQ(search(QStringLiteral(" آن الرحمن ")), std::make_pair(std::vector<QString>{}, false));
}

// ---------------------------------------------------------------------------------------------
// The real verse files

std::string verseOf(const ResultTable& rows, int row) {
    const QString line = rows.text(row, ResultTable::Column::Visible);
    return std::to_string(static_cast<int>(leadingValue(rows.text(row, ResultTable::Column::Code)))) + ":" +
           line.mid(line.lastIndexOf(u' ') + 1).toStdString();
}

std::set<std::string> versesFound(const std::shared_ptr<const VerseTexts>& texts, const QString& query, bool* folded) {
    ResultTable rows;
    *folded = collectWordSearch(texts, query, rows).folded;
    std::set<std::string> verses;
    for (int row = 0; row < rows.count(); ++row) verses.insert(verseOf(rows, row));
    return verses;
}

// Phrases as people type them, between the blanks that the query box adds. Each must find, by
// the fold, exactly the verses that its correctly written forms find by the exact search; the
// short ones also name their verses.
TEST(LooselyTypedPhrases, FindTheVersesOfTheirWrittenForms) {
    const auto texts = VerseTexts::read(VerseFiles::in(QV_VERSE_FOLDER));
    const struct {
        QString typed;
        std::vector<QString> written;
        std::set<std::string> verses;  // empty: not named here
    } cases[] = {
        {QStringLiteral("ان الله"), {QStringLiteral("إن الله"), QStringLiteral("أن الله")}, {}},
        {QStringLiteral("لا اله الا الله"), {QStringLiteral("لا إله إلا الله")}, {"37:35", "47:19"}},
        {QStringLiteral("على كل شىء قدير"), {QStringLiteral("على كل شيء قدير")}, {}},
        {QStringLiteral("اياك نعبد"), {QStringLiteral("إياك نعبد")}, {"1:5"}},
        {QStringLiteral("قل هو الله احد"), {QStringLiteral("قل هو الله أحد")}, {"112:1"}},
        {QStringLiteral("سبحان الذى اسرى"), {QStringLiteral("سبحان الذي أسرى")}, {"17:1"}},
        {QStringLiteral("يا ايها الذين امنوا"), {QStringLiteral("يا أيها الذين آمنوا")}, {}},
        {QStringLiteral("الصلاه"), {QStringLiteral("الصلاة")}, {}},  // heh for teh marbuta
        {QStringLiteral("يومنون"), {QStringLiteral("يؤمنون")}, {}},  // waw for waw with hamza
        {QStringLiteral("مائه"), {QStringLiteral("مائة")}, {}},
        {QStringLiteral("ذلک الکتاب"), {QStringLiteral("ذلك الكتاب")}, {"2:2"}},     // keheh
        {QStringLiteral("یوم الدین"), {QStringLiteral("يوم الدين")}, {}},            // Farsi yeh
        {QStringLiteral("اللـه الصمد"), {QStringLiteral("الله الصمد")}, {"112:2"}},  // tatweel
        {QStringLiteral("بِسْمِ اللَّهِ الرَّحْمَنِ الرَّحِيمِ"), {QStringLiteral("بسم الله الرحمن الرحيم")}, {"1:1", "27:30"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        bool folded = false;
        const auto found = versesFound(texts, u' ' + c.typed + u' ', &folded);
        EXPECT_TRUE(folded);
        std::set<std::string> expected;
        for (const QString& written : c.written) {
            bool writtenFolded = true;
            const auto exact = versesFound(texts, u' ' + written + u' ', &writtenFolded);
            EXPECT_FALSE(exact.empty()) << written.toStdString();
            EXPECT_FALSE(writtenFolded);
            expected.insert(exact.begin(), exact.end());
        }
        EXPECT_EQ(found, expected);
        if (!c.verses.empty()) {
            EXPECT_EQ(found, c.verses);
        }
    }
}

}  // namespace
}  // namespace versend
