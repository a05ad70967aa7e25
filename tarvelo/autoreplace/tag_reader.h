// Reading a typed citation tag such as "[QS2:1-2A]" and writing the citation that replaces it.
//
// A tag is "[QS", the surah number, ":", the first verse, optionally "-" and the last verse, then
// letters, then "]". Letters: A Arabic text, T translation, B both (counts for whichever of A and
// T is missing), S alternate verse by verse (with both), N every Arabic verse on its own line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tarvelo/insert_mode.h"

namespace mTarvelo {

struct TagRequest {
    std::int64_t surah = 0;
    std::int64_t from = 0;
    std::int64_t to = 0;
    bool arabic = false;
    bool translation = false;
    bool alternate = false;
    bool sameLine = true;
};

// Upper-cases the ASCII letters (the only ones a tag's meaning depends on).
std::u16string UpperCaseTag(std::u16string_view text);

// The leading decimal number of `text`: leading blanks skipped, an optional sign, then digits;
// 0 when there is none. Saturates far beyond any verse number instead of overflowing.
std::int64_t NumberValue(std::u16string_view text);

// Reads an upper-cased tag. Empty when it does not begin with "[QS" or has no ":". The numbers
// are read as they stand; whether they name existing verses is for the caller to check.
std::optional<TagRequest> ReadTag(std::u16string_view upperTag);

// The insertion mode a tag asks for: Arabic and translation, Arabic only, translation only (one
// of InsertModes); empty when it names neither (the last mode then applies).
std::optional<std::int16_t> RequestedInsertMode(const TagRequest& request);

// "(QS2. Al-Baqarah ayat 1-2)": the surah name without surrounding blanks, "-" and the last
// verse only when it differs from the first.
std::u16string CitationText(std::int64_t surah, std::u16string_view surahName, std::int64_t from, std::int64_t to);

}  // namespace mTarvelo
