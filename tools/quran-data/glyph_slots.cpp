#include "tools/quran-data/glyph_slots.h"

#include "tools/quran-data/error.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quran_data {

namespace {

constexpr auto kCodes = [] {
    std::array<unsigned char, 0xFF - 0x21 + 1 - 5> codes{};
    std::size_t n = 0;
    for (int c = 0x21; c <= 0xFF; ++c)
        if (c != '"' && c != '\\' && c != '{' && c != '}' && c != 0x7F) codes[n++] = static_cast<unsigned char>(c);
    return codes;
}();

int round_to(int value, int grid) { return static_cast<int>(std::lround(static_cast<double>(value) / grid)) * grid; }

}  // namespace

std::span<const unsigned char> glyph_font_codes() { return kCodes; }

SlotTable::SlotTable(int grid, std::size_t codes_per_font) : grid_(grid), codes_per_font_(codes_per_font) {
    if (grid_ < 1 || codes_per_font_ < 1 || codes_per_font_ > kCodes.size())
        throw DataError("glyph slots: bad grid or code count");
}

ShapedGlyph SlotTable::on_grid(const ShapedGlyph& glyph) const {
    if (glyph.advance != 0) return glyph;
    return {glyph.glyph, 0, round_to(glyph.dx, grid_), round_to(glyph.dy, grid_)};
}

GlyphPair SlotTable::slot_of(const ShapedGlyph& glyph) {
    const ShapedGlyph g = on_grid(glyph);
    const Key key{g.glyph, g.advance, g.dx, g.dy};
    if (const auto it = index_.find(key); it != index_.end()) {
        const Slot& s = slots_[it->second];
        return {static_cast<char>('0' + s.font), s.code};
    }
    const std::size_t n = slots_.size();
    if (n >= capacity())
        throw DataError("glyph " + std::to_string(g.glyph) + " (advance " + std::to_string(g.advance) + ", offset " +
                        std::to_string(g.dx) + "," + std::to_string(g.dy) + ") has no slot: all " +
                        std::to_string(capacity()) + " codes of the " + std::to_string(kGlyphFontCount) +
                        " glyph fonts are taken");
    const Slot s{static_cast<int>(n / codes_per_font_) + 1, kCodes[n % codes_per_font_], g};
    slots_.push_back(s);
    index_.emplace(key, n);
    return {static_cast<char>('0' + s.font), s.code};
}

std::size_t SlotTable::used_in(int font) const {
    std::size_t n = 0;
    for (const auto& s : slots_) n += s.font == font ? 1 : 0;
    return n;
}

std::string SlotTable::listing(const Shaper& shaper) const {
    std::string out = "units-per-em\t" + std::to_string(shaper.units_per_em()) + "\n";
    for (const auto& s : slots_) {
        out += std::to_string(s.font) + "\t" + std::to_string(s.code) + "\t" + shaper.glyph_name(s.glyph.glyph) + "\t" +
               std::to_string(s.glyph.advance) + "\t" + std::to_string(s.glyph.dx) + "\t" + std::to_string(s.glyph.dy) +
               "\n";
    }
    return out;
}

std::u32string verse_end_text(int ayah) {
    if (ayah < 1) throw DataError("verse number " + std::to_string(ayah) + " has no end ornament");
    std::u32string digits;
    for (int n = ayah; n > 0; n /= 10) digits.insert(digits.begin(), static_cast<char32_t>(U'\u0660' + n % 10));
    return U"\u06DD" + digits;
}

std::u32string with_open_tanween(std::u32string_view word) {
    std::u32string out(word);
    for (char32_t& c : out) {
        if (c == U'\u0657') c = U'\u08F0';
        else if (c == U'\u065E') c = U'\u08F1';
        else if (c == U'\u0656') c = U'\u08F2';
    }
    return out;
}

std::vector<ShapedGlyph> without_negative_advances(std::vector<ShapedGlyph> glyphs) {
    int behind = 0;  // how far the drawn pen lies ahead of HarfBuzz's pen (0 or less)
    for (auto& g : glyphs) {
        g.dx += behind;
        const int advance = g.advance + behind;
        g.advance = std::max(advance, 0);
        behind = advance - g.advance;
    }
    return glyphs;
}

std::vector<GlyphPair> ShapedGlyphs::glyphs(std::u32string_view word) const {
    const std::u32string key(word);
    if (const auto it = cache_.find(key); it != cache_.end()) return it->second;
    std::vector<GlyphPair> pairs;
    for (const auto& g : without_negative_advances(shaper_.shape(with_open_tanween(word))))
        pairs.push_back(slots_.slot_of(g));
    cache_.emplace(key, pairs);
    return pairs;
}

}  // namespace quran_data
