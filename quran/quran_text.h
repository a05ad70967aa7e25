// Facts of the text of the Quran that every part of the project relies on: the programs, the
// add-in's data readers and the data tool that builds their files.
#pragma once

namespace quran {

// Surahs are numbered 1 to kSurahCount, in the order of the standard text.
inline constexpr int kSurahCount = 114;

// Verses of the whole text: the lines of each verse file, and the range of the global verse
// index (1 to kVerseCount).
inline constexpr int kVerseCount = 6236;

}  // namespace quran
