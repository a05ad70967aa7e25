#include "versend/letter_folding.h"

#include "versend/code_page.h"

#include <array>
#include <utility>

namespace versend {
namespace {

constexpr char16_t kAlef = u'\u0627';
constexpr char16_t kYeh = u'\u064A';
constexpr char16_t kHeh = u'\u0647';
constexpr char16_t kWaw = u'\u0648';
constexpr char16_t kKaf = u'\u0643';
constexpr char16_t kTatweel = u'\u0640';

// Letters typed one for another, and the letter that stands for them all.
constexpr std::array<std::pair<char16_t, char16_t>, 10> kLetterFolds{{
    {u'\u0622', kAlef},  // alef with madda above
    {u'\u0623', kAlef},  // alef with hamza above
    {u'\u0625', kAlef},  // alef with hamza below
    {u'\u0671', kAlef},  // alef wasla
    {u'\u0649', kYeh},   // alef maqsura
    {u'\u0626', kYeh},   // yeh with hamza above
    {u'\u06CC', kYeh},   // Farsi yeh (Persian and Urdu keyboards)
    {u'\u0629', kHeh},   // teh marbuta
    {u'\u0624', kWaw},   // waw with hamza above
    {u'\u06A9', kKaf},   // keheh (Persian and Urdu keyboards)
}};

// A combining mark of the Arabic blocks: harakat, tanween, shadda, sukun, the combining hamza
// and madda, the small letters of the Quranic text.
bool isArabicMark(char16_t ch) {
    const bool arabic =
        (ch >= 0x0600 && ch <= 0x06FF) || (ch >= 0x0750 && ch <= 0x077F) || (ch >= 0x08A0 && ch <= 0x08FF);
    return arabic && QChar::category(static_cast<char32_t>(ch)) == QChar::Mark_NonSpacing;
}

// The fold over the 256 bytes of the code page: what each byte becomes, and whether it stays.
struct ByteFold {
    std::array<char, 256> to{};
    std::array<unsigned char, 256> keep{};

    ByteFold() {
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString decoded = decodeArabicCodePage(std::string_view(&byte, 1));
            const auto folded = foldLetter(decoded.at(0).unicode());
            const auto encoded = folded ? encodeArabicCodePage(QString(QChar(*folded))) : std::nullopt;
            to[static_cast<std::size_t>(b)] = encoded && encoded->size() == 1 ? encoded->front() : byte;
            keep[static_cast<std::size_t>(b)] = folded ? 1 : 0;
        }
    }
};

const ByteFold& byteFold() {
    static const ByteFold instance;
    return instance;
}

}  // namespace

std::optional<char16_t> foldLetter(char16_t ch) {
    if (ch == kTatweel || isArabicMark(ch)) return std::nullopt;
    for (const auto& [from, to] : kLetterFolds) {
        if (ch == from) return to;
    }
    return ch;
}

std::optional<std::string> foldedQuery(const QString& query) {
    QString folded;
    folded.reserve(query.size());
    for (QChar ch : query) {
        if (const auto letter = foldLetter(ch.unicode())) folded.append(QChar(*letter));
    }
    return encodeArabicCodePage(folded);
}

void appendFoldedBytes(std::string_view bytes, std::string& out) {
    const ByteFold& fold = byteFold();
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    char* at = out.data() + start;
    // Every byte is written; a dropped one is written over by the next.
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *at = fold.to[b];
        at += fold.keep[b];
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
}

}  // namespace versend
