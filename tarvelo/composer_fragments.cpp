#include "tarvelo/composer_fragments.h"

#include <limits>
#include <utility>

#include "tarvelo/addin_error.h"
#include "tarvelo/text_util.h"

namespace mTarvelo {

GlyphFieldWriter::GlyphFieldWriter(std::string sizeText, std::string halfPoints)
    : sizeText_(std::move(sizeText)), halfPoints_(std::move(halfPoints)) {}

std::string GlyphFieldWriter::Field(char key, unsigned char code) {
    switch (key) {
        case '1': font_ = "HQPB1"; break;
        case '2': font_ = "HQPB2"; break;
        case '3': font_ = "HQPB3"; break;
        case '4': font_ = "HQPB4"; break;
        case '5': font_ = "HQPB5"; break;
        case '6': font_ = "(normal text)"; break;
        default: break;  // the font of the pair before
    }
    std::string field;
    field.reserve(120);
    field += "{\\ltrch \\af0 \\ltrch \\fs";
    field += halfPoints_;
    field += " {\\field{\\*\\fldinst SYMBOL ";
    field += std::to_string(code);
    field += " \\\\f \"";
    field += font_;
    field += "\" \\\\s ";
    field += sizeText_;
    field += "}{\\fldrslt\\f31\\fs";
    field += halfPoints_;
    field += "}}}";
    return field;
}

void GlyphFieldWriter::AppendVerse(std::string& fragment, std::string_view verse) {
    while (true) {
        const auto blank = verse.find(' ');
        const std::string_view word = verse.substr(0, blank);
        for (std::size_t j = word.size(); j >= 2; j -= 2) {
            fragment += Field(word[j - 2], static_cast<unsigned char>(word[j - 1]));
            fragment += "\r\n";
        }
        fragment += SpaceGroup;
        if (blank == std::string_view::npos) break;
        verse.remove_prefix(blank + 1);
    }
    fragment += SpaceGroup;
}

void CollectNoteReferences(std::u16string_view line, std::vector<std::int32_t>& notes, std::size_t limit) {
    for (auto open = line.find(u'['); open != std::u16string_view::npos; open = line.find(u'[')) {
        const auto close = line.find(u']', open + 1);
        if (close == std::u16string_view::npos) throw AddinError(5, "Invalid procedure call or argument");
        if (notes.size() >= limit) throw AddinError(ErrSubscriptOutOfRange, "Subscript out of range");
        // A number no note can have (below 1, beyond 32 bits) is skipped: it names no note.
        const double number = Val(line.substr(open + 1, close - open - 1));
        if (number >= 1 && number <= std::numeric_limits<std::int32_t>::max())
            notes.push_back(static_cast<std::int32_t>(number));
        line.remove_prefix(close + 1);
    }
}

}  // namespace mTarvelo
