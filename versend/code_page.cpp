#include "versend/code_page.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <unordered_map>

namespace versend {
namespace {

// The code page as a table built once through iconv, so that decoding a line is a lookup
// per byte rather than a conversion call per line.
struct CodePageTable {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, char> fromUnicode;

    CodePageTable() {
        iconv_t cd = iconv_open("UTF-16LE", "CP1256");
        if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP1256");
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
            unsigned char out[4] = {};
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(out);
            std::size_t inLeft = 1, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)
                            && sizeof out - outLeft == 2;
            // A byte that iconv leaves undefined keeps its Latin-1 value, so that nothing is lost.
            const char16_t unit = ok ? static_cast<char16_t>(out[0] | (out[1] << 8)) : static_cast<char16_t>(b);
            toUnicode[static_cast<std::size_t>(b)] = unit;
            fromUnicode.emplace(unit, static_cast<char>(b));
        }
        iconv_close(cd);
    }
};

const CodePageTable& table() {
    static const CodePageTable instance;
    return instance;
}

}  // namespace

QString decodeArabicCodePage(std::string_view bytes) {
    const auto& map = table().toUnicode;
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    for (char c : bytes) *out++ = map[static_cast<unsigned char>(c)];
    return text;
}

std::optional<std::string> encodeArabicCodePage(const QString& text) {
    const auto& map = table().fromUnicode;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const auto it = map.find(ch.unicode());
        if (it == map.end()) return std::nullopt;
        bytes.push_back(it->second);
    }
    return bytes;
}

std::string encodeArabicCodePageLossy(const QString& text) {
    const auto& map = table().fromUnicode;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const auto it = map.find(ch.unicode());
        bytes.push_back(it == map.end() ? '?' : it->second);
    }
    return bytes;
}

}  // namespace versend
