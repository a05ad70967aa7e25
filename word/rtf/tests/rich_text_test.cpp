// Reading pasted Rich Text: glyph fields in order with their fonts and sizes, text around them,
// and input that is not well formed.
#include "word/rtf/rich_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

#include "word/rtf/tests/rich_text_test_fragments.h"

namespace {

using word::rtf::PastePiece;
using word::rtf::readRichText;

using namespace word::rtf::fragments;

std::vector<PastePiece> glyphs(const std::vector<PastePiece>& pieces) {
    std::vector<PastePiece> out;
    for (const auto& p : pieces)
        if (p.kind == PastePiece::Kind::Glyph) out.push_back(p);
    return out;
}

std::u16string allText(const std::vector<PastePiece>& pieces) {
    std::u16string text;
    for (const auto& p : pieces) text += p.kind == PastePiece::Kind::ParagraphBreak ? u"\r" : p.text;
    return text;
}

TEST(PasteRichText, ComposedVerseGivesItsGlyphsInOrderWithFontsAndSizes) {
    const std::string rtf = composedVerse();
    const auto content = readRichText(rtf);
    EXPECT_EQ(content.symbolFields, 3u);
    const auto g = glyphs(content.pieces);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].text, u"\uF041");  // a code of a symbol font: its symbol character map
    EXPECT_EQ(g[0].font, std::u16string(u"HQPB2"));
    EXPECT_EQ(g[0].points, 12.0f);
    EXPECT_EQ(g[1].text, u"\uF0C7");
    EXPECT_EQ(g[1].font, std::u16string(u"HQPB1"));
    EXPECT_EQ(g[2].text, u"\u0644");  // 0xE1 of the surrounding font, in the Arabic code page: lam
    EXPECT_FALSE(g[2].font.has_value()) << "(normal text) takes the font at the insertion point";
    EXPECT_EQ(g[2].points, 10.5f);

    // The blanks of the space groups lie between the glyphs, in the header's font 0; the field
    // results and the line ends of the fragment add nothing.
    EXPECT_EQ(allText(content.pieces), kComposedText);
    ASSERT_EQ(content.pieces[2].kind, PastePiece::Kind::Text);
    EXPECT_EQ(content.pieces[2].font, std::u16string(u"DejaVu Sans"));
    EXPECT_FALSE(content.pieces[2].points.has_value());
    // The space groups are right-to-left runs (\ltrch ... \rtlch): that keeps the words apart.
    EXPECT_TRUE(content.pieces[2].rightToLeft);
    EXPECT_TRUE(content.pieces.back().rightToLeft);
    EXPECT_FALSE(g[0].rightToLeft);
}

TEST(PasteRichText, RunDirectionAndFormattingApplyFromWhereTheyAreGiven) {
    const auto content = readRichText("{\\rtf1\\ansi ab\\fs30 cd\\rtlch  e{\\ltrch f}g\\plain h}");
    ASSERT_EQ(content.pieces.size(), 6u);
    EXPECT_EQ(content.pieces[0].text, u"ab");
    EXPECT_FALSE(content.pieces[0].points.has_value());
    EXPECT_EQ(content.pieces[1].text, u"cd");
    EXPECT_EQ(content.pieces[1].points, 15.0f);
    EXPECT_EQ(content.pieces[2].text, u" e");
    EXPECT_TRUE(content.pieces[2].rightToLeft);
    EXPECT_EQ(content.pieces[3].text, u"f");
    EXPECT_FALSE(content.pieces[3].rightToLeft);
    EXPECT_EQ(content.pieces[4].text, u"g");
    EXPECT_TRUE(content.pieces[4].rightToLeft);
    EXPECT_EQ(content.pieces[5].text, u"h");
    EXPECT_FALSE(content.pieces[5].rightToLeft);
}

TEST(PasteRichText, SymbolInstructionForms) {
    struct Case {
        std::string instruction;
        std::u16string text;
        std::optional<std::u16string> font;
        std::optional<float> points;
    };
    const Case cases[] = {
        {"SYMBOL 65", u"A", std::nullopt, 14.0f},                                  // size from the field's \fs28
        {"symbol 0x41 \\\\f HQPB3", u"\uF041", u"HQPB3", 14.0f},                   // hexadecimal code, unquoted font
        {"SYMBOL 1606 \\\\u \\\\f \"HQPB4\" \\\\s 9", u"\u0646", u"HQPB4", 9.0f},  // Unicode code
        {"SYMBOL 66 \\\\f \"\" \\\\s 10,5", u"B", std::nullopt, 10.5f},            // empty font name, comma decimal
        {"SYMBOL 67 \\\\f \"HQPB5\" \\\\s 0", u"\uF043", u"HQPB5", 14.0f},         // refused size: the field's \fs
        {"SYMBOL 200 \\\\f \"(normal text)\"", u"\u0628", std::nullopt, 14.0f},    // surrounding font: code page 1256
        {"SYMBOL 9 \\\\f \"HQPB1\"", u"\uF009", u"HQPB1", 14.0f},                  // a control code never breaks a line
        {"SYMBOL 128512 \\\\u", u"\U0001F600", std::nullopt, 14.0f},               // beyond the basic plane
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.instruction);
        const std::string rtf = "{\\rtf1\\fs28{\\field{\\*\\fldinst " + c.instruction + "}{\\fldrslt X}}}";
        const auto content = readRichText(rtf);
        ASSERT_EQ(content.symbolFields, 1u);
        ASSERT_EQ(content.pieces.size(), 1u);
        EXPECT_EQ(content.pieces[0].kind, PastePiece::Kind::Glyph);
        EXPECT_EQ(content.pieces[0].text, c.text);
        EXPECT_EQ(content.pieces[0].font, c.font);
        EXPECT_EQ(content.pieces[0].points, c.points);
    }
}

TEST(PasteRichText, UnreadableSymbolsAndOtherFieldsGiveTheirResultText) {
    const auto content = readRichText(
        "{\\rtf1 a{\\field{\\*\\fldinst SYMBOL}{\\fldrslt R1}}b{\\field{\\*\\fldinst SYMBOL x1}{\\fldrslt R2}}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}"
        "{\\field{\\*\\fldinst SYMBOL 99999999}{\\fldrslt R3}}c}");
    EXPECT_EQ(content.symbolFields, 0u);
    EXPECT_EQ(allText(content.pieces), u"aR1bR2linkR3c");
}

TEST(PasteRichText, FieldInsideAFieldResultKeepsItsPlace) {
    const auto content = readRichText(
        "{\\rtf1 {\\field{\\*\\fldinst QUOTE}{\\fldrslt x{\\field{\\*\\fldinst SYMBOL 66}{\\fldrslt}}y}}z}");
    EXPECT_EQ(content.symbolFields, 1u);
    EXPECT_EQ(allText(content.pieces), u"xByz");
}

TEST(PasteRichText, TextEncodingsAndSpecialCharacters) {
    // \'hh in the document's code page and in a font's charset, \u with its stand-in skipped, \uc,
    // escaped braces and backslash, paragraph and line breaks, a tab.
    const auto content = readRichText(
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset178 Arabic \\'c7;}}"
        "\\f0 caf\\'e9 {\\f1 \\'c7\\'e1} \\u1576?\\uc2\\u1578\\'81\\'82 \\{\\}\\\\\\par x\\line y\\tab z}");
    EXPECT_EQ(allText(content.pieces), u"caf\u00e9 \u0627\u0644 \u0628\u062a {}\\\rx\ny\tz");
    // The font table's names are read in their charset.
    bool sawArabicFont = false;
    for (const auto& p : content.pieces)
        if (p.font == std::u16string(u"Arabic \u0627")) sawArabicFont = p.text == u"\u0627\u0644";
    EXPECT_TRUE(sawArabicFont);
}

TEST(PasteRichText, SkipsDestinationsThatHoldNoDocumentText) {
    const auto content = readRichText(
        "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}"
        "{\\*\\generator G;}{\\*\\unknownthing {nested} text}{\\pict\\bin4 {}{}}\\'bd ok"
        "{\\header H}{\\*\\bkmkstart b}{\\*\\fldinst SYMBOL 65}{\\v hidden}\\v x\\v0 !}");
    EXPECT_EQ(allText(content.pieces), u"\u00BD ok!");
    EXPECT_EQ(content.symbolFields, 0u);
}

TEST(PasteRichText, MalformedInputNeverFails) {
    const std::string inputs[] = {
        "",
        "{",
        "}}}{",
        "\\",
        "{\\rtf1 \\'",
        "{\\rtf1 \\'4",
        "{\\rtf1 \\u",
        "{\\rtf1 \\u-",
        "{\\rtf1 \\fs99999999999999999999 x}",
        "{\\rtf1 \\bin999999999999",
        "{\\rtf1 {\\field{\\*\\fldinst SYMBOL 65 \\\\f \"HQPB1",  // cut off inside the field
        "{\\rtf1 {\\field}{\\fldrslt}{\\fldinst}}",
        "{\\rtf1 {\\fonttbl{\\f0 A",
        "plain words, no Rich Text at all",
        std::string(5000, '{') + "deep" + std::string(5000, '}'),
        std::string("{\\rtf1 \0\xff\x80 x}", 13),
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.substr(0, 60));
        EXPECT_NO_THROW(readRichText(input));
    }
    // A fragment cut off after a complete field still gives that field.
    const auto cut = readRichText("{\\rtf1 " + glyphField(70, "HQPB1", "12", "24") + "{\\ltrch ");
    ASSERT_EQ(cut.symbolFields, 1u);
    EXPECT_EQ(glyphs(cut.pieces)[0].text, u"\uF046");
    // The instruction of a field cut off inside its instruction is still read.
    EXPECT_EQ(readRichText("{\\rtf1 {\\field{\\*\\fldinst SYMBOL 65 \\\\f \"HQPB1").symbolFields, 1u);
    // Deep nesting keeps the text.
    EXPECT_EQ(allText(readRichText(std::string(5000, '{') + "deep" + std::string(5000, '}')).pieces), u"deep");
}

TEST(PasteRichText, RandomFragmentsOfRichTextNeverFail) {
    // Pieces of the composer's fragments and of other Rich Text, cut and shuffled.
    const std::string tokens[] = {"{",         "}",
                                  "\\",        "\\*",
                                  "\\field",   "\\fldinst ",
                                  "\\fldrslt", "SYMBOL ",
                                  "65",        " \\\\f \"HQPB",
                                  "\"",        " \\\\s ",
                                  "12",        "\\fs24 ",
                                  "\\f31",     "\\fonttbl",
                                  ";",         "\\'c7",
                                  "\\'",       "\\u1576?",
                                  "\\uc0",     "\\bin3 ",
                                  "\\par",     "\\v",
                                  " ",         "\r\n",
                                  "x",         "\\ansicpg932",
                                  "\\'82",     "\\u-",
                                  "0x",        "\\fcharset178"};
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string input = "{\\rtf1 ";
        const int length = static_cast<int>(next() % 60);
        for (int i = 0; i < length; ++i) input += tokens[next() % std::size(tokens)];
        if (next() % 4 == 0) input.resize(next() % (input.size() + 1));
        ASSERT_NO_THROW(readRichText(input)) << input;
    }
}

TEST(PasteRichText, TextAfterTheDocumentEndsIsIgnored) {
    EXPECT_EQ(allText(readRichText("{\\rtf1 in}out").pieces), u"in");
}

TEST(PasteCodePages, DecodesWindowsCodePages) {
    using word::rtf::decodeCodePage;
    EXPECT_EQ(decodeCodePage("\xc7\xe1\xd1", 1256), u"\u0627\u0644\u0631");
    EXPECT_EQ(decodeCodePage("\x80\xe9", 1252), u"\u20ac\u00e9");
    EXPECT_EQ(decodeCodePage("\xcf\xf0", 1251), u"\u041f\u0440");
    EXPECT_EQ(decodeCodePage("\x82\xa0", 932), u"\u3042");
    EXPECT_EQ(decodeCodePage("a\x82", 932), u"a\uFFFD");  // cut-off double-byte character
    EXPECT_EQ(decodeCodePage("\xe9", 99999), u"\u00e9");  // unknown code page: 1252
    // Every byte of the Arabic code page is a character: glyph codes never get lost.
    for (int b = 0x20; b <= 0xFF; ++b) {
        const auto ch = word::rtf::symbolCharacter(b, false);
        ASSERT_EQ(ch.size(), 1u) << b;
        EXPECT_NE(ch[0], 0xFFFD) << b;
    }
}

TEST(PasteCodePages, PlainTextParagraphs) {
    const auto pieces = word::rtf::plainTextPieces(u"a\r\nb\nc\rd\r\n");
    EXPECT_EQ(allText(pieces), u"a\rb\rc\rd\r");
    EXPECT_EQ(pieces.size(), 8u);
}

}  // namespace
