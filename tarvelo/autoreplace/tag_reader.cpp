#include "tarvelo/autoreplace/tag_reader.h"

#include <algorithm>

namespace mTarvelo {
namespace {

constexpr std::int64_t numberLimit = 1'000'000'000;

bool isNumberBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

std::u16string decimal(std::int64_t n) {
    const std::string digits = std::to_string(n);
    return {digits.begin(), digits.end()};
}

std::u16string_view trimBlanks(std::u16string_view text) {
    const auto isPadding = [](char16_t c) { return c == u' ' || c == u'\0'; };
    while (!text.empty() && isPadding(text.front())) text.remove_prefix(1);
    while (!text.empty() && isPadding(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::u16string UpperCaseTag(std::u16string_view text) {
    std::u16string upper(text);
    for (auto& c : upper) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return upper;
}

std::int64_t NumberValue(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isNumberBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (text[i] - u'0'), numberLimit);
    }
    return negative ? -value : value;
}

std::optional<TagRequest> ReadTag(std::u16string_view tag) {
    if (!tag.starts_with(u"[QS")) return std::nullopt;
    const auto colon = tag.find(u':');
    if (colon == std::u16string_view::npos) return std::nullopt;

    TagRequest request;
    // The surah number stands between "[QS" and the colon.
    request.surah = NumberValue(tag.substr(3, colon - 3));
    request.from = NumberValue(tag.substr(colon + 1));
    const auto hyphen = tag.find(u'-');
    request.to = hyphen == std::u16string_view::npos ? request.from : NumberValue(tag.substr(hyphen + 1));

    const auto has = [&](char16_t letter) { return tag.find(letter) != std::u16string_view::npos; };
    request.arabic = has(u'A');
    request.translation = has(u'T');
    if (has(u'B')) {
        request.arabic = true;
        request.translation = true;
    }
    // The "S" of "[QS" does not count.
    request.alternate = tag.find(u'S', 3) != std::u16string_view::npos;
    request.sameLine = !has(u'N');
    return request;
}

std::optional<std::int16_t> RequestedInsertMode(const TagRequest& request) {
    if (request.arabic && request.translation) return ArabicAndTranslation;
    if (request.arabic) return ArabicOnly;
    if (request.translation) return TranslationOnly;
    return std::nullopt;
}

std::u16string CitationText(std::int64_t surah, std::u16string_view surahName, std::int64_t from, std::int64_t to) {
    std::u16string citation = u"(QS" + decimal(surah) + u". ";
    citation += trimBlanks(surahName);
    citation += u" ayat " + decimal(from);
    if (to != from) citation += u"-" + decimal(to);
    citation += u")";
    return citation;
}

}  // namespace mTarvelo
