#pragma once
// The two name tables of the 114 surahs and the three-digit surah code.

#include <string>
#include <string_view>

namespace versend {

// Entry of the chooser table: 0 is the prompt "اختر اسم السورة", 1..114 the surah names.
// Empty outside 0..114.
std::u16string_view chooserName(int index);

// Entry of the citation table: 0 is "0", 1..114 the names used in citations.
// Empty outside 0..114.
std::u16string_view citationName(int surah);

// The number in decimal with "00" in front of one digit and "0" in front of two: 5 -> "005".
std::string surahCode(int number);

}  // namespace versend
