#include "tarvelo/data/data_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "tarvelo/data/tests/data_file_builder.h"

using namespace mTarvelo;
namespace fs = std::filesystem;

namespace {

std::string Utf8(std::u16string_view text) { return ToUtf8(text); }

std::string Bytes(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += static_cast<char>(c);
    return out;
}

class DataFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tarvelo-data-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        DataFolderOverride = folder;
        CloseDataFiles();
        for (auto& slot : DataDirectory) slot.fill(DirectoryEntry{});
        SurahTable.fill(SurahRecord{});
        SurahVerseOffset.fill(0);
        RtfHeader.clear();
        TranslationName.clear();
        TranslationEncoding = TextEncoding::Plain;
        TranslationLcid = 1033;
        TranslationDirection = u'L';
        TranslationSingleByte = false;
        ShowMessage = [this](std::u16string_view text) { messages.push_back(Utf8(text)); };
    }
    void TearDown() override {
        CloseDataFiles();
        ShowMessage = nullptr;
        DataFolderOverride.reset();
        fs::remove_all(folder);
    }
    void Write(const std::string& name, const std::string& bytes) { datafiles::WriteFile(folder / name, bytes); }

    // Opens a translation made of these parts as slot 1.
    void OpenTranslation(const datafiles::Words& words, const std::vector<datafiles::WordIds>& verses,
                         const std::vector<datafiles::WordIds>& notes, const std::string& trailer) {
        Write("T.dabrel", datafiles::TranslationFile(words, verses, notes, trailer));
        TranslationName = u"T";
        loadeFile(slotTranslation);
    }

    int ErrorNumberOf(const std::function<void()>& read) {
        try {
            read();
        } catch (const DataError& error) {
            return error.Number();
        }
        return 0;
    }

    fs::path folder;
    std::vector<std::string> messages;
};

// ---------------------------------------------------------------------------------------------
// Loading

TEST_F(DataFilesTest, LoadeReadsTablesHeaderAndAllThreeFiles) {
    datafiles::WriteSampleSet(folder);
    loade();
    EXPECT_TRUE(messages.empty()) << messages.front();
    ASSERT_TRUE(DataFiles[1] && DataFiles[2] && DataFiles[3]);
    EXPECT_EQ(TranslationName, u"English");
    EXPECT_EQ(Utf8(SurahTable[2].Name), "Al-Baqarah                    ");
    EXPECT_EQ(SurahTable[3].VerseCount, 3);
    EXPECT_EQ(SurahTable[4].VerseCount, 0);
    EXPECT_EQ(SurahVerseOffset[1], 0);
    EXPECT_EQ(SurahVerseOffset[2], 2);
    EXPECT_EQ(SurahVerseOffset[3], 3);
    EXPECT_EQ(SurahVerseOffset[4], 6);
    EXPECT_EQ(Utf8(RtfHeader), "{\\rtf1\\ansi{\\fonttbl{\\f31 Amiri;}}");
    EXPECT_EQ(TranslationEncoding, TextEncoding::CodePage);
    EXPECT_EQ(TranslationLcid, 1033);
    EXPECT_EQ(TranslationDirection, u'L');
    EXPECT_FALSE(TranslationSingleByte);  // only ever true on the 9x family
    EXPECT_EQ(Utf8(ReadVerseText(2, slotArabic)), "6C 3D4E5F 6Hx");
    EXPECT_EQ(Utf8(ReadVerseText(1, slotTranslation)), "in the name of god [1]");
    EXPECT_EQ(DataDirectory[2][7].Name, "RtfHeader");
}

TEST_F(DataFilesTest, ByteOrdersOfCountRecordsOffsetsAndIndexes) {
    // 286 verses (01 1E) and an offset of 293 (01 25) tell the byte orders apart; a long first
    // word puts the later blocks past offset 65535 so all three bytes of a directory field matter.
    const std::string header = "{\\rtf1 }";
    const std::string longGlyphs = "1A" + std::string(70000, '6');
    Write("Arabic.dabrel", datafiles::ArabicFile({longGlyphs}, {{1}}, {{"A", 7}, {"B", 286}, {"C", 200}}, header));
    loadeFile(slotArabic);
    EXPECT_GT(DataDirectory[2][7].Offset, 65535u);
    loade();
    EXPECT_TRUE(messages.size() <= 2);  // no translation and no Unicode file in this folder
    EXPECT_EQ(SurahTable[2].VerseCount, 286);
    EXPECT_EQ(SurahVerseOffset[3], 293);
    EXPECT_EQ(Utf8(RtfHeader), header);
    EXPECT_EQ(ReadWord(1, slotArabic).size(), longGlyphs.size());

    // The Unicode file's 4-byte little-endian indexes: a word block over 256 bytes.
    const std::string longWord(300, '\x28');
    Write("UnicodeArabic.dbu", datafiles::UnicodeFile({longWord, "\x31"}, {{2}, {1, 2}}));
    loadeFile(slotUnicode);
    const std::u16string verse = AmbilUnicode(2, 2);
    EXPECT_EQ(verse.size(), 2u * (1 + 300 + 1 + 1 + 1 + 1 + 1 + 1));

    // ReadNumberBE reads big-endian from the current position.
    SlotFile(slotArabic).Seek(3);
    EXPECT_EQ(ReadNumberBE(3, slotArabic), DataDirectory[2][1].Offset);
    SlotFile(slotArabic).Seek(0);
    EXPECT_EQ(ReadNumberBE(2, slotArabic), 0x0700u);  // the count 7, stored little-endian
}

TEST_F(DataFilesTest, DefaultTranslationSkipsArabicInAnyCaseAndWithMoreDots) {
    datafiles::WriteSampleSet(folder);
    const std::string english = [&] {
        std::ifstream in(folder / "English.dabrel", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    fs::remove(folder / "English.dabrel");
    // Where file names ignore case (Windows), these two would be the sample set's Arabic file.
    if (!fs::exists(folder / "ARABIC.dabrel")) {
        Write("ARABIC.dabrel", english);
        Write("arabic.dabrel", english);
    }
    Write("Arabic.old.dabrel", english);
    Write("Zulu.dabrel", english);
    loade();
    EXPECT_EQ(TranslationName, u"Zulu");
    EXPECT_TRUE(messages.empty());
}

TEST_F(DataFilesTest, NoTranslationKeepsNameEmptyAndReportsTheMissingFileButLoadsUnicode) {
    datafiles::WriteSampleSet(folder);
    fs::remove(folder / "English.dabrel");
    loade();
    EXPECT_EQ(TranslationName, u"");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 53 (File not found) in procedure loadeFile of Module mTarvelo");
    EXPECT_FALSE(DataFiles[1]);
    EXPECT_TRUE(DataFiles[3]);
    EXPECT_EQ(ErrorNumberOf([] { ReadVerseText(1, slotTranslation); }), errBadFileNumber);
}

TEST_F(DataFilesTest, MissingArabicFileEndsLoade) {
    datafiles::WriteSampleSet(folder);
    fs::remove(folder / "Arabic.dabrel");
    loade();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Error 53 (File not found) in procedure loadeFile of Module mTarvelo");
    EXPECT_EQ(messages[1], "Error 52 (Bad file name or number) in procedure loade of Module mTarvelo");
}

TEST_F(DataFilesTest, ChangingTranslationReopensSlotOne) {
    datafiles::WriteSampleSet(folder);
    Write("Urdu.dabrel", datafiles::TranslationFile({"627"}, {{1}}, {}, "R1056CNU"));
    loade();
    EXPECT_EQ(TranslationName, u"English");
    TranslationName = u"Urdu";
    loadeFile(slotTranslation);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(TranslationEncoding, TextEncoding::Hexadecimal);
    EXPECT_EQ(TranslationDirection, u'R');
    EXPECT_EQ(TranslationLcid, 1056);
    EXPECT_EQ(ReadVerseText(1, slotTranslation), u"\u0627");
}

// ---------------------------------------------------------------------------------------------
// Readers

TEST_F(DataFilesTest, LastVerseUsesTheClosingPositionAndOneWordVerseHasNoBlanks) {
    OpenTranslation({"alpha", "beta", "omega"}, {{1, 2}, {3}}, {}, "L1033UNC");
    EXPECT_EQ(Utf8(ReadVerseText(2, slotTranslation)), "omega");
    EXPECT_EQ(Utf8(ReadWord(3, slotTranslation)), "omega");
    EXPECT_EQ(ErrorNumberOf([] { ReadVerseText(3, slotTranslation); }), errSubscript);
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(4, slotTranslation); }), errSubscript);
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(0, slotTranslation); }), errSubscript);
    EXPECT_EQ(ErrorNumberOf([] { ReadVerseText(-1, slotTranslation); }), errSubscript);
}

TEST_F(DataFilesTest, EmptyWordsGiveNoDoubleOrOuterBlanks) {
    OpenTranslation({"", "x"}, {{1, 2, 1}, {1}, {}}, {}, "L1033UNC");
    EXPECT_EQ(Utf8(ReadVerseText(1, slotTranslation)), "x");
    EXPECT_EQ(Utf8(ReadVerseText(2, slotTranslation)), "");
    EXPECT_EQ(Utf8(ReadVerseText(3, slotTranslation)), "");
}

TEST_F(DataFilesTest, NoteTextCapitalisesOnlyTheFirstLetter) {
    OpenTranslation({"see", "also", "\xe9t\xe9"}, {{1}}, {{1, 2}, {3, 1}, {2}}, "L1033UNC");
    EXPECT_EQ(Utf8(ReadNoteText(1, slotTranslation)), "See also");
    EXPECT_EQ(Utf8(ReadNoteText(2, slotTranslation)), "\xc3\x89t\xc3\xa9 see");  // "Été see"
    EXPECT_EQ(Utf8(ReadVerseText(1, slotTranslation)), "see");                   // verses keep their case
    EXPECT_EQ(ErrorNumberOf([] { ReadNoteText(4, slotTranslation); }), errSubscript);
    EXPECT_EQ(ErrorNumberOf([] { ReadNoteText(1, slotArabic); }), errBadFileNumber);
}

TEST_F(DataFilesTest, NoteTextCapitalisesUnicodeLetters) {
    OpenTranslation({"431"
                     "43E"
                     "433"},
                    {{1}}, {{1}}, "L1049CNU");  // "бог"
    EXPECT_EQ(ReadNoteText(1, slotTranslation), u"Бог");
}

TEST_F(DataFilesTest, TranslationWithoutTrailerIsPlainLeftToRightEnglish) {
    TranslationDirection = u'R';
    TranslationLcid = 1025;
    TranslationEncoding = TextEncoding::Hexadecimal;
    OpenTranslation({"04A", "\xe9"}, {{1, 2}}, {}, "");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(TranslationEncoding, TextEncoding::Plain);
    EXPECT_EQ(TranslationDirection, u'L');
    EXPECT_EQ(TranslationLcid, 1033);
    EXPECT_EQ(ReadVerseText(1, slotTranslation), u"04A \u00e9");  // unchanged
}

TEST_F(DataFilesTest, HexadecimalAndShiftedPairEncodings) {
    OpenTranslation({"041"
                     "0a9"
                     "FFF",
                     "627644"},
                    {{1, 2}}, {}, "R1025CNU");
    EXPECT_EQ(ReadWord(1, slotTranslation), u"A\u00a9\u0fff");
    EXPECT_EQ(ReadWord(2, slotTranslation), u"\u0627\u0644");
    EXPECT_EQ(TranslationDirection, u'R');

    OpenTranslation({std::string("\x01\x41\x4f\x60", 4), std::string("\x4f", 1), "\x01"}, {{1}}, {}, "L2052CNN");
    EXPECT_EQ(TranslationEncoding, TextEncoding::ShiftedPair);
    EXPECT_EQ(TranslationLcid, 2052);
    EXPECT_EQ(ReadWord(1, slotTranslation), u"A\u4e60");
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(2, slotTranslation); }), errInvalidCall);  // odd length

    OpenTranslation({"04G"}, {{1}}, {}, "L1033CNU");
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotTranslation); }), errTypeMismatch);
}

TEST_F(DataFilesTest, CodePageTextIsReadAsBytesAndDecodedByLocale) {
    // "мир" in code page 1251.
    OpenTranslation({"\xec\xe8\xf0"}, {{1}}, {}, "L1049UNC");
    EXPECT_EQ(TranslationEncoding, TextEncoding::CodePage);
    EXPECT_EQ(CodePageForLcid(TranslationLcid), 1251);
    const std::u16string raw = ReadVerseText(1, slotTranslation);
    EXPECT_EQ(raw, u"\u00ec\u00e8\u00f0");
    EXPECT_EQ(DecodeLowBytes(raw, TranslationLcid), u"мир");
    EXPECT_FALSE(TranslationSingleByte);
}

TEST_F(DataFilesTest, CodePagesOfCommonLocales) {
    EXPECT_EQ(CodePageForLcid(1033), 1252);
    EXPECT_EQ(CodePageForLcid(1036), 1252);
    EXPECT_EQ(CodePageForLcid(1057), 1252);
    EXPECT_EQ(CodePageForLcid(1025), 1256);
    EXPECT_EQ(CodePageForLcid(1056), 1256);
    EXPECT_EQ(CodePageForLcid(1049), 1251);
    EXPECT_EQ(CodePageForLcid(1055), 1254);
    EXPECT_EQ(CodePageForLcid(2052), 936);
    EXPECT_EQ(CodePageForLcid(1028), 950);
    EXPECT_EQ(CodePageForLcid(3098), 1251);
    EXPECT_EQ(CodePageForLcid(1050), 1250);
    EXPECT_EQ(CodePageForLcid(1093), 1252);  // Bengali has no ANSI code page
    EXPECT_EQ(DecodeCodePage("\xc7\xe1", 1256), u"\u0627\u0644");
    EXPECT_EQ(DecodeCodePage("\x80\x81", 1252), u"\u20ac\ufffd");  // 81 is undefined in 1252
    EXPECT_EQ(DecodeCodePage("\xc4\xe3", 936), u"\u4f60");
    EXPECT_EQ(ErrorNumberOf([] { DecodeCodePage("a", 99999); }), errInvalidCall);
}

TEST_F(DataFilesTest, AmbilUnicodeGivesUtf16BytesWithTheVerseNumber) {
    Write("UnicodeArabic.dbu", datafiles::UnicodeFile({"\x28", "\x28\x20\x33"}, {{1}, {1, 2}}));
    loadeFile(slotUnicode);
    const std::u16string one = AmbilUnicode(1, 7);
    EXPECT_EQ(Bytes(one), std::string("\x20\x00\x28\x06\x20\x00\x28\x00\x67\x06\x29\x00", 12));
    // Two words, a blank inside a word stays a blank, and a two-digit verse number.
    const std::u16string two = AmbilUnicode(2, 12);
    EXPECT_EQ(Bytes(two), std::string("\x20\x00\x28\x06\x20\x00\x28\x06\x20\x00\x33\x06"
                                      "\x20\x00\x28\x00\x61\x06\x62\x06\x29\x00",
                                      22));
    EXPECT_TRUE(messages.empty());
}

TEST_F(DataFilesTest, AmbilUnicodeReportsOverflowAndBadIndexesAndReturnsEmpty) {
    Write("UnicodeArabic.dbu", datafiles::UnicodeFile({"\x28"}, {{0x8000}, {1}, {2}}));
    loadeFile(slotUnicode);
    EXPECT_EQ(AmbilUnicode(1, 1), u"");
    EXPECT_EQ(AmbilUnicode(4, 1), u"");
    EXPECT_EQ(AmbilUnicode(3, 1), u"");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], "Error 6 (Overflow) in procedure AmbilUnicode of Module mTarvelo");
    EXPECT_EQ(messages[1], "Error 9 (Subscript out of range) in procedure AmbilUnicode of Module mTarvelo");
    EXPECT_EQ(messages[2], "Error 9 (Subscript out of range) in procedure AmbilUnicode of Module mTarvelo");
    EXPECT_FALSE(AmbilUnicode(2, 1).empty());
}

// Reads anywhere in a file, across its buffered pages and longer than them, give the file's
// bytes; a read past the end is error 62 and leaves the file readable.
TEST_F(DataFilesTest, FileReadsAcrossBufferedPagesGiveTheFileBytes) {
    std::string content(40000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 7919) >> 3);
    Write("big.bin", content);
    DataFile file(folder / "big.bin");
    ASSERT_EQ(file.Size(), content.size());
    const std::pair<std::uint64_t, std::uint64_t> reads[] = {
        {0, 3},     {4094, 5},  {8190, 4100}, {100, 3},   {36000, 4000}, {12, 20000},
        {39999, 1}, {40000, 0}, {4096, 4096}, {33000, 3}, {1000, 3},     {20000, 3},
        {30000, 3}, {5000, 3},  {25000, 3},   {15000, 3}, {35000, 3},    {10, 30},
    };
    for (const auto& [offset, count] : reads) {
        file.Seek(offset);
        EXPECT_EQ(file.Read(count), content.substr(offset, count)) << offset << "+" << count;
        EXPECT_EQ(file.Position(), offset + count);
    }
    file.Seek(39990);
    EXPECT_EQ(ErrorNumberOf([&] { file.Read(11); }), errPastEndOfFile);
    EXPECT_EQ(ErrorNumberOf([&] { file.Seek(40001); }), errPastEndOfFile);
    file.Seek(39990);
    EXPECT_EQ(file.Read(10), content.substr(39990));
    EXPECT_EQ(ErrorNumberOf([] { DataFile missing("/nonexistent/x.dabrel"); }), errFileNotFound);
}

// ---------------------------------------------------------------------------------------------
// Damaged files

TEST_F(DataFilesTest, MoreThanSevenEntriesStopsAtTheEighthKeepingSeven) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 1; i <= 9; ++i)
        entries.push_back({"E" + std::to_string(i), std::string(static_cast<std::size_t>(i), 'x')});
    Write("Arabic.dabrel", datafiles::Assemble(entries));
    loadeFile(slotArabic);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 9 (Subscript out of range) in procedure loadeFile of Module mTarvelo");
    EXPECT_EQ(DataDirectory[2][7].Name, "E7");
    EXPECT_EQ(DataDirectory[2][7].Length, 7u);
}

TEST_F(DataFilesTest, DamagedIndexesEndTheReadWithAnError) {
    const auto index = datafiles::Index3({"ab", "cd"});  // positions 1, 3, 5
    auto withIndex = [&](const std::string& wordIndex) {
        const auto verses = datafiles::Index3({datafiles::Ids({1, 2})});
        Write("T.dabrel",
              datafiles::Assemble({{"W", index.block}, {"WI", wordIndex}, {"V", verses.block}, {"VI", verses.index}},
                                  "L1033ABC"));
        TranslationName = u"T";
        loadeFile(slotTranslation);
    };
    using datafiles::BigEndian;
    withIndex(BigEndian(1, 3) + BigEndian(3, 3) + BigEndian(6, 3));  // past the block
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(2, slotTranslation); }), errInvalidFormat);
    EXPECT_EQ(ErrorNumberOf([] { ReadVerseText(1, slotTranslation); }), errInvalidFormat);
    withIndex(BigEndian(3, 3) + BigEndian(1, 3) + BigEndian(5, 3));  // decreasing
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotTranslation); }), errInvalidFormat);
    withIndex(BigEndian(0, 3) + BigEndian(3, 3) + BigEndian(5, 3));  // positions count from 1
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotTranslation); }), errInvalidFormat);
    withIndex(BigEndian(1, 3) + BigEndian(3, 3) + std::string(2, '\0'));  // index cut short
    EXPECT_EQ(Utf8(ReadWord(1, slotTranslation)), "ab");
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(2, slotTranslation); }), errSubscript);
    withIndex(BigEndian(1, 3) + BigEndian(0xFFFFFF, 3));  // huge length
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotTranslation); }), errInvalidFormat);
    EXPECT_TRUE(messages.empty());
}

TEST_F(DataFilesTest, BlockOutsideTheFileOrTruncatedDirectoryIsReported) {
    std::string file = datafiles::TranslationFile({"a"}, {{1}}, {}, "L1033UNC");
    // Entry 1's length field (bytes 5..7) made far larger than the file.
    file[5] = '\x7f';
    Write("T.dabrel", file);
    TranslationName = u"T";
    loadeFile(slotTranslation);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 321 (Invalid file format) in procedure loadeFile of Module mTarvelo");
    // The entries after the damaged one are not read.
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotTranslation); }), errSubscript);

    messages.clear();
    Write("Arabic.dabrel", datafiles::ArabicFile({"1A"}, {{1}}, {}, "{}").substr(0, 10));
    loadeFile(slotArabic);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 62 (Input past end of file) in procedure loadeFile of Module mTarvelo");

    messages.clear();
    Write("Arabic.dabrel", std::string("\x01\x00\x03\x00\x00\x09\x00\x00\x00", 9));  // L < 6
    loadeFile(slotArabic);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 321 (Invalid file format) in procedure loadeFile of Module mTarvelo");

    messages.clear();
    Write("T.dabrel", "UNC");  // shorter than its trailer
    loadeFile(slotTranslation);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 62 (Input past end of file) in procedure loadeFile of Module mTarvelo");
}

TEST_F(DataFilesTest, ArabicFileWithoutItsTablesIsReportedByLoade) {
    Write("Arabic.dabrel", datafiles::TranslationFile({"1A"}, {{1}}, {}, ""));  // six entries only
    loade();
    ASSERT_GE(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 321 (Invalid file format) in procedure loade of Module mTarvelo");
}

TEST_F(DataFilesTest, WordIdentifierPastTheIndexAndClosedSlots) {
    OpenTranslation({"a"}, {{1, 2}}, {}, "L1033UNC");
    // Deciding how code-page text is typed reads the first verse already.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 9 (Subscript out of range) in procedure loadeFile of Module mTarvelo");
    messages.clear();
    EXPECT_EQ(ErrorNumberOf([] { ReadVerseText(1, slotTranslation); }), errSubscript);
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotArabic); }), errBadFileNumber);
    EXPECT_EQ(ErrorNumberOf([] { ReadWord(1, slotUnicode); }), errBadFileNumber);
    EXPECT_EQ(ErrorNumberOf([] { ReadNumberBE(5, slotTranslation); }), errInvalidCall);
    loadeFile(4);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error 52 (Bad file name or number) in procedure loadeFile of Module mTarvelo");
}

}  // namespace
