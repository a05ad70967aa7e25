#include "tarvelo/text_util.h"

#include <iconv.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <memory>

namespace mTarvelo {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

double Val(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string digits;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) digits += static_cast<char>(text[i++]);
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits += static_cast<char>(c);
        } else if (c == u'.' && !point) {
            point = true;
            digits += '.';
        } else if (!IsBlank(c)) {
            break;  // blanks inside a number are skipped, anything else ends it
        }
    }
    double value = 0;
    const char* first = digits.data();
    if (!digits.empty() && digits[0] == '+') ++first;
    std::from_chars(first, digits.data() + digits.size(), value);
    return value;
}

std::optional<double> ParseLocaleNumber(std::u16string_view text, char16_t decimal,
                                        char16_t group) {
    const std::u16string trimmed = TrimBlanks(text);
    std::string ascii;
    bool anyDigit = false, seenDecimal = false;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i];
        if (c >= u'0' && c <= u'9') {
            ascii += static_cast<char>(c);
            anyDigit = true;
        } else if (c == decimal && !seenDecimal) {
            seenDecimal = true;
            ascii += '.';
        } else if (c == group && !seenDecimal && anyDigit) {
            // digit-group separators are ignored
        } else if ((c == u'-' || c == u'+') && i == 0) {
            if (c == u'-') ascii += '-';
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc{} || end != ascii.data() + ascii.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseLocaleNumber(std::u16string_view text) {
    const std::lconv* conv = std::localeconv();
    char16_t decimal = u'.', group = u',';
    if (conv && conv->decimal_point && std::strlen(conv->decimal_point) == 1)
        decimal = static_cast<unsigned char>(conv->decimal_point[0]);
    if (conv && conv->thousands_sep && std::strlen(conv->thousands_sep) == 1)
        group = static_cast<unsigned char>(conv->thousands_sep[0]);
    else
        group = decimal == u'.' ? u',' : u'.';
    return ParseLocaleNumber(text, decimal, group);
}

std::string FormatNumber(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc{}) return "0";
    return std::string(buffer.data(), end);
}

std::u16string TrimBlanks(std::u16string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return std::u16string(text.substr(first, last - first));
}

std::u16string TrimLeadingBlanks(std::u16string_view text) {
    std::size_t first = 0;
    while (first < text.size() && text[first] == u' ') ++first;
    return std::u16string(text.substr(first));
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 6 && i + 1 < text.size()) {
            cp = ((c & 0x1F) << 6) | (text[i + 1] & 0x3F);
            len = 2;
        } else if ((c >> 4) == 14 && i + 2 < text.size()) {
            cp = ((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
            len = 3;
        } else if ((c >> 3) == 30 && i + 3 < text.size()) {
            cp = ((c & 0x07) << 18) | ((text[i + 1] & 0x3F) << 12) | ((text[i + 2] & 0x3F) << 6) |
                 (text[i + 3] & 0x3F);
            len = 4;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string AsciiToUtf16(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

int AnsiCodePageOfLcid(std::int32_t lcid) {
    switch (lcid & 0x3FF) {  // the primary language decides the code page
        case 0x01: case 0x20: case 0x29: case 0x59: return 1256;  // Arabic, Urdu, Farsi, Sindhi
        case 0x19: case 0x02: case 0x22: case 0x23: case 0x2F: case 0x44: case 0x3F:
        case 0x40: case 0x50: return 1251;                           // Cyrillic scripts
        case 0x05: case 0x0E: case 0x15: case 0x18: case 0x1B: case 0x24: case 0x1C:
            return 1250;                                              // Central European
        case 0x08: return 1253;                                       // Greek
        case 0x1F: case 0x2C: case 0x43: return 1254;                 // Turkish, Azeri, Uzbek
        case 0x0D: return 1255;                                       // Hebrew
        case 0x25: case 0x26: case 0x27: return 1257;                 // Baltic
        case 0x2A: return 1258;                                       // Vietnamese
        case 0x1E: return 874;                                        // Thai
        case 0x11: return 932;                                        // Japanese
        case 0x12: return 949;                                        // Korean
        case 0x04: return (lcid == 0x0404 || lcid == 0x0C04 || lcid == 0x1404) ? 950 : 936;
        case 0x1A: return (lcid == 0x0C1A || lcid == 0x201A) ? 1251 : 1250;  // Serbian Cyrillic
        default: return 1252;
    }
}

std::u16string DecodeLowBytesInCodePage(std::u16string_view text, int codePage) {
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-16LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-16LE", "CP1252");
    const std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        char in = static_cast<char>(c & 0xFF);
        char16_t decoded[2] = {};
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(decoded);
        std::size_t outLeft = sizeof decoded;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            outLeft == sizeof decoded)
            out += u'\uFFFD';
        else
            out.append(decoded, (sizeof decoded - outLeft) / sizeof(char16_t));
    }
    return out;
}

}  // namespace mTarvelo
