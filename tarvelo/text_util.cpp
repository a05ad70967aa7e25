#include "tarvelo/text_util.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
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

std::int32_t WholeVal(std::u16string_view text) {
    const double value = Val(text);
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

std::optional<double> ParseLocaleNumber(std::u16string_view text, char16_t decimal, char16_t group) {
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

std::u16string AsciiToUtf16(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace mTarvelo
