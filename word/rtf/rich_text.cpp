#include "word/rtf/rich_text.h"

#include "codepage/code_page.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>

namespace word::rtf {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::size_t kMaxDepth = 1000;  // deeper groups share their parent's state
constexpr float kMaxPoints = 1638.0f;

// ---------------------------------------------------------------------------------------------
// Code pages

int codePageOfCharset(int charset) {
    switch (charset) {
        case 0: return 1252;
        case 77: return 10000;
        case 128: return 932;
        case 129: return 949;
        case 134: return 936;
        case 136: return 950;
        case 161: return 1253;
        case 162: return 1254;
        case 163: return 1258;
        case 177: return 1255;
        case 178: return 1256;
        case 186: return 1257;
        case 204: return 1251;
        case 222: return 874;
        case 238: return 1250;
        case 254: return 437;
        default: return 0;  // no code page of its own (default, symbol, OEM ...)
    }
}

// Text in the code page of a font or of the document.
class Decoders {
public:
    std::u16string decode(std::string_view bytes, int codePage);
};

// Code page 1256, byte by byte: the characters of SYMBOL field codes.
const std::array<char16_t, 256>& arabicCodePage() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        Decoders decoders;
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const std::u16string ch = decoders.decode(std::string_view(&byte, 1), 1256);
            t[static_cast<std::size_t>(b)] = ch.size() == 1 ? ch[0] : kReplacement;
        }
        return t;
    }();
    return table;
}

// ---------------------------------------------------------------------------------------------
// Field instructions

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0; }

// The words of a field instruction: blank-separated, quoted words without their quotes.
std::vector<std::u16string> instructionWords(std::u16string_view text) {
    std::vector<std::u16string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) break;
        std::u16string word;
        if (text[i] == u'"' || text[i] == 0x201C || text[i] == 0x201D) {
            ++i;
            while (i < text.size() && text[i] != u'"' && text[i] != 0x201C && text[i] != 0x201D) word += text[i++];
            if (i < text.size()) ++i;  // the closing quote (a missing one ends the word at the end)
        } else {
            while (i < text.size() && !isBlank(text[i])) word += text[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<long> parseCode(std::u16string_view word) {
    int base = 10;
    if (word.size() > 2 && word[0] == u'0' && (word[1] == u'x' || word[1] == u'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty() || word.size() > 8) return std::nullopt;
    long value = 0;
    for (char16_t c : word) {
        int digit;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

// A size in points: "12", "10.5" or "10,5"; none for anything else or out of range.
std::optional<float> parsePoints(std::u16string_view word) {
    std::string ascii;
    for (char16_t c : word) {
        if (c == u',') c = u'.';
        if ((c < u'0' || c > u'9') && c != u'.') return std::nullopt;
        ascii += static_cast<char>(c);
    }
    float value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
    if (!(value > 0.0f && value <= kMaxPoints)) return std::nullopt;
    return value;
}

struct SymbolField {
    std::u16string character;
    std::optional<std::u16string> font;  // none: the font at the insertion point
    std::optional<float> points;
};

// Reads "SYMBOL code [\f font] [\s size] [\u | \a | \j] [\h]"; none if it is no readable SYMBOL.
std::optional<SymbolField> readSymbolInstruction(std::u16string_view instruction) {
    const auto words = instructionWords(instruction);
    if (words.empty() || !equalsIgnoringCase(words[0], u"SYMBOL")) return std::nullopt;
    std::optional<long> code;
    std::optional<std::u16string> font;
    std::optional<float> points;
    bool unicode = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::u16string& word = words[i];
        if (word.size() == 2 && word[0] == u'\\') {
            const char16_t option = word[1] | 0x20;
            if ((option == u'f' || option == u's') && i + 1 < words.size()) {
                const std::u16string& value = words[++i];
                if (option == u'f') font = value;
                else points = parsePoints(value);
            } else if (option == u'u') {
                unicode = true;
            }
            continue;
        }
        if (!code) {
            code = parseCode(word);
            if (!code) return std::nullopt;
        }
    }
    if (!code) return std::nullopt;
    SymbolField field;
    if (font && !font->empty() && *font != u"(normal text)") field.font = std::move(font);
    field.character = symbolCharacter(*code, unicode, field.font.has_value());
    if (field.character.empty()) return std::nullopt;
    field.points = points;
    return field;
}

// ---------------------------------------------------------------------------------------------
// The reader

enum class Destination { Text, Skip, FontTable, Field, FieldInstruction, FieldResult };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;
    std::optional<int> halfPoints;
    int unicodeSkip = 1;       // \uc: characters that stand in for a \u character
    int field = -1;            // the field whose group or part this is
    bool ownsField = false;    // the group opened by \field
    bool ignorable = false;    // \* seen: an unknown destination here is skipped
    bool hidden = false;       // \v: hidden text, not pasted
    bool rightToLeft = false;  // \rtlch: a right-to-left run (\ltrch ends it)
};

struct Field {
    std::u16string instruction;
    std::vector<PastePiece> result;
    std::optional<int> halfPoints;        // \fs of the field group
    std::optional<int> resultHalfPoints;  // \fs inside its result
};

struct FontEntry {
    std::u16string name;
    int codePage = 0;
};

bool isSkippedDestination(std::string_view word) {
    static constexpr std::string_view skipped[] = {"annotation",
                                                   "atnid",
                                                   "author",
                                                   "buptim",
                                                   "colortbl",
                                                   "comment",
                                                   "creatim",
                                                   "doccomm",
                                                   "footer",
                                                   "footerf",
                                                   "footerl",
                                                   "footerr",
                                                   "footnote",
                                                   "ftncn",
                                                   "ftnsep",
                                                   "ftnsepc",
                                                   "header",
                                                   "headerf",
                                                   "headerl",
                                                   "headerr",
                                                   "info",
                                                   "keywords",
                                                   "object",
                                                   "operator",
                                                   "pict",
                                                   "printim",
                                                   "private",
                                                   "revtim",
                                                   "rxe",
                                                   "stylesheet",
                                                   "subject",
                                                   "tc",
                                                   "template",
                                                   "title",
                                                   "txe",
                                                   "xe",
                                                   "listtable",
                                                   "listoverridetable",
                                                   "revtbl",
                                                   "rsidtbl",
                                                   "generator",
                                                   "themedata",
                                                   "colorschememapping",
                                                   "datastore",
                                                   "latentstyles",
                                                   "pgdsctbl",
                                                   "nonshppict",
                                                   "shp",
                                                   "shpinst",
                                                   "userprops",
                                                   "xmlnstbl",
                                                   "mmathPr",
                                                   "fchars",
                                                   "lchars",
                                                   "pnseclvl",
                                                   "pntext",
                                                   "pntxta",
                                                   "pntxtb",
                                                   "listtext"};
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : in_(rtf) {}

    RichTextContent run() {
        bool started = false;
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{') {
                flush();
                openGroup();
                started = true;
            } else if (c == '}') {
                flush();
                closeGroup();
                if (started && stack_.empty()) break;  // the document ended
            } else if (c == '\\') {
                controlSequence();
            } else if (c == '\r' || c == '\n') {
                // line ends in Rich Text are not text
            } else {
                textByte(static_cast<unsigned char>(c));
            }
        }
        flush();
        overflow_ = 0;
        while (!stack_.empty()) closeGroup();  // a fragment cut off before its closing braces
        return std::move(content_);
    }

private:
    GroupState& state() { return stack_.empty() ? root_ : stack_.back(); }

    void openGroup() {
        if (stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        GroupState inner = state();
        inner.ownsField = false;
        inner.ignorable = false;
        stack_.push_back(inner);
    }

    void closeGroup() {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.empty()) return;  // a stray closing brace
        const GroupState closed = stack_.back();
        stack_.pop_back();
        if (closed.destination == Destination::FontTable && state().destination != Destination::FontTable) storeFont();
        if (closed.ownsField) finishField(closed.field);
    }

    void finishField(int index) {
        Field field = std::move(fields_[static_cast<std::size_t>(index)]);
        auto symbol = readSymbolInstruction(field.instruction);
        if (symbol) {
            ++content_.symbolFields;
            PastePiece glyph;
            glyph.kind = PastePiece::Kind::Glyph;
            glyph.text = std::move(symbol->character);
            glyph.font = std::move(symbol->font);
            glyph.points = symbol->points;
            if (!glyph.points) {
                const auto half = field.resultHalfPoints ? field.resultHalfPoints : field.halfPoints;
                if (half) glyph.points = pointsOf(*half);
            }
            sink().push_back(std::move(glyph));
            return;
        }
        for (PastePiece& piece : field.result) append(std::move(piece));
    }

    std::vector<PastePiece>& sink() {
        const GroupState& s = state();
        if (s.destination == Destination::FieldResult && s.field >= 0)
            return fields_[static_cast<std::size_t>(s.field)].result;
        return content_.pieces;
    }

    bool textAllowed() {
        const Destination d = state().destination;
        return d == Destination::Text || d == Destination::FieldResult;
    }

    // Adds a piece to where text goes now, joining it to the last one when they look the same.
    void append(PastePiece piece) {
        auto& pieces = sink();
        if (piece.kind == PastePiece::Kind::Text && !pieces.empty()) {
            PastePiece& last = pieces.back();
            if (last.kind == PastePiece::Kind::Text && last.font == piece.font && last.points == piece.points &&
                last.rightToLeft == piece.rightToLeft) {
                last.text += piece.text;
                return;
            }
        }
        pieces.push_back(std::move(piece));
    }

    static std::optional<float> pointsOf(int halfPoints) {
        const float points = static_cast<float>(halfPoints) / 2.0f;
        if (!(points >= 1.0f && points <= kMaxPoints)) return std::nullopt;
        return points;
    }

    int currentCodePage() {
        const int font = state().font;
        if (const auto it = fonts_.find(font); it != fonts_.end() && it->second.codePage != 0)
            return it->second.codePage;
        return codePage_;
    }

    void textByte(unsigned char byte) {
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        const Destination d = state().destination;
        if (d == Destination::FontTable) {
            if (byte == ';') {
                storeFont();
                return;
            }
            fontBytes_ += static_cast<char>(byte);
            return;
        }
        if (d != Destination::Text && d != Destination::FieldResult && d != Destination::FieldInstruction) return;
        const int codePage = currentCodePage();
        if (!pendingBytes_.empty() && pendingCodePage_ != codePage) flush();
        pendingCodePage_ = codePage;
        pendingBytes_ += static_cast<char>(byte);
    }

    void textChars(std::u16string_view chars) {
        flush();
        const Destination d = state().destination;
        if (d == Destination::FontTable) {
            flushFontBytes();
            fontName_ += chars;
            return;
        }
        if (d == Destination::FieldInstruction) {
            if (state().field >= 0) fields_[static_cast<std::size_t>(state().field)].instruction += chars;
            return;
        }
        if (!textAllowed() || state().hidden) return;
        PastePiece piece;
        piece.text = std::u16string(chars);
        const GroupState& s = state();
        if (const auto it = fonts_.find(s.font); it != fonts_.end() && !it->second.name.empty())
            piece.font = it->second.name;
        if (s.halfPoints) piece.points = pointsOf(*s.halfPoints);
        piece.rightToLeft = s.rightToLeft;
        append(std::move(piece));
    }

    void flush() {
        if (pendingBytes_.empty()) return;
        std::string bytes;
        bytes.swap(pendingBytes_);
        textChars(decoders_.decode(bytes, pendingCodePage_));
    }

    void storeFont() {
        flushFontBytes();
        if (fontNumber_ >= 0) {
            std::u16string name = fontName_;
            while (!name.empty() && isBlank(name.back())) name.pop_back();
            while (!name.empty() && isBlank(name.front())) name.erase(name.begin());
            fonts_[fontNumber_] = FontEntry{std::move(name), codePageOfCharset(fontCharset_)};
        }
        fontNumber_ = -1;
        fontCharset_ = 1;
        fontName_.clear();
    }

    void flushFontBytes() {
        if (fontBytes_.empty()) return;
        const int page = codePageOfCharset(fontCharset_);
        fontName_ += decoders_.decode(fontBytes_, page != 0 ? page : codePage_);
        fontBytes_.clear();
    }

    void paragraphBreak() {
        if (!textAllowed()) return;
        PastePiece piece;
        piece.kind = PastePiece::Kind::ParagraphBreak;
        sink().push_back(std::move(piece));
    }

    void controlSequence() {
        if (pos_ >= in_.size()) return;  // a backslash at the very end
        const char c = in_[pos_];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        flush();  // text read so far is in the formatting before this word
        const std::size_t start = pos_;
        while (pos_ < in_.size() && ((in_[pos_] >= 'a' && in_[pos_] <= 'z') || (in_[pos_] >= 'A' && in_[pos_] <= 'Z')))
            ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        std::optional<long> parameter;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && in_[pos_ + 1] >= '0' &&
            in_[pos_ + 1] <= '9') {
            negative = true;
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9') {
            long value = 0;
            while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9') {
                if (value < 100'000'000L) value = value * 10 + (in_[pos_] - '0');  // larger numbers saturate
                ++pos_;
            }
            parameter = negative ? -value : value;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiting blank belongs to the word
        controlWord(word, parameter);
    }

    void controlSymbol(char c) {
        switch (c) {
            case '\'': {
                if (pos_ + 2 > in_.size()) {
                    pos_ = in_.size();
                    return;
                }
                int value = 0;
                for (int i = 0; i < 2; ++i) {
                    const char h = in_[pos_ + static_cast<std::size_t>(i)];
                    int digit;
                    if (h >= '0' && h <= '9') digit = h - '0';
                    else if (h >= 'a' && h <= 'f') digit = h - 'a' + 10;
                    else if (h >= 'A' && h <= 'F') digit = h - 'A' + 10;
                    else return;  // not a hexadecimal byte: leave the characters as text
                    value = value * 16 + digit;
                }
                pos_ += 2;
                textByte(static_cast<unsigned char>(value));
                return;
            }
            case '\\':
            case '{':
            case '}': textByte(static_cast<unsigned char>(c)); return;
            case '*':
                skipCount_ = 0;
                state().ignorable = true;
                return;
            case '~': textChars(u"\u00A0"); return;
            case '_': textChars(u"\u2011"); return;
            case '\r':
            case '\n':
                flush();
                paragraphBreak();
                return;
            default: return;  // \- (optional hyphen), \| , \: and unknown symbols add nothing
        }
    }

    void controlWord(std::string_view word, std::optional<long> parameter) {
        const bool isUnicode = word == "u";
        if (!isUnicode) {
            flush();
            skipCount_ = 0;
        }
        GroupState& s = state();
        if (s.destination == Destination::Skip) {
            if (word == "bin") skipBinary(parameter);
            return;
        }
        if (destinationWord(word, parameter, s) || documentWord(word, parameter, s) ||
            characterWord(word, parameter, s))
            return;
        breakOrSpecialCharacter(word);
    }

    // A parameter as a number that sums and negations cannot overflow; `fallback` when missing.
    static int clampedInt(std::optional<long> parameter, long fallback) {
        const long value = parameter.value_or(fallback);
        return static_cast<int>(std::clamp<long>(value, INT_MIN / 2, INT_MAX / 2));
    }

    // The control words that start a destination; true when `word` was one of them.
    bool destinationWord(std::string_view word, std::optional<long> parameter, GroupState& s) {
        if (word == "fonttbl" || word == "field" || word == "fldinst" || word == "fldrslt") s.ignorable = false;
        if (word == "fonttbl") {
            s.destination = Destination::FontTable;
            fontNumber_ = -1;
            fontCharset_ = 1;
            fontName_.clear();
            return true;
        }
        if (word == "field") {
            flush();
            if (s.destination != Destination::Text && s.destination != Destination::FieldResult) {
                s.destination = Destination::Skip;
                return true;
            }
            Field field;
            field.halfPoints = s.halfPoints;
            fields_.push_back(std::move(field));
            s.destination = Destination::Field;
            s.field = static_cast<int>(fields_.size() - 1);
            s.ownsField = true;
            return true;
        }
        if (word == "fldinst") {
            s.destination = s.destination == Destination::Field ? Destination::FieldInstruction : Destination::Skip;
            return true;
        }
        if (word == "fldrslt") {
            s.destination = s.destination == Destination::Field ? Destination::FieldResult : Destination::Skip;
            return true;
        }
        // A destination marked with \* that is not read here, and the known ones that hold no
        // text of the document (tables, pictures, headers, document information ...).
        const bool ignorable = s.ignorable;
        s.ignorable = false;
        if (ignorable || isSkippedDestination(word)) {
            s.destination = Destination::Skip;
            return true;
        }
        if (word == "bin") {
            skipBinary(parameter);
            return true;
        }
        return false;
    }

    // The control words of the document and of its font table; true when `word` was one of them.
    bool documentWord(std::string_view word, std::optional<long> parameter, GroupState& s) {
        if (word == "ansicpg") {
            if (parameter && *parameter > 0 && *parameter < 100000) codePage_ = static_cast<int>(*parameter);
            return true;
        }
        // The character sets of the document, by their code pages.
        static const std::map<std::string_view, int> characterSets = {
            {"ansi", 1252}, {"mac", 10000}, {"pc", 437}, {"pca", 850}};
        if (const auto it = characterSets.find(word); it != characterSets.end()) {
            codePage_ = it->second;
            return true;
        }
        if (word == "deff") {
            defaultFont_ = clampedInt(parameter, 0);
            if (s.font < 0) s.font = defaultFont_;
            root_.font = defaultFont_;
            return true;
        }
        if (word == "f") {
            if (s.destination == Destination::FontTable) {
                flushFontBytes();
                if (fontNumber_ >= 0 && !fontName_.empty()) storeFont();
                fontNumber_ = clampedInt(parameter, 0);
                fontName_.clear();
                fontCharset_ = 1;
            } else {
                s.font = clampedInt(parameter, 0);
            }
            return true;
        }
        if (word == "fcharset") {
            if (s.destination == Destination::FontTable) fontCharset_ = clampedInt(parameter, 1);
            return true;
        }
        return false;
    }

    // The control words of character formatting that matter here, and Unicode characters; true
    // when `word` was one of them.
    bool characterWord(std::string_view word, std::optional<long> parameter, GroupState& s) {
        if (word == "fs") {
            s.halfPoints = clampedInt(parameter, 24);
            if (s.destination == Destination::FieldResult && s.field >= 0)
                fields_[static_cast<std::size_t>(s.field)].resultHalfPoints = s.halfPoints;
            return true;
        }
        if (word == "plain") {
            s.font = defaultFont_;
            s.halfPoints.reset();
            s.hidden = false;
            s.rightToLeft = false;
            return true;
        }
        if (word == "v") {
            s.hidden = parameter.value_or(1) != 0;
            return true;
        }
        if (word == "rtlch" || word == "ltrch") {
            s.rightToLeft = word == "rtlch";
            return true;
        }
        if (word == "uc") {
            s.unicodeSkip = std::clamp(clampedInt(parameter, 1), 0, 10);
            return true;
        }
        if (word == "u") {
            flush();
            if (!parameter) return true;
            long value = *parameter;
            if (value < 0) value += 65536;
            if (value < 0 || value > 0xFFFF) value = kReplacement;
            const char16_t ch = static_cast<char16_t>(value);
            textChars(std::u16string_view(&ch, 1));
            skipCount_ = s.unicodeSkip;
            return true;
        }
        return false;
    }

    // Breaks and special characters.
    void breakOrSpecialCharacter(std::string_view word) {
        if (word == "par" || word == "sect" || word == "page" || word == "row") {
            paragraphBreak();
            return;
        }
        static const std::map<std::string_view, std::u16string_view> specials = {
            {"line", u"\n"},          {"tab", u"\t"},           {"cell", u"\t"},        {"emdash", u"\u2014"},
            {"endash", u"\u2013"},    {"bullet", u"\u2022"},    {"lquote", u"\u2018"},  {"rquote", u"\u2019"},
            {"ldblquote", u"\u201C"}, {"rdblquote", u"\u201D"}, {"emspace", u"\u2003"}, {"enspace", u"\u2002"},
            {"qmspace", u"\u2005"},   {"zwj", u"\u200D"},       {"zwnj", u"\u200C"},    {"ltrmark", u"\u200E"},
            {"rtlmark", u"\u200F"}};
        if (const auto it = specials.find(word); it != specials.end()) textChars(it->second);
        // Every other control word (paragraph and character formatting) leaves the text as it is.
    }

    void skipBinary(std::optional<long> count) {
        const std::size_t n = count && *count > 0 ? static_cast<std::size_t>(*count) : 0;
        pos_ = std::min(in_.size(), pos_ + n);
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    GroupState root_;
    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0;
    std::vector<Field> fields_;
    std::map<int, FontEntry> fonts_;
    int defaultFont_ = -1;
    int codePage_ = 1252;
    int skipCount_ = 0;
    std::string pendingBytes_;
    int pendingCodePage_ = 1252;
    // The font entry being read
    int fontNumber_ = -1;
    int fontCharset_ = 1;
    std::u16string fontName_;
    std::string fontBytes_;
    RichTextContent content_;
    Decoders decoders_;
};

std::u16string Decoders::decode(std::string_view bytes, int codePage) {
    if (auto text = codepage::decode(bytes, codePage)) return *std::move(text);
    // A code page this system does not know: Windows-1252, the document default.
    if (auto text = codepage::decode(bytes, 1252)) return *std::move(text);
    std::u16string out;
    for (unsigned char b : bytes) out += b < 0x80 ? char16_t(b) : kReplacement;
    return out;
}

}  // namespace

std::u16string decodeCodePage(std::string_view bytes, int codePage) { return Decoders().decode(bytes, codePage); }

std::u16string symbolCharacter(long code, bool unicode, bool symbolFont) {
    if (code < 0) return {};
    if (code < 0x20 || (symbolFont && !unicode && code <= 0xFF))
        return std::u16string(1, static_cast<char16_t>(0xF000 + code));
    if (!unicode && code <= 0xFF) {
        const char16_t ch = arabicCodePage()[static_cast<std::size_t>(code)];
        return ch == kReplacement ? std::u16string() : std::u16string(1, ch);
    }
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    if (code <= 0xFFFF) return std::u16string(1, static_cast<char16_t>(code));
    const long v = code - 0x10000;
    return {static_cast<char16_t>(0xD800 + (v >> 10)), static_cast<char16_t>(0xDC00 + (v & 0x3FF))};
}

RichTextContent readRichText(std::string_view rtf) { return Reader(rtf).run(); }

std::vector<PastePiece> plainTextPieces(std::u16string_view text) {
    std::vector<PastePiece> pieces;
    while (!text.empty()) {
        const auto end = text.find_first_of(u"\r\n");
        if (end != 0) {
            PastePiece piece;
            piece.text = std::u16string(text.substr(0, end));
            pieces.push_back(std::move(piece));
        }
        if (end == std::u16string_view::npos) break;
        PastePiece paragraph;
        paragraph.kind = PastePiece::Kind::ParagraphBreak;
        pieces.push_back(std::move(paragraph));
        const bool pair = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
        text.remove_prefix(end + (pair ? 2 : 1));
    }
    return pieces;
}

}  // namespace word::rtf
