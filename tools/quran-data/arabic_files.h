#pragma once
// The add-in's two Arabic files.
//   UnicodeArabic.dbu: the Uthmani text itself, every letter stored as the low byte of its code
//     point U+06xx; entries 1-4 (words, 4-byte LE word index, verses, 4-byte LE verse index);
//     fewer than 32768 distinct words.
//   Arabic.dabrel: entries 1-4 the glyph words and verses, 5 the surah verse offsets (114 x 16-bit
//     big-endian), 6 the surah table (114 records of 34 bytes), 7 the Rich Text header.
// A glyph word is a sequence of pairs (font key "1".."6", code byte) stored last pair first, so
// that the composer, which reads a word's pairs from the end, lays them out in the mapping's order.
// Every verse ends with the word of its end-of-verse ornament, and that word carries one extra
// byte at its end: the composer drops the last character of every verse.
#include "tools/quran-data/source.h"

#include <string>
#include <string_view>
#include <vector>

namespace quran_data {

struct BuiltFile {
    std::string bytes;
    std::size_t distinct_words = 0;
};

BuiltFile build_unicode_arabic(const Source& source);

// The Mushaf text of a verse as the add-in's files hold it: the source's one thin space inside a
// word (2:72) removed, so that the word stays one word.
std::u32string mushaf_text(const Verse& verse);

struct GlyphPair {
    char key;            // '1'..'6'
    unsigned char code;  // glyph code in that font
};

// Turns one word into its glyphs in the order the composer is to lay out their fields.
class GlyphMapping {
public:
    virtual ~GlyphMapping() = default;
    virtual std::vector<GlyphPair> glyphs(std::u32string_view word) const = 0;
};

inline constexpr char kVerseEndByte = '6';

// The stored form of one glyph word.
std::string glyph_word(const std::vector<GlyphPair>& glyphs, bool last_of_verse);

std::string surah_verse_offsets(const Source& source);
std::string surah_table(const Source& source);
std::string rtf_header();

// The words of a verse as the glyph form draws them: the verse text split at its blanks, then the
// text of its end ornament (verse_end(ayah)).
using VerseEndText = std::u32string (*)(int ayah);

// texts: the verse texts to draw, one per verse of the source.
BuiltFile build_arabic_glyphs(const Source& source, const std::vector<std::u32string>& texts,
                              const GlyphMapping& mapping, VerseEndText verse_end);

}  // namespace quran_data
