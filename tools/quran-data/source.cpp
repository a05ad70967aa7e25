#include "tools/quran-data/source.h"

#include "quran/quran_text.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/file_io.h"
#include "tools/quran-data/text.h"

#include <nlohmann/json.hpp>

namespace quran_data {

namespace {

std::u32string text_of(const nlohmann::json& j, const char* key, const std::string& where) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_string()) throw DataError(where + ": missing text field \"" + key + "\"");
    return from_utf8(it->get<std::string>());
}

int int_of(const nlohmann::json& j, const char* key, const std::string& where) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_number_integer()) throw DataError(where + ": missing number field \"" + key + "\"");
    return it->get<int>();
}

}  // namespace

Source parse_source(const std::string& json_text, const char* field, const std::string& what) {
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(json_text);
    } catch (const nlohmann::json::exception& e) {
        throw DataError(what + ": not valid JSON: " + e.what());
    }
    if (!doc.is_array()) throw DataError(what + ": expected a list of surahs");
    Source src;
    for (const auto& s : doc) {
        const std::string where = what + " surah " + std::to_string(src.surahs.size() + 1);
        Surah surah;
        surah.number = int_of(s, "id", where);
        if (surah.number != static_cast<int>(src.surahs.size()) + 1)
            throw DataError(where + ": surah numbered " + std::to_string(surah.number) + " out of order");
        surah.name = text_of(s, "name", where);
        surah.transliteration = text_of(s, "transliteration", where);
        surah.verse_count = int_of(s, "total_verses", where);
        const auto vs = s.find("verses");
        if (vs == s.end() || !vs->is_array()) throw DataError(where + ": missing verse list");
        int ayah = 0;
        for (const auto& v : *vs) {
            ++ayah;
            const std::string vwhere = what + " " + std::to_string(surah.number) + ":" + std::to_string(ayah);
            if (int_of(v, "id", vwhere) != ayah) throw DataError(vwhere + ": verse numbered out of order");
            src.verses.push_back({surah.number, ayah, text_of(v, field, vwhere)});
        }
        if (ayah != surah.verse_count)
            throw DataError(where + ": states " + std::to_string(surah.verse_count) + " verses but has " +
                            std::to_string(ayah));
        src.surahs.push_back(std::move(surah));
    }
    if (src.surahs.size() != quran::kSurahCount)
        throw DataError(what + ": " + std::to_string(src.surahs.size()) + " surahs instead of 114");
    if (src.verses.size() != quran::kVerseCount)
        throw DataError(what + ": " + std::to_string(src.verses.size()) + " verses instead of 6236");
    return src;
}

Source load_arabic(const std::filesystem::path& dist) {
    const auto path = dist / "quran.json";
    return parse_source(read_file(path), "text", path.string());
}

std::vector<Verse> load_translation(const std::filesystem::path& dist, const std::string& lang, const Source& arabic) {
    const auto path = dist / ("quran_" + lang + ".json");
    Source t = parse_source(read_file(path), "translation", path.string());
    for (std::size_t i = 0; i < t.verses.size(); ++i) {
        if (t.verses[i].surah != arabic.verses[i].surah || t.verses[i].ayah != arabic.verses[i].ayah)
            throw DataError(path.string() + ": verse " + std::to_string(i + 1) + " is not aligned with quran.json");
    }
    return std::move(t.verses);
}

}  // namespace quran_data
