#include "tools/quran-data/arabic_files.h"

#include "quran/quran_text.h"
#include "tools/quran-data/codepage.h"
#include "tools/quran-data/container.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/text.h"

namespace quran_data {

namespace {

constexpr char32_t kThinSpace = U'\u2009';
constexpr std::uint32_t kMaxUnicodeWordId = 32767;  // the reader stores identifiers in a signed 16-bit
constexpr std::uint32_t kMaxWordId = 65535;

std::string where(const Verse& v) { return "verse " + std::to_string(v.surah) + ":" + std::to_string(v.ayah); }

}  // namespace

std::u32string mushaf_text(const Verse& verse) {
    std::u32string text = verse.text;
    if (verse.surah == 2 && verse.ayah == 72) std::erase(text, kThinSpace);
    return text;
}

BuiltFile build_unicode_arabic(const Source& source) {
    WordTable words(kMaxUnicodeWordId);
    IndexedItems verses;
    for (const auto& v : source.verses) {
        const std::u32string text = mushaf_text(v);
        std::vector<std::uint32_t> ids;
        try {
            for (const auto& w : split_words(text)) {
                std::string bytes;
                for (char32_t c : w) {
                    if (c < 0x0600 || c > 0x06FF)
                        throw DataError(where(v) + ": " + code_point_name(c) + " lies outside U+0600..U+06FF");
                    bytes.push_back(static_cast<char>(c & 0xFF));
                }
                ids.push_back(words.id_of(bytes));
            }
        } catch (const DataError& e) {
            throw DataError("UnicodeArabic.dbu: " + std::string(e.what()));
        }
        verses.add(word_sequence(ids));
    }
    std::vector<Entry> entries = {
        {"Words", words.words().block()},
        {"WordIndex", words.words().index(IndexWidth::LittleEndian32)},
        {"Verses", verses.block()},
        {"VerseIndex", verses.index(IndexWidth::LittleEndian32)},
    };
    return {write_container(entries), words.size()};
}

std::string glyph_word(const std::vector<GlyphPair>& glyphs, bool last_of_verse) {
    std::string out;
    out.reserve(glyphs.size() * 2 + 1);
    for (auto it = glyphs.rbegin(); it != glyphs.rend(); ++it) {
        if (it->key < '1' || it->key > '6')
            throw DataError(std::string("glyph font key '") + it->key + "' is not one of 1..6");
        out.push_back(it->key);
        out.push_back(static_cast<char>(it->code));
    }
    if (last_of_verse) out.push_back(kVerseEndByte);
    return out;
}

std::string surah_verse_offsets(const Source& source) {
    std::string out;
    std::uint32_t before = 0;
    for (const auto& s : source.surahs) {
        put_be16(out, before);
        before += static_cast<std::uint32_t>(s.verse_count);
    }
    if (before != quran::kVerseCount)
        throw DataError("the surah verse counts add up to " + std::to_string(before) + ", not 6236");
    return out;
}

std::string surah_table(const Source& source) {
    static const CodePage page(1252);
    std::string out;
    for (const auto& s : source.surahs) {
        std::string name;
        try {
            name = page.encode(s.transliteration);
        } catch (const DataError& e) {
            throw DataError("surah " + std::to_string(s.number) + " name: " + e.what());
        }
        if (name.size() > 30)
            throw DataError("surah " + std::to_string(s.number) + " name is longer than 30 bytes: " + name);
        name.resize(30, ' ');
        out += name;
        put_le16(out, static_cast<std::uint32_t>(s.verse_count));
        put_le16(out, 0);
    }
    return out;
}

std::string rtf_header() {
    // Opens the document and leaves it open: every fragment closes it. Font 31 is the one the
    // glyph fields' results are set in; 0 and 32 are named by the fragments' space groups.
    return "{\\rtf1\\ansi\\ansicpg1256\\deff0\\deflang1025"
           "{\\fonttbl"
           "{\\f0\\froman\\fcharset0 Times New Roman;}"
           "{\\f31\\fnil\\fcharset178 Amiri Quran;}"
           "{\\f32\\fnil\\fcharset178 Amiri;}"
           "}"
           "{\\colortbl ;\\red0\\green0\\blue0;}"
           "\\uc1 ";
}

BuiltFile build_arabic_glyphs(const Source& source, const std::vector<std::u32string>& texts,
                              const GlyphMapping& mapping, VerseEndText verse_end) {
    if (texts.size() != source.verses.size())
        throw DataError("Arabic.dabrel: " + std::to_string(texts.size()) + " verse texts for " +
                        std::to_string(source.verses.size()) + " verses");
    WordTable words(kMaxWordId);
    IndexedItems verses;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto ws = split_words(texts[i]);
        if (ws.empty()) throw DataError("Arabic.dabrel: " + where(source.verses[i]) + " is empty");
        ws.push_back(verse_end(source.verses[i].ayah));
        std::vector<std::uint32_t> ids;
        try {
            for (std::size_t k = 0; k < ws.size(); ++k)
                ids.push_back(words.id_of(glyph_word(mapping.glyphs(ws[k]), k + 1 == ws.size())));
        } catch (const DataError& e) {
            throw DataError("Arabic.dabrel: " + where(source.verses[i]) + ": " + e.what());
        }
        verses.add(word_sequence(ids));
    }
    std::vector<Entry> entries = {
        {"GlyphWords", words.words().block()},
        {"GlyphWordIndex", words.words().index(IndexWidth::BigEndian24)},
        {"Verses", verses.block()},
        {"VerseIndex", verses.index(IndexWidth::BigEndian24)},
        {"SurahVerseOffsets", surah_verse_offsets(source)},
        {"Surahs", surah_table(source)},
        {"RtfHeader", rtf_header()},
    };
    return {write_container(entries), words.size()};
}

}  // namespace quran_data
