// Shaping in the source font and the choice of glyph slots.
#include "tools/quran-data/glyph_slots.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/glyph_shaping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace quran_data;

namespace {

TEST(GlyphSlots, CodesArePrintableAndFreeOfRichTextAndFieldSpecials) {
    const auto codes = glyph_font_codes();
    EXPECT_EQ(codes.size(), 218u);
    const std::set<unsigned char> distinct(codes.begin(), codes.end());
    EXPECT_EQ(distinct.size(), codes.size());
    for (unsigned char c : codes) {
        EXPECT_GE(c, 0x21);
        EXPECT_NE(c, '"');
        EXPECT_NE(c, '\\');
        EXPECT_NE(c, '{');
        EXPECT_NE(c, '}');
        EXPECT_NE(c, 0x7F);
    }
}

TEST(GlyphSlots, OneSlotPerPlacedGlyphFontAfterFontAndLoudWhenFull) {
    SlotTable table(70, 2);  // two codes per font: ten slots
    const GlyphPair a = table.slot_of({10, 500, 0, 0});
    EXPECT_EQ(a.key, '1');
    EXPECT_EQ(a.code, 0x21);
    // the same glyph again, and a mark a little off the same grid point: no new slot
    EXPECT_EQ(table.slot_of({10, 500, 0, 0}).code, 0x21);
    const GlyphPair m = table.slot_of({20, 0, 100, -30});
    EXPECT_EQ(m.key, '1');
    EXPECT_EQ(m.code, 0x23);  // '"' is skipped
    EXPECT_EQ(table.slot_of({20, 0, 90, -10}).code, m.code);
    EXPECT_EQ(table.slot_of({20, 0, 90, -10}).key, m.key);
    EXPECT_EQ(table.slots().back().glyph, (ShapedGlyph{20, 0, 70, 0}));
    // a base keeps its exact offset and advance
    EXPECT_EQ(table.slot_of({10, 500, 0, 1}).key, '2');
    const GlyphPair third = table.slot_of({10, 501, 0, 0});
    EXPECT_EQ(third.key, '2');
    EXPECT_EQ(third.code, 0x23);
    for (std::uint32_t g = 100; g < 106; ++g) table.slot_of({g, 300, 0, 0});
    EXPECT_EQ(table.slots().size(), 10u);
    EXPECT_EQ(table.used_in(5), 2u);
    EXPECT_THROW(table.slot_of({999, 300, 0, 0}), DataError);
    EXPECT_EQ(table.slot_of({10, 500, 0, 0}).code, 0x21);  // known glyphs still have theirs
}

TEST(GlyphSlots, NegativeAdvancesMoveIntoTheFollowingGlyphsKeepingEveryPlace) {
    const std::vector<ShapedGlyph> shaped = {
        {1, 400, 0, 0}, {2, -150, 20, 0}, {3, 0, -40, 90}, {4, 100, 0, 0}, {5, 300, 0, 0}};
    const auto fixed = without_negative_advances(shaped);
    ASSERT_EQ(fixed.size(), shaped.size());
    int pen = 0, fixed_pen = 0;
    for (std::size_t i = 0; i < shaped.size(); ++i) {
        EXPECT_GE(fixed[i].advance, 0);
        EXPECT_EQ(fixed_pen + fixed[i].dx, pen + shaped[i].dx) << i;
        EXPECT_EQ(fixed[i].dy, shaped[i].dy);
        pen += shaped[i].advance;
        fixed_pen += fixed[i].advance;
    }
    EXPECT_EQ(fixed_pen, pen);
    EXPECT_EQ(fixed[3].advance, 0);  // 100 of the 150 taken back here, the rest at the next
    EXPECT_EQ(fixed[4].advance, 250);
}

TEST(GlyphSlots, VerseEndTextAndOpenTanween) {
    EXPECT_EQ(verse_end_text(7), U"\u06DD\u0667");
    EXPECT_EQ(verse_end_text(286), U"\u06DD\u0662\u0668\u0666");
    EXPECT_THROW(verse_end_text(0), DataError);
    EXPECT_EQ(with_open_tanween(U"\u0628\u0657\u0628\u065E\u0628\u0656\u064B"),
              U"\u0628\u08F0\u0628\u08F1\u0628\u08F2\u064B");
}

class SourceFontShaping : public ::testing::Test {
protected:
    static const Shaper& shaper() {
        static const Shaper s(HQPB_SOURCE_FONT);
        return s;
    }
};

TEST_F(SourceFontShaping, WordsComeLeftToRightWithMarksOfZeroAdvance) {
    // beh kasra seen sukun meem kasra: "bismi"
    const auto glyphs = shaper().shape(U"\u0628\u0650\u0633\u06E1\u0645\u0650");
    ASSERT_GE(glyphs.size(), 6u);
    int marks = 0;
    for (const auto& g : glyphs) marks += g.advance == 0 && shaper().is_mark(g.glyph) ? 1 : 0;
    EXPECT_EQ(marks, 3);
    // Visual order: the last letter (meem, final form) comes first, beh (initial form) last.
    const auto first_base =
        std::find_if(glyphs.begin(), glyphs.end(), [](const ShapedGlyph& g) { return g.advance > 0; });
    EXPECT_NE(shaper().glyph_name(first_base->glyph).find("uni0645.fina"), std::string::npos);
    EXPECT_NE(shaper().glyph_name(glyphs.back().glyph).find("uni0628.init"), std::string::npos);
    EXPECT_EQ(shaper().units_per_em(), 1000);
    EXPECT_THROW(shaper().shape(U"\u0628\U0001F600"), DataError);  // no glyph: no silent .notdef
    EXPECT_THROW(Shaper("/nonexistent/font.ttf"), DataError);
}

TEST_F(SourceFontShaping, TheVerseEndOrnamentTakesItsDigits) {
    const auto one = shaper().shape(verse_end_text(1));
    const auto big = shaper().shape(verse_end_text(286));
    ASSERT_FALSE(one.empty());
    // One ornament, wide enough for its number, with the digits inside it
    EXPECT_EQ(std::count_if(big.begin(), big.end(), [](const ShapedGlyph& g) { return g.advance > 0; }), 1);
    EXPECT_EQ(big.size(), 4u);
    EXPECT_GT(big.front().advance, 0) << "the ornament first: its number runs left to right";
}

TEST_F(SourceFontShaping, MappingUsesOneSlotPerDistinctPlacedGlyph) {
    SlotTable table;
    const ShapedGlyphs mapping(shaper(), table);
    const auto first = mapping.glyphs(U"\u0628\u0650\u0633\u06E1\u0645\u0650");
    const std::size_t used = table.slots().size();
    EXPECT_EQ(first.size(), shaper().shape(U"\u0628\u0650\u0633\u06E1\u0645\u0650").size());
    EXPECT_LE(used, first.size());
    EXPECT_EQ(mapping.glyphs(U"\u0628\u0650\u0633\u06E1\u0645\u0650").size(), first.size());
    EXPECT_EQ(table.slots().size(), used);
    for (const auto& p : first) EXPECT_EQ(p.key, '1');
    EXPECT_NE(table.listing(shaper()).find("units-per-em\t1000\n1\t33\t"), std::string::npos);
}

}  // namespace
