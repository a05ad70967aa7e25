#pragma once
// The forgiving form of Arabic text, for the word search's second try: letters that people type
// one for another become one letter, and the marks that they may or may not type are dropped.
//   alef with hamza above or below, alef with madda, alef wasla -> alef
//   alef maqsura, yeh with hamza above, Farsi yeh -> yeh
//   teh marbuta -> heh;  waw with hamza above -> waw;  keheh -> kaf
//   tatweel and the Arabic combining marks (harakat, shadda, sukun, small letters) -> nothing
// One rule serves both sides: the query as typed (Unicode) and the search file (code page 1256,
// through a table of its 256 bytes that the rule builds), so that the two always fold alike.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace versend {

// The folded form of one character; nothing when the fold drops it.
std::optional<char16_t> foldLetter(char16_t ch);

// The query folded and then put into the verse files' code page; nothing when a character has
// no place there. The letters of Persian and Urdu keyboards that the code page lacks are folded
// before they would have to be encoded.
std::optional<std::string> foldedQuery(const QString& query);

// Appends the code-page bytes folded one by one; a dropped byte leaves nothing.
void appendFoldedBytes(std::string_view bytes, std::string& out);

}  // namespace versend
