// Byte-level expectations of the data-file writer, worked out by hand.
#include "tools/quran-data/container.h"
#include "tools/quran-data/error.h"

#include <gtest/gtest.h>

using namespace quran_data;
using namespace std::string_literals;

namespace {

TEST(Container, NumbersInTheirByteOrders) {
    std::string s;
    put_le16(s, 0x0102);
    put_be16(s, 0x0102);
    put_be24(s, 0x010203);
    put_le32(s, 0x01020304);
    EXPECT_EQ(s, "\x02\x01\x01\x02\x01\x02\x03\x04\x03\x02\x01"s);
    EXPECT_THROW(put_be24(s, 0x1000000), DataError);
    EXPECT_THROW(put_be16(s, 0x10000), DataError);
}

TEST(Container, IndexPositionsCountFromOneAndCloseTheLastItem) {
    IndexedItems items;
    items.add("ab");
    items.add("");
    items.add("cde");
    EXPECT_EQ(items.count(), 3u);
    EXPECT_EQ(items.block(), "abcde");
    // P = 1, 3, 3, 6: item k is P(k+1) - P(k) bytes long, the empty item 0
    EXPECT_EQ(items.index(IndexWidth::BigEndian24), "\0\0\x01\0\0\x03\0\0\x03\0\0\x06"s);
    EXPECT_EQ(items.index(IndexWidth::LittleEndian32), "\x01\0\0\0\x03\0\0\0\x03\0\0\0\x06\0\0\0"s);
    EXPECT_EQ(IndexedItems().index(IndexWidth::BigEndian24), "\0\0\x01"s);
}

TEST(Container, WordTableNumbersDistinctWordsFromOneAndStopsAtItsLimit) {
    WordTable words(3);
    EXPECT_EQ(words.id_of("x"), 1u);
    EXPECT_EQ(words.id_of("yy"), 2u);
    EXPECT_EQ(words.id_of("x"), 1u);
    EXPECT_EQ(words.id_of("z"), 3u);
    EXPECT_EQ(words.size(), 3u);
    EXPECT_EQ(words.words().block(), "xyyz");
    EXPECT_THROW(words.id_of("w"), DataError);
    EXPECT_EQ(words.id_of("yy"), 2u);  // known words still resolve
    EXPECT_EQ(word_sequence({1, 0x0203, 0xFFFF}), "\0\x01\x02\x03\xFF\xFF"s);
}

TEST(Container, DirectoryPointsAtBlocksAfterIt) {
    const std::string file = write_container({{"A", "xyz"}, {"Bc", ""}, {"D", "!"}}, "L1033UNC");
    // directory: 2 + (7+1) + (7+2) + (7+1) = 27 bytes; blocks at 27, 30, 30
    const std::string expected =
        "\x03\0"s
        "\x07\0\0\x1B\0\0\x03"s
        "A"
        "\x08\0\0\x1E\0\0\0"s
        "Bc"
        "\x07\0\0\x1E\0\0\x01"s
        "D"
        "xyz!"
        "L1033UNC";
    EXPECT_EQ(file, expected);
}

TEST(Container, RefusesMoreThanSevenEntriesAndOffsetsBeyondThreeBytes) {
    EXPECT_NO_THROW(write_container(std::vector<Entry>(7, Entry{"e", "b"})));
    EXPECT_THROW(write_container(std::vector<Entry>(8, Entry{"e", "b"})), DataError);
    const std::string big(0xFFFFFF, 'x');
    EXPECT_THROW(write_container({{"a", big}, {"b", "y"}}), DataError);
}

}  // namespace
