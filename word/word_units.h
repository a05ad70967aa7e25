// Word's word unit, for MoveStart(wdWord, n) on backends that have no such unit of their own.
// In Word's unit each bracket, colon and hyphen is a word of its own, a run of letters and digits
// (Arabic letters and vowel marks included) is one word, and blanks belong to the word before
// them: "[QS2:1-2A]" is the seven words "[", "QS2", ":", "1", "-", "2A", "]".
#pragma once

#include <cstddef>
#include <string_view>

namespace word {

struct WordMove {
    std::size_t start;  // the new start position in the text
    int moved;          // how many words the start moved (at most the count asked for)
};

// Moves `start` back by `count` words within `text` (the text before the end of the range,
// usually the paragraph text up to the insertion point). Stops at the text's beginning.
WordMove moveStartBackByWords(std::u16string_view text, std::size_t start, int count);

}  // namespace word
