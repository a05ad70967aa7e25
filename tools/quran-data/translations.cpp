#include "tools/quran-data/translations.h"

#include "tools/quran-data/container.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/text.h"

#include <cstdio>

namespace quran_data {

namespace {

constexpr std::uint32_t kMaxWordId = 65535;

// Plain equivalents of characters that some encodings cannot hold. Letters with a dot or line
// below/above are written as the letter and the combining mark, which says the same thing.
std::optional<std::u32string> plain_equivalent(char32_t c) {
    switch (c) {
        case U'\u2018':
        case U'\u2019':
        case U'\u201A':
        case U'\u201B':
        case U'\u2032': return U"'";
        case U'\u201C':
        case U'\u201D':
        case U'\u201E':
        case U'\u201F':
        case U'\u2033': return U"\"";
        case U'\u2010':
        case U'\u2011':
        case U'\u2012':
        case U'\u2013':
        case U'\u2014':
        case U'\u2015':
        case U'\u2212': return U"-";
        case U'\u2026': return U"...";
        case U'\uFDFA':  // the blessing ligature, spelled out
            return U"\u0635\u0644\u0649 \u0627\u0644\u0644\u0647 \u0639\u0644\u064A\u0647 \u0648\u0633\u0644\u0645";
        case U'\u1E0C': return U"D\u0323";
        case U'\u1E0D': return U"d\u0323";
        case U'\u1E0E': return U"D\u0331";
        case U'\u1E0F': return U"d\u0331";
        case U'\u1E24': return U"H\u0323";
        case U'\u1E25': return U"h\u0323";
        case U'\u1E2A': return U"H\u032E";
        case U'\u1E2B': return U"h\u032E";
        case U'\u1E32': return U"K\u0323";
        case U'\u1E33': return U"k\u0323";
        case U'\u1E5A': return U"R\u0323";
        case U'\u1E5B': return U"r\u0323";
        case U'\u1E60': return U"S\u0307";
        case U'\u1E61': return U"s\u0307";
        case U'\u1E62': return U"S\u0323";
        case U'\u1E63': return U"s\u0323";
        case U'\u1E6C': return U"T\u0323";
        case U'\u1E6D': return U"t\u0323";
        case U'\u1E6E': return U"T\u0331";
        case U'\u1E6F': return U"t\u0331";
        case U'\u1E92': return U"Z\u0323";
        case U'\u1E93': return U"z\u0323";
        case U'\u1E94': return U"Z\u0331";
        case U'\u1E95': return U"z\u0331";
        case U'\u1E96': return U"h\u0331";
        default: break;
    }
    if (c >= 0xFF01 && c <= 0xFF5E)  // fullwidth forms of ASCII punctuation, digits and letters
        return std::u32string(1, c - 0xFEE0);
    return std::nullopt;
}

std::string describe(char32_t c) {
    if (c == U'\'') return "\"'\"";
    if (c >= 0x21 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
    return code_point_name(c);
}

bool is_digit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

const std::vector<Language>& languages() {
    static const std::vector<Language> all = {
        {"bn", "Bengali", TextEncoding::Hexadecimal, 0, 'L', 2117},
        {"en", "English", TextEncoding::CodePage, 1252, 'L', 1033},
        {"es", "Spanish", TextEncoding::CodePage, 1252, 'L', 3082},
        {"fr", "French", TextEncoding::CodePage, 1252, 'L', 1036},
        {"id", "Indonesia", TextEncoding::Hexadecimal, 0, 'L', 1057},
        {"ru", "Russian", TextEncoding::CodePage, 1251, 'L', 1049},
        {"sv", "Swedish", TextEncoding::CodePage, 1252, 'L', 1053},
        {"tr", "Turkish", TextEncoding::CodePage, 1254, 'L', 1055},
        {"ur", "Urdu", TextEncoding::Hexadecimal, 0, 'R', 1056},
        {"zh", "Chinese", TextEncoding::ShiftedPair, 0, 'L', 2052},
    };
    return all;
}

TranslationEncoder::TranslationEncoder(const Language& language) : language_(language) {
    if (language.encoding == TextEncoding::CodePage) page_.emplace(language.code_page);
}

bool TranslationEncoder::holds(char32_t c) const {
    switch (language_.encoding) {
        case TextEncoding::CodePage: return page_->encode(c).has_value();
        case TextEncoding::Hexadecimal: return c <= 0xFFF;
        case TextEncoding::ShiftedPair: return c <= 0xFEFF;
    }
    return false;
}

void TranslationEncoder::count(char32_t from, std::u32string_view to) {
    std::string d = describe(from) + " ->";
    if (to.empty()) d += " (nothing)";
    for (char32_t c : to) d += " " + (c == U' ' ? std::string("blank") : describe(c));
    ++counts_[d];
}

std::u32string TranslationEncoder::prepare(std::u32string_view text) {
    // The readers of hexadecimal and shifted-pair text take any "[...]" for a note reference.
    const bool no_brackets = language_.encoding != TextEncoding::CodePage;
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (is_white(c)) {
            if (c != U' ') count(c, U" ");
            out.push_back(U' ');
            continue;
        }
        std::u32string rep;
        if (holds(c)) {
            rep.push_back(c);
        } else if (auto plain = plain_equivalent(c)) {
            rep = *plain;
        } else {
            // A numeric character reference whose "&#" was damaged into one stray character
            // ("X2453;" for "&#2453;"): the character it names.
            std::size_t j = i + 1;
            if (j < text.size() && text[j] == U'#') ++j;
            std::size_t k = j;
            char32_t value = 0;
            while (k < text.size() && k - j < 6 && is_digit(text[k])) value = value * 10 + (text[k++] - U'0');
            if (k > j && k < text.size() && text[k] == U';' && value > 0x20 && holds(value)) {
                ++counts_["damaged character reference " + describe(c) + "..; -> character"];
                out.push_back(value);
                i = k;
                continue;
            }
            throw DataError(language_.file_name + ": " + code_point_name(c) +
                            " cannot be stored and has no plain equivalent");
        }
        bool changed = rep.size() != 1 || rep[0] != c;
        if (no_brackets) {
            for (auto& r : rep) {
                if (r == U'[' || r == U']') {
                    r = r == U'[' ? U'(' : U')';
                    changed = true;
                }
            }
        }
        for (char32_t r : rep)
            if (!holds(r))
                throw DataError(language_.file_name + ": the plain form of " + code_point_name(c) +
                                " cannot be stored");
        if (changed) count(c, rep);
        out += rep;
    }
    return out;
}

std::string TranslationEncoder::encode_word(std::u32string_view word) const {
    std::string out;
    switch (language_.encoding) {
        case TextEncoding::CodePage: return page_->encode(word);
        case TextEncoding::Hexadecimal:
            for (char32_t c : word) {
                if (!holds(c))
                    throw DataError(language_.file_name + ": " + code_point_name(c) +
                                    " does not fit in three hexadecimal digits");
                char buf[8];
                std::snprintf(buf, sizeof buf, "%03X", static_cast<unsigned>(c));
                out += buf;
            }
            return out;
        case TextEncoding::ShiftedPair:
            for (char32_t c : word) {
                if (!holds(c))
                    throw DataError(language_.file_name + ": " + code_point_name(c) +
                                    " does not fit in a shifted pair");
                out.push_back(static_cast<char>((c >> 8) + 1));
                out.push_back(static_cast<char>(c & 0xFF));
            }
            return out;
    }
    return out;
}

std::string TranslationEncoder::trailer() const {
    char buf[16];
    const char* marker = language_.encoding == TextEncoding::CodePage      ? "UNC"
                         : language_.encoding == TextEncoding::Hexadecimal ? "CNU"
                                                                           : "CNN";
    if (language_.lcid < 0 || language_.lcid > 9999)
        throw DataError(language_.file_name + ": locale " + std::to_string(language_.lcid) + " is not four digits");
    std::snprintf(buf, sizeof buf, "%c%04d%s", language_.direction, language_.lcid, marker);
    return buf;
}

BuiltTranslation build_translation(const std::vector<Verse>& verses, const Language& language) {
    TranslationEncoder encoder(language);
    WordTable words(kMaxWordId);
    IndexedItems items;
    for (const auto& v : verses) {
        std::vector<std::uint32_t> ids;
        try {
            for (const auto& w : split_words(encoder.prepare(v.text)))
                ids.push_back(words.id_of(encoder.encode_word(w)));
        } catch (const DataError& e) {
            throw DataError("verse " + std::to_string(v.surah) + ":" + std::to_string(v.ayah) + ": " + e.what());
        }
        items.add(word_sequence(ids));
    }
    const IndexedItems notes;  // the source has no notes: an empty block and its closing position
    std::vector<Entry> entries = {
        {"Words", words.words().block()}, {"WordIndex", words.words().index(IndexWidth::BigEndian24)},
        {"Verses", items.block()},        {"VerseIndex", items.index(IndexWidth::BigEndian24)},
        {"Notes", notes.block()},         {"NoteIndex", notes.index(IndexWidth::BigEndian24)},
    };
    return {write_container(entries, encoder.trailer()), words.size(), encoder.counts()};
}

}  // namespace quran_data
