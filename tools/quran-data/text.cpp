#include "tools/quran-data/text.h"

#include "tools/quran-data/error.h"

namespace quran_data {

std::u32string from_utf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t c = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else {
            throw DataError("malformed UTF-8 at byte " + std::to_string(i));
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= s.size()) throw DataError("truncated UTF-8 at byte " + std::to_string(i));
            const auto n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xC0) != 0x80) throw DataError("malformed UTF-8 at byte " + std::to_string(i + k));
            c = (c << 6) | (n & 0x3F);
        }
        const bool overlong = (extra == 1 && c < 0x80) || (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000);
        if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            throw DataError("invalid UTF-8 sequence at byte " + std::to_string(i));
        out.push_back(c);
        i += 1 + extra;
    }
    return out;
}

std::string to_utf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string to_utf16(std::u32string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
    return out;
}

bool is_white(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x20) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::u32string strip(std::u32string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && is_white(text[b])) ++b;
    while (e > b && is_white(text[e - 1])) --e;
    return std::u32string(text.substr(b, e - b));
}

std::u32string collapse_blanks(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c == U' ' && !out.empty() && out.back() == U' ') continue;
        out.push_back(c);
    }
    return out;
}

std::vector<std::u32string> split_words(std::u32string_view text) {
    std::vector<std::u32string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(U' ', start);
        if (end == std::u32string_view::npos) end = text.size();
        if (end > start) words.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::u32string join_words(const std::vector<std::u32string>& words) {
    std::u32string out;
    for (const auto& w : words) {
        if (!out.empty()) out.push_back(U' ');
        out += w;
    }
    return out;
}

}  // namespace quran_data
