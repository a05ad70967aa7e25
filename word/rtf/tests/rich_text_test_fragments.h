// Rich Text fragments as the add-in's composer writes them, for the paste tests and benchmark.
#pragma once

#include <string>

namespace word::rtf::fragments {

// A header that opens the document and names font 0 and font 31.
inline constexpr char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg1256\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 DejaVu Sans;}"
    "{\\f31\\fnil\\fcharset178 DejaVu Serif;}}\r\n";
inline constexpr char kSpaceGroup[] = "{\\ltrch \\af32 \\rtlch \\f0  }";
inline constexpr char kClosingGroup[] = "{\\ltrch \\af32 \\rtlch \\f0  }}";

// One glyph field: code, font name, size text and half-point size.
inline std::string glyphField(int code, const std::string& font, const std::string& sizeText,
                              const std::string& halfPoints) {
    return "{\\ltrch \\af0 \\ltrch \\fs" + halfPoints + " {\\field{\\*\\fldinst SYMBOL " + std::to_string(code) +
           " \\\\f \"" + font + "\" \\\\s " + sizeText + "}{\\fldrslt\\f31\\fs" + halfPoints + "}}}";
}

// One verse: the words (HQPB2 code 65, HQPB1 code 0xC7) and ("(normal text)" 0xE1, lam, at 10.5
// points), read as kComposedText: the symbol fonts' codes in their symbol area.
inline std::string composedVerse() {
    std::string rtf = kHeader;
    rtf += glyphField(65, "HQPB2", "12", "24") + "\r\n";
    rtf += glyphField(0xC7, "HQPB1", "12", "24") + "\r\n";
    rtf += kSpaceGroup;
    rtf += glyphField(0xE1, "(normal text)", "10.5", "21") + "\r\n";
    rtf += kSpaceGroup;
    rtf += kSpaceGroup;
    rtf += kClosingGroup;
    return rtf;
}
inline constexpr char16_t kComposedText[] = u"\uF041\uF0C7 \u0644   ";

}  // namespace word::rtf::fragments
