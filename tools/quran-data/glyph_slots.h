#pragma once
// The slots of the glyph fonts HQPB1..HQPB5: every distinct placed glyph of the shaped text gets
// one (font, code) slot. A slot is a glyph of the source font with the advance HarfBuzz gave it
// and its offset baked into the outline, so that drawing the slots one after another, left to
// right, with no shaping at all, places every outline where HarfBuzz placed it. Glyphs that take
// room (bases: contextual forms and ligatures) keep their advance and offset exactly, so joins
// stay closed; the offsets of zero-advance glyphs (marks) are rounded to a grid of font units so
// that a mark in nearly the same place shares one slot. The Mushaf text needs 623 base slots and,
// on a grid of 70 units (at most 35 units, 3.5 % of the em, from HarfBuzz's place), 434 mark
// slots: 1057 of the 1090 codes (on a grid of 60 units it would need about 1100).
//
// The codes of a font are the printable bytes 0x21..0xFF without the characters that Rich Text
// or a field instruction treat specially (" \ { }) and DEL; the fonts map them in their symbol
// character map, where a SYMBOL field with a symbol font looks them up.
#include "tools/quran-data/arabic_files.h"
#include "tools/quran-data/glyph_shaping.h"

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace quran_data {

inline constexpr int kGlyphFontCount = 5;
inline constexpr int kOffsetGrid = 70;  // font units (of 1000 to the em)

// The codes a glyph font uses, in the order slots take them.
std::span<const unsigned char> glyph_font_codes();

struct Slot {
    int font = 0;  // 1..5
    unsigned char code = 0;
    ShapedGlyph glyph;  // as drawn
};

class SlotTable {
public:
    // codes_per_font: at most glyph_font_codes().size(); smaller only to test a full table.
    explicit SlotTable(int grid = kOffsetGrid, std::size_t codes_per_font = glyph_font_codes().size());

    // The slot of a placed glyph, giving it the next free one the first time. Throws DataError
    // when every slot of every font is taken.
    GlyphPair slot_of(const ShapedGlyph& glyph);

    // The glyph as its slot draws it: a zero-advance glyph's offset rounded to the grid.
    ShapedGlyph on_grid(const ShapedGlyph& glyph) const;

    const std::vector<Slot>& slots() const { return slots_; }
    // Slots used in font 1..5.
    std::size_t used_in(int font) const;
    std::size_t capacity() const { return codes_per_font_ * kGlyphFontCount; }

    // The slot list the font builder reads: one line per slot,
    //   font <TAB> code <TAB> source glyph name <TAB> advance <TAB> dx <TAB> dy
    // after a first line "units-per-em <TAB> n".
    std::string listing(const Shaper& shaper) const;

private:
    using Key = std::tuple<std::uint32_t, int, int, int>;
    int grid_;
    std::size_t codes_per_font_;
    std::map<Key, std::size_t> index_;
    std::vector<Slot> slots_;
};

// The text of a verse's end: the end-of-verse ornament U+06DD with the verse number in
// Arabic-Indic digits, which the source font draws as one ornament around the number.
std::u32string verse_end_text(int ayah);

// The source writes the open tanween with the marks U+0657 (fathatan), U+065E (dammatan) and U+0656
// (kasratan); the source font knows them by their own code points U+08F0..U+08F2.
std::u32string with_open_tanween(std::u32string_view word);

// A font's advances cannot be negative, but HarfBuzz moves some glyphs back (kerning). The same
// drawing with advances of 0 or more: a negative advance becomes 0 and the rest of it moves the
// following glyphs' offsets (and, where it fits, shortens the next advance), so every outline
// stays where it was and the word keeps its width.
std::vector<ShapedGlyph> without_negative_advances(std::vector<ShapedGlyph> glyphs);

// Words shaped in the source font (open tanween as above), each glyph in its slot; the pairs come left to right, the
// order in which the composer's fields are laid out (symbol-font characters run left to right).
class ShapedGlyphs final : public GlyphMapping {
public:
    ShapedGlyphs(const Shaper& shaper, SlotTable& slots) : shaper_(shaper), slots_(slots) {}
    std::vector<GlyphPair> glyphs(std::u32string_view word) const override;

    std::size_t shaped_words() const { return cache_.size(); }

private:
    const Shaper& shaper_;
    SlotTable& slots_;
    mutable std::unordered_map<std::u32string, std::vector<GlyphPair>> cache_;
};

}  // namespace quran_data
