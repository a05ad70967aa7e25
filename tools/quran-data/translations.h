#pragma once
// One translation file per language, <Name>.dabrel: entries 1-4 the words and verses (3-byte
// big-endian indexes), 5-6 the note block and its index, and the 8-byte trailer (direction
// letter, 4 locale digits, encoding marker).
//   "UNC" one byte per character in the locale's Windows code page
//   "CNU" three upper-case hexadecimal digits per character (UTF-16 code 0..FFF)
//   "CNN" two bytes (h, l) per character, code (h - 1) * 256 + l
// Characters an encoding cannot hold are mapped to their plain equivalents and counted; any
// other such character is an error.
#include "tools/quran-data/codepage.h"
#include "tools/quran-data/source.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quran_data {

enum class TextEncoding { CodePage, Hexadecimal, ShiftedPair };

struct Language {
    std::string code;       // source suffix: quran_<code>.json
    std::string file_name;  // without ".dabrel"
    TextEncoding encoding;
    int code_page;  // CodePage only
    char direction;
    int lcid;
};

const std::vector<Language>& languages();

// Counts of the characters that were written differently, by description ("U+2019 -> '").
using MappingCounts = std::map<std::string, long>;

class TranslationEncoder {
public:
    explicit TranslationEncoder(const Language& language);

    // Prepares the text of one verse for the file's encoding: mapped characters, blanks for
    // other white space, square brackets kept out of files whose readers take them for note
    // references. Throws DataError for a character with no plain equivalent.
    std::u32string prepare(std::u32string_view text);
    // One word (no blanks) as stored.
    std::string encode_word(std::u32string_view word) const;
    bool holds(char32_t c) const;

    const MappingCounts& counts() const { return counts_; }
    std::string trailer() const;

private:
    void count(char32_t from, std::u32string_view to);

    const Language& language_;
    std::optional<CodePage> page_;
    MappingCounts counts_;
};

struct BuiltTranslation {
    std::string bytes;
    std::size_t distinct_words = 0;
    MappingCounts mapped;
};

BuiltTranslation build_translation(const std::vector<Verse>& verses, const Language& language);

}  // namespace quran_data
