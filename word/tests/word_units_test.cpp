#include "word/word_units.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Splits `text` into Word's words by moving back one word at a time from its end.
std::vector<std::u16string> wordsOf(std::u16string_view text) {
    std::vector<std::u16string> words;
    std::size_t end = text.size();
    while (end > 0) {
        const auto move = word::moveStartBackByWords(text, end, 1);
        EXPECT_EQ(move.moved, 1);
        EXPECT_LT(move.start, end);
        if (move.start >= end) break;
        words.insert(words.begin(), std::u16string(text.substr(move.start, end - move.start)));
        end = move.start;
    }
    return words;
}

using Words = std::vector<std::u16string>;

TEST(WordUnits, SplitsTagsAndTextLikeWord) {
    struct Case {
        std::u16string text;
        Words words;
    };
    const std::vector<Case> cases = {
        {u"[QS2:1-2A]", {u"[", u"QS2", u":", u"1", u"-", u"2A", u"]"}},
        {u"[qs114:6T]", {u"[", u"qs114", u":", u"6T", u"]"}},
        // Blanks belong to the word before them.
        {u"see [QS2:1 A] ", {u"see ", u"[", u"QS2", u":", u"1 ", u"A", u"] "}},
        {u"a  b", {u"a  ", u"b"}},
        // Blanks at the very beginning make a word of their own.
        {u"  x", {u"  ", u"x"}},
        // Repeated punctuation: every character is a word.
        {u"]]", {u"]", u"]"}},
        {u"a--b", {u"a", u"-", u"-", u"b"}},
        // Arabic letters and vowel marks are letters; Arabic punctuation is not.
        {u"\u0628\u0650\u0633\u0652\u0645\u0650[QS1:1A]",
         {u"\u0628\u0650\u0633\u0652\u0645\u0650", u"[", u"QS1", u":", u"1A", u"]"}},
        {u"\u0642\u0627\u0644\u060C \u0646\u0639\u0645\u061F",
         {u"\u0642\u0627\u0644", u"\u060C ", u"\u0646\u0639\u0645", u"\u061F"}},
        // Ornate parentheses around a verse number, and Arabic-Indic digits.
        {u"\uFD3F\u0662\u0665\u0665\uFD3E", {u"\uFD3F", u"\u0662\u0665\u0665", u"\uFD3E"}},
        // Non-breaking blanks are blanks; tabs are words of their own.
        {u"a\u00A0b\tc", {u"a\u00A0", u"b", u"\t", u"c"}},
        // A character beyond the basic plane stays whole.
        {u"x\U0001D49C(", {u"x\U0001D49C", u"("}},
        {u"(\U0001F600", {u"(", u"\U0001F600"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wordsOf(c.text), c.words) << "text of " << c.text.size() << " units";
    }
}

TEST(WordUnits, CountsAndStopsAtTheBeginning) {
    const std::u16string_view tag = u"[QS2:1-2A]";
    auto m = word::moveStartBackByWords(tag, tag.size(), 1);
    EXPECT_EQ(m.start, 9u);
    EXPECT_EQ(m.moved, 1);

    m = word::moveStartBackByWords(tag, 9, 4);  // "2A", "-", "1", ":"
    EXPECT_EQ(tag.substr(m.start), u":1-2A]");
    EXPECT_EQ(m.moved, 4);

    m = word::moveStartBackByWords(tag, tag.size(), 7);
    EXPECT_EQ(m.start, 0u);
    EXPECT_EQ(m.moved, 7);

    // Asking for more words than there are moves only as far as the beginning.
    m = word::moveStartBackByWords(tag, tag.size(), 20);
    EXPECT_EQ(m.start, 0u);
    EXPECT_EQ(m.moved, 7);

    m = word::moveStartBackByWords(u"", 0, 3);
    EXPECT_EQ(m.start, 0u);
    EXPECT_EQ(m.moved, 0);

    m = word::moveStartBackByWords(tag, 5, 0);
    EXPECT_EQ(m.start, 5u);
    EXPECT_EQ(m.moved, 0);
}

TEST(WordUnits, StartInsideAWordGoesToItsBeginningFirst) {
    const std::u16string_view text = u"one two  three";
    // Inside "two": the first word moved reaches its beginning.
    auto m = word::moveStartBackByWords(text, 5, 1);
    EXPECT_EQ(m.start, 4u);
    EXPECT_EQ(m.moved, 1);
    // Inside the blanks after "two": they are part of it.
    m = word::moveStartBackByWords(text, 8, 1);
    EXPECT_EQ(m.start, 4u);
    m = word::moveStartBackByWords(text, 8, 2);
    EXPECT_EQ(m.start, 0u);
    EXPECT_EQ(m.moved, 2);
}

TEST(WordUnits, StartBeyondTheTextIsClampedAndPairsAreNotSplit) {
    const std::u16string_view text = u"ab";
    auto m = word::moveStartBackByWords(text, 10, 1);
    EXPECT_EQ(m.start, 0u);
    EXPECT_EQ(m.moved, 1);

    // A lone surrogate half is still handled without reading outside the text.
    const std::u16string broken = {u'(', char16_t(0xDC00)};
    m = word::moveStartBackByWords(broken, broken.size(), 1);
    EXPECT_EQ(m.start, 1u);
    const std::u16string pairAfterBracket = {u'[', char16_t(0xD83D), char16_t(0xDE00), u']'};
    m = word::moveStartBackByWords(pairAfterBracket, 3, 1);
    EXPECT_EQ(m.start, 1u);
}

}  // namespace
