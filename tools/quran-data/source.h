#pragma once
// Reader of the source package (quran-json): dist/quran.json holds the surahs with their
// transliterated names, verse counts and Uthmani verse text; dist/quran_<lang>.json the same
// with a translation beside every verse.
#include <filesystem>
#include <string>
#include <vector>

#include "quran/quran_text.h"

namespace quran_data {

struct Verse {
    int surah = 0;
    int ayah = 0;
    std::u32string text;  // Uthmani text, or the translation for a translation source
};

struct Surah {
    int number = 0;
    std::u32string name;             // Arabic name
    std::u32string transliteration;  // e.g. "Al-Baqarah"
    int verse_count = 0;
};

struct Source {
    std::vector<Surah> surahs;  // 114, in order
    std::vector<Verse> verses;  // 6236, in the standard order
};

// Reads dist/quran.json and checks its shape: 114 surahs numbered in order, verses numbered
// 1..n within each, n equal to the stated count, 6236 in all. Throws DataError.
Source load_arabic(const std::filesystem::path& dist);
// Reads dist/quran_<lang>.json; the verses hold the translation texts, checked to be aligned
// with the Arabic source verse by verse. Throws DataError.
std::vector<Verse> load_translation(const std::filesystem::path& dist, const std::string& lang, const Source& arabic);
// Parses the text of a quran.json-shaped document (for tests and the two loaders).
Source parse_source(const std::string& json_text, const char* field, const std::string& what);

}  // namespace quran_data
