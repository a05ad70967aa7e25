#include "word/word_units.h"

namespace word {
namespace {

enum class CharClass {
    Blank,        // belongs to the word before it
    WordChar,     // letters, digits, combining marks: runs of them make one word
    Punctuation,  // every other character is a word of its own
};

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool isBlank(char16_t c) {
    return c == u' ' || c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Punctuation, symbols and control characters outside ASCII that Word does not join to a word.
bool isNonAsciiPunctuation(char16_t c) {
    if (c < 0x00A0) return true;  // C1 controls
    if (c <= 0x00BF) {
        // Latin-1 symbols, except the ordinal indicators and the micro sign, which are letters.
        return c != 0x00AA && c != 0x00B5 && c != 0x00BA;
    }
    if (c == 0x00D7 || c == 0x00F7) return true;  // multiplication and division signs
    switch (c) {
        case 0x060C:  // Arabic comma
        case 0x060D:  // Arabic date separator
        case 0x061B:  // Arabic semicolon
        case 0x061E:  // Arabic triple dot
        case 0x061F:  // Arabic question mark
        case 0x066A:  // Arabic percent sign
        case 0x066D:  // Arabic five pointed star
        case 0x06D4:  // Arabic full stop
        case 0x06DD:  // end of ayah
        case 0x06DE:  // rub el hizb
        case 0x06E9:  // place of sajdah
        case 0xFD3E:  // ornate left parenthesis
        case 0xFD3F:  // ornate right parenthesis
            return true;
        default: break;
    }
    if (c >= 0x2010 && c <= 0x206F) return true;  // general punctuation (dashes, quotes, ...)
    if (c >= 0x20A0 && c <= 0x20CF) return true;  // currency signs
    if (c >= 0x2190 && c <= 0x2BFF) return true;  // arrows, mathematical operators, shapes
    if (c >= 0x3001 && c <= 0x303F) return true;  // CJK punctuation
    if (c >= 0xFE10 && c <= 0xFE1F) return true;  // vertical forms
    if (c >= 0xFE30 && c <= 0xFE6F) return true;  // compatibility and small forms
    if (c >= 0xFF01 && c <= 0xFF0F) return true;  // full-width ASCII punctuation
    if (c >= 0xFF1A && c <= 0xFF20) return true;
    if (c >= 0xFF3B && c <= 0xFF40) return true;
    if (c >= 0xFF5B && c <= 0xFF65) return true;
    if (c == 0xFFFC || c == 0xFFFD) return true;  // object replacement, replacement character
    return false;
}

CharClass classify(char16_t c) {
    if (isBlank(c)) return CharClass::Blank;
    if (c < 0x80) {
        const bool alnum = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        return alnum ? CharClass::WordChar : CharClass::Punctuation;
    }
    // Surrogates stand for characters beyond the basic plane: letters of other scripts, counted
    // with the word they touch.
    if (isHighSurrogate(c) || isLowSurrogate(c)) return CharClass::WordChar;
    return isNonAsciiPunctuation(c) ? CharClass::Punctuation : CharClass::WordChar;
}

// The position of the character before `pos`, keeping a surrogate pair together.
std::size_t previousChar(std::u16string_view text, std::size_t pos) {
    --pos;
    if (pos > 0 && isLowSurrogate(text[pos]) && isHighSurrogate(text[pos - 1])) --pos;
    return pos;
}

// The start of the word that ends at `pos` (blanks at its end included); `pos` > 0.
std::size_t previousWordStart(std::u16string_view text, std::size_t pos) {
    while (pos > 0 && classify(text[pos - 1]) == CharClass::Blank) --pos;
    if (pos == 0) return 0;  // blanks at the very beginning make a word of their own
    if (classify(text[pos - 1]) == CharClass::Punctuation) return previousChar(text, pos);
    while (pos > 0 && classify(text[pos - 1]) == CharClass::WordChar) --pos;
    return pos;
}

}  // namespace

WordMove moveStartBackByWords(std::u16string_view text, std::size_t start, int count) {
    if (start > text.size()) start = text.size();
    int moved = 0;
    while (moved < count && start > 0) {
        start = previousWordStart(text, start);
        ++moved;
    }
    return {start, moved};
}

}  // namespace word
