#include "versend/code_page.h"

#include "codepage/code_page.h"

#include <array>
#include <stdexcept>
#include <unordered_map>

namespace versend {
namespace {

// The code page as a table built once, so that decoding a line is a lookup per byte rather than
// a conversion call per line.
struct CodePageTable {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, char> fromUnicode;

    CodePageTable() {
        if (!codepage::decode({}, 1256)) throw std::runtime_error("the system has no code page 1256");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const auto decoded = codepage::decode(std::string_view(&byte, 1), 1256);
            const bool ok = decoded && decoded->size() == 1 && (*decoded)[0] != u'\uFFFD';
            // A byte that the code page leaves undefined keeps its Latin-1 value, so that nothing is lost.
            const char16_t unit = ok ? (*decoded)[0] : static_cast<char16_t>(b);
            toUnicode[static_cast<std::size_t>(b)] = unit;
            fromUnicode.emplace(unit, byte);
        }
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
