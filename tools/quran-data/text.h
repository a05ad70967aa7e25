#pragma once
// UTF-8 / UTF-32 conversion and the small string helpers the conversions share.
#include <string>
#include <string_view>
#include <vector>

namespace quran_data {

// Throws DataError on malformed UTF-8.
std::u32string from_utf8(std::string_view utf8);
std::string to_utf8(std::u32string_view text);
std::u16string to_utf16(std::u32string_view text);

// Whitespace as the reference conversion understands it (Unicode White_Space, ASCII controls).
bool is_white(char32_t c);
// Removes whitespace at both ends.
std::u32string strip(std::u32string_view text);
// Replaces every run of blanks (U+0020) by one blank.
std::u32string collapse_blanks(std::u32string_view text);
// Pieces between single blanks, empty pieces dropped.
std::vector<std::u32string> split_words(std::u32string_view text);
std::u32string join_words(const std::vector<std::u32string>& words);

}  // namespace quran_data
