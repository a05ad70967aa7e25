#pragma once
// The two fixed halves of verse 2:282, the longest verse, that the desktop window keeps for
// display and sending: the first up to and including "alla taktubuha" plus one blank, the second
// the rest. They are cut from the generated vocalised line, so they always match the verse file,
// and written as a C++ header (namespace quran_data, Dain1 and Dain2).
#include <string>
#include <string_view>
#include <utility>

namespace quran_data {

// Throws DataError when the cut words are missing or stand at the very end.
std::pair<std::u32string, std::u32string> split_dain(std::u32string_view vocalised_2_282);

// The header text: universal character names only, so the file is plain ASCII.
std::string dain_header(std::u32string_view dain1, std::u32string_view dain2);

}  // namespace quran_data
