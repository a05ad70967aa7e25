// libFuzzer target: the Rich Text reader of pastes, over whatever another program left on the
// clipboard as Rich Text, and the code-page decoding it uses. Malformed input must be read as far
// as it goes, never crash, throw, hang or read outside the input.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "word/rtf/rich_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const word::rtf::RichTextContent content = word::rtf::readRichText(rtf);
    std::size_t glyphs = 0;
    for (const auto& piece : content.pieces) {
        if (piece.kind == word::rtf::PastePiece::Kind::Glyph) ++glyphs;
        if (piece.kind == word::rtf::PastePiece::Kind::ParagraphBreak && !piece.text.empty()) std::abort();
    }
    if (glyphs > content.symbolFields) std::abort();

    static constexpr int codePages[] = {1256, 1252, 1250, 874, 932, 936, 949, 950, 437, 10000, 0, -1};
    if (size > 0) word::rtf::decodeCodePage(rtf.substr(1), codePages[data[0] % std::size(codePages)]);
    if (size >= 4) {
        long code = 0;
        for (int i = 0; i < 4; ++i) code = code * 256 + data[i];
        word::rtf::symbolCharacter(code - 0x80000000L, (data[0] & 1) != 0);
    }
    return 0;
}
