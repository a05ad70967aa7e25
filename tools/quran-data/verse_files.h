#pragma once
// The two line-aligned verse files of the desktop program: QuranV.Qur (search form) and
// Qurant.Qur (vocalised form), code page 1256, CR LF, one verse per line in the standard order.
//   search line:    surah code "001".."114", blank, verse text without marks, blank, verse number
//   vocalised line: the whole verse with its vowel marks, nothing else
#include "tools/quran-data/source.h"
#include "tools/quran-data/spelling.h"

#include <string>
#include <string_view>
#include <vector>

namespace quran_data {

struct VerseTexts {
    std::vector<std::u32string> vocalised;  // one per verse
    std::vector<std::u32string> search;     // whole search lines, with code and number
};

VerseTexts build_verse_texts(const Source& source, SpellingConverter& converter);
std::u32string search_line(int surah, int ayah, std::u32string_view vocalised);

// Lines in code page 1256, each ended by CR LF. Throws DataError naming the line and character
// that the code page cannot hold.
std::string encode_lines(const std::vector<std::u32string>& lines);

// Checks the pair of encoded files: 6236 CR LF lines each and nothing else, every search line
// "ccc text n" with surah and verse numbers running in order from 1:1 to 114:6, and the text
// part equal to the search form of the vocalised line beside it. Throws DataError.
void check_verse_files(std::string_view search_file, std::string_view vocalised_file);

}  // namespace quran_data
