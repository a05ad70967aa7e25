#pragma once
// Single-byte Windows code pages (1256 Arabic, 1252 Western, 1251 Cyrillic, 1254 Turkish).
// The table is read once from the system's iconv; encoding is then a lookup and any character
// the page cannot hold is an error, never a silent substitute.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quran_data {

class CodePage {
public:
    // number: the Windows code page number, e.g. 1256.
    explicit CodePage(int number);

    int number() const { return number_; }
    std::optional<unsigned char> encode(char32_t c) const;
    // Throws DataError naming the first character the page cannot hold.
    std::string encode(std::u32string_view text) const;
    // U+FFFD for an unassigned byte.
    char32_t decode(unsigned char byte) const { return to_unicode_[byte]; }

private:
    int number_;
    std::array<char32_t, 256> to_unicode_{};
    std::unordered_map<char32_t, unsigned char> to_byte_;
};

// "U+0651" for messages.
std::string code_point_name(char32_t c);

}  // namespace quran_data
