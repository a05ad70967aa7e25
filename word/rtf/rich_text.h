// Reading pasted Rich Text into the pieces that the paste places itself.
//
// Writer's own Rich Text import turns a SYMBOL field into a plain character, moves it to the end
// of the fragment and drops its size. The paste therefore reads Rich Text that holds SYMBOL fields
// here and places every piece at the insertion point itself:
//   - a SYMBOL field becomes one glyph: its font is the \f switch ("(normal text)" or no name: the
//     font at the insertion point); a code for a named font is a character of that symbol font,
//     which its symbol character map holds at U+F000 + code; a code for the surrounding font is
//     read in the Arabic code page (1256); with \u the code is a Unicode code point; its size is
//     the \s switch in points, else the field's \fs;
//   - text outside fields keeps its font (from the font table) and size (\fs) where the Rich Text
//     gives them, else takes the insertion point's, and says whether it lies in a right-to-left
//     run (\rtlch);
//   - any other field contributes its result text; \par becomes a paragraph break.
// Unknown groups are skipped; malformed input (unbalanced braces, truncated control words, bad
// numbers, binary data) never makes the reader fail: what cannot be read is left out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace word::rtf {

// One piece of pasted content, in document order.
struct PastePiece {
    enum class Kind { Text, Glyph, ParagraphBreak };
    Kind kind = Kind::Text;
    std::u16string text;                 // empty for a paragraph break
    std::optional<std::u16string> font;  // none: the font at the insertion point
    std::optional<float> points;         // none: the size at the insertion point
    bool rightToLeft = false;            // text of a right-to-left run (\rtlch)

    bool operator==(const PastePiece&) const = default;
};

struct RichTextContent {
    std::vector<PastePiece> pieces;
    std::size_t symbolFields = 0;  // SYMBOL fields read (each one glyph piece)
};

// Reads Rich Text bytes as they lie on the clipboard. Never throws on malformed input.
RichTextContent readRichText(std::string_view rtf);

// Plain text as pieces in the insertion point's formatting: CR LF, CR and LF end paragraphs.
std::vector<PastePiece> plainTextPieces(std::u16string_view text);

// Decodes bytes of the Windows code page `codePage` (1250..1258, 874, 932, 936, 949, 950, 437,
// 850, 10000 ...) to UTF-16. Bytes that do not decode become U+FFFD; an unknown code page is
// read as 1252.
std::u16string decodeCodePage(std::string_view bytes, int codePage);

// The character a SYMBOL field draws for `code`: codes up to 255 of a symbol font (`symbolFont`),
// and control codes of any font, go to the symbol-font area (U+F000 + code), so that they reach
// the font's symbol character map and never break a line or a paragraph; other codes up to 255
// are read in code page 1256; codes are Unicode code points when `unicode` is set (or when they
// are above 255). Empty for a code that is no character.
std::u16string symbolCharacter(long code, bool unicode, bool symbolFont = false);

}  // namespace word::rtf
