#include "tarvelo/text_util.h"

#include "codepage/code_page.h"

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

std::u16string AsciiToUtf16(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string DecodeLowBytesInCodePage(std::u16string_view text, int codePage) {
    // A code page this system does not know: Windows-1252.
    const int page = codepage::decode({}, codePage) ? codePage : 1252;
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        // Each character alone: a lead byte of a double-byte code page decodes to nothing.
        const char byte = static_cast<char>(c & 0xFF);
        const auto decoded = codepage::decode(std::string_view(&byte, 1), page);
        if (decoded && !decoded->empty())
            out += *decoded;
        else
            out += u'\uFFFD';
    }
    return out;
}

}  // namespace mTarvelo
