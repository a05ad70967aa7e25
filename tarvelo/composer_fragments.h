// The pieces the composers build text from: the Rich Text glyph fields of one verse and the note
// references of a translation line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mTarvelo {

inline constexpr std::string_view SpaceGroup = "{\\ltrch \\af32 \\rtlch \\f0  }";
inline constexpr std::string_view ClosingGroup = "{\\ltrch \\af32 \\rtlch \\f0  }}";

// Writes the glyph fields of verses in one call: the font of a pair whose key is not "1" to "6"
// is the one of the pair before it, across the verses of the call.
class GlyphFieldWriter {
public:
    // sizeText: the "Font Size" text as typed (the field's size switch); halfPoints: the size in
    // half-points as decimal text.
    GlyphFieldWriter(std::string sizeText, std::string halfPoints);

    // Appends one glyph field and CR LF per pair of each word (pairs last first within a word),
    // a space group after each word and one more after the last.
    void AppendVerse(std::string& fragment, std::string_view verse);
    // One glyph field, without the line end.
    std::string Field(char key, unsigned char code);

private:
    std::string sizeText_, halfPoints_, font_;
};

// Adds the note numbers referred to as "[n]" in `line` to `notes`, in order; a number that no
// note can have (below 1 or beyond 32 bits) is skipped. Throws AddinError for a "[" with no "]"
// after it and when the list would grow beyond `limit`.
void CollectNoteReferences(std::u16string_view line, std::vector<std::int32_t>& notes, std::size_t limit);

}  // namespace mTarvelo
