// The verse composers: put a range of verses of one surah into the active document at the
// insertion point, as Arabic text (glyph fields or Unicode) or as the current translation.
#pragma once

#include <cstdint>

namespace mTarvelo {

// The clipboard format number registered for "Rich Text Format", kept between calls.
extern std::uint32_t RtfFormatId;

// sameLine is false when every verse is to end with a paragraph mark.
void InsertArabic(std::int16_t surah, std::int16_t fromAyah, std::int16_t toAyah, bool sameLine);
void InsertTranslation(std::int16_t surah, std::int16_t fromAyah, std::int16_t toAyah);

}  // namespace mTarvelo
