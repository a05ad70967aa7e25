// Builds data files in the add-in's format from words and verses, for tests and fuzzing seeds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace datafiles {

// An item list: words (their bytes) or verses/notes (their word identifiers).
using Words = std::vector<std::string>;
using WordIds = std::vector<std::uint16_t>;

std::string BigEndian(std::uint32_t value, int bytes);
std::string LittleEndian(std::uint32_t value, int bytes);

// The block and index of a list of items: positions from 1, one more than items.
struct Indexed {
    std::string block;
    std::string index;
};
Indexed Index3(const std::vector<std::string>& items);  // 3-byte big-endian positions
Indexed Index4(const std::vector<std::string>& items);  // 4-byte little-endian positions
std::string Ids(const WordIds& ids);                    // 2-byte big-endian identifiers

// A file: directory of (name, block) entries, the blocks after it in order, then `trailer`.
std::string Assemble(const std::vector<std::pair<std::string, std::string>>& entries, const std::string& trailer = {});

struct Surah {
    std::string name;
    std::uint16_t verses = 0;
};

// Arabic.dabrel: entries 1-7. surahs (up to 114; the rest get empty names and 0 verses) give
// the surah table and the verse offsets.
std::string ArabicFile(const Words& words, const std::vector<WordIds>& verses, const std::vector<Surah>& surahs,
                       const std::string& rtfHeader);
// A translation: entries 1-6 and the 8-byte trailer (none when empty).
std::string TranslationFile(const Words& words, const std::vector<WordIds>& verses, const std::vector<WordIds>& notes,
                            const std::string& trailer);
// UnicodeArabic.dbu: entries 1-4 with 4-byte little-endian indexes.
std::string UnicodeFile(const Words& words, const std::vector<WordIds>& verses);

void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// A small consistent set: Arabic.dabrel, UnicodeArabic.dbu and English.dabrel ("UNC", 1033),
// three surahs of 2, 1 and 3 verses.
void WriteSampleSet(const std::filesystem::path& folder);

}  // namespace datafiles
