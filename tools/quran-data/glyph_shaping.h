#pragma once
// Shaping of Arabic words in the source font of the glyph fonts (Amiri Quran) with HarfBuzz.
// A shaped word is its glyphs in visual order, left to right, each with the advance and the offset
// HarfBuzz gave it, in font units.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct hb_font_t;

namespace quran_data {

struct ShapedGlyph {
    std::uint32_t glyph = 0;  // glyph id in the source font
    int advance = 0;
    int dx = 0;
    int dy = 0;

    bool operator==(const ShapedGlyph&) const = default;
};

class Shaper {
public:
    // Throws DataError if the file is no font HarfBuzz can read.
    explicit Shaper(const std::filesystem::path& font_file);
    ~Shaper();
    Shaper(Shaper&&) noexcept;
    Shaper& operator=(Shaper&&) noexcept;

    // One word, Arabic script and language, right to left; a word made only of Arabic numbers
    // (Arabic-Indic digits and the end-of-verse sign, bidirectional class AN) left to right, as
    // the bidirectional algorithm runs it and as the font's verse-end ornament expects it.
    // Throws DataError if the font has no glyph for one of its characters.
    std::vector<ShapedGlyph> shape(std::u32string_view word) const;

    int units_per_em() const { return units_per_em_; }
    std::string glyph_name(std::uint32_t glyph) const;
    // A mark in the font's glyph classes (it takes no room of its own).
    bool is_mark(std::uint32_t glyph) const;

private:
    struct FontDeleter {
        void operator()(hb_font_t* font) const;
    };
    std::unique_ptr<hb_font_t, FontDeleter> font_;
    int units_per_em_ = 0;
};

}  // namespace quran_data
