#include "tools/quran-data/spelling.h"

#include "tools/quran-data/text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quran_data {

namespace {

// --- code points ----------------------------------------------------------------------------
constexpr char32_t HAMZA = U'\u0621', ALEF_MADDA = U'\u0622', ALEF_HAMZA = U'\u0623', WAW_HAMZA = U'\u0624',
                   ALEF_HAMZA_BELOW = U'\u0625', YEH_HAMZA = U'\u0626';
constexpr char32_t ALEF = U'\u0627', BEH = U'\u0628', TEH_MARBUTA = U'\u0629', TEH = U'\u062A', HAH = U'\u062D',
                   THAL = U'\u0630', SEEN = U'\u0633', SAD = U'\u0635', FEH = U'\u0641', KAF = U'\u0643',
                   LAM = U'\u0644', MEEM = U'\u0645', NOON = U'\u0646', HEH = U'\u0647', WAW = U'\u0648',
                   ALEF_MAKSURA = U'\u0649', YEH = U'\u064A';
constexpr char32_t TATWEEL = U'\u0640', WASLA = U'\u0671';
constexpr char32_t FATHATAN = U'\u064B', DAMMATAN = U'\u064C', KASRATAN = U'\u064D';
constexpr char32_t FATHA = U'\u064E', DAMMA = U'\u064F', KASRA = U'\u0650', SHADDA = U'\u0651', SUKUN = U'\u0652';
constexpr char32_t MADDA_ABOVE = U'\u0653', HAMZA_ABOVE = U'\u0654', HAMZA_BELOW = U'\u0655';
// open tanween as the source encodes it
constexpr char32_t OPEN_KASRATAN = U'\u0656', OPEN_FATHATAN = U'\u0657', OPEN_DAMMATAN = U'\u065E';
constexpr char32_t DOT_BELOW = U'\u065C';
constexpr char32_t DAGGER = U'\u0670';
constexpr char32_t SMALL_HIGH_SEEN = U'\u06DC', RUB_EL_HIZB = U'\u06DE', ROUND_ZERO_RECT = U'\u06E0';
constexpr char32_t DOTLESS_KHAH = U'\u06E1';  // the Uthmani sukun
constexpr char32_t SMALL_HIGH_MEEM = U'\u06E2', SMALL_LOW_MEEM = U'\u06ED';
constexpr char32_t SMALL_HIGH_MADDA = U'\u06E4';
constexpr char32_t SMALL_WAW = U'\u06E5', SMALL_YEH = U'\u06E6', SMALL_HIGH_YEH = U'\u06E7',
                   SMALL_HIGH_NOON = U'\u06E8';
constexpr char32_t SAJDAH = U'\u06E9', ROUNDED_STOP = U'\u06EC';

// Values of the vowel before a hamza besides the marks themselves.
constexpr char32_t NO_VOWEL = 0, LONG_A = 1, LONG_U = 2, LONG_I = 3;

bool is_vowel(char32_t m) { return m == FATHA || m == DAMMA || m == KASRA; }
bool is_tanween(char32_t m) { return m == FATHATAN || m == DAMMATAN || m == KASRATAN; }
bool is_haraka(char32_t m) { return is_vowel(m) || is_tanween(m) || m == SHADDA || m == SUKUN; }
bool is_pause_mark(char32_t c) { return c >= U'\u06D6' && c <= U'\u06DB'; }
char32_t to_tanween(char32_t vowel) { return vowel == FATHA ? FATHATAN : vowel == DAMMA ? DAMMATAN : KASRATAN; }

// Letters that do not join the letter after them.
bool is_non_joining(char32_t c) {
    switch (c) {
        case U'\u0621':
        case U'\u0622':
        case U'\u0623':
        case U'\u0624':
        case U'\u0625':
        case U'\u0627':
        case U'\u062F':
        case U'\u0630':
        case U'\u0631':
        case U'\u0632':
        case U'\u0648':
        case U'\u0629':
        case U'\u0649': return true;
        default: return false;
    }
}

// Whole-word spellings that the general rules cannot reach (rule "X"). Keys are compared after
// the sign removal and canonical (NFD) reordering of marks; values are in the source's mark order.
const std::unordered_map<std::u32string, std::u32string>& word_exceptions() {
    static const std::unordered_map<std::u32string, std::u32string> table = {
        // 2:72, written with a thin space and a hamza on a superscript alef
        {U"\u0641\u064E\u0671\u062F\u064E\u0651\u0640\u0670\u0631\u064E\u2009\u0670\u0654\u062A\u064F\u0645\u06E1",
         U"\u0641\u064E\u0627\u062F\u0651\u064E\u0627\u0631\u064E\u0623\u0652\u062A\u064F\u0645\u0652"},
        // 41:44, the second hamza eased (its sign already dropped)
        {U"\u0621\u064E\u0627\u0639\u06E1\u062C\u064E\u0645\u0650\u064A\u0651\u065E",
         U"\u0623\u064E\u0623\u064E\u0639\u0652\u062C\u064E\u0645\u0650\u064A\u0651\u064C"},
        // 20:94, vocative joined to the next word, its alef wasla dropped
        {U"\u064A\u064E\u0628\u06E1\u0646\u064E\u0648\u064F\u0654\u0645\u064E\u0651",
         U"\u064A\u064E\u0627 \u0627\u0628\u0652\u0646\u064E \u0623\u064F\u0645\u0651\u064E"},
        // 26:176 and 38:13, the article written without its alef
        {U"\u0644\u06E1\u0640\u064E\u0654\u064A\u06E1\u0643\u064E\u0629\u0650",
         U"\u0627\u0644\u0652\u0623\u064E\u064A\u0652\u0643\u064E\u0629\u0650"},
    };
    return table;
}

// Silent alef after a final waw that common spelling drops: singular verbs whose last radical is
// waw (yad'u, yatlu) and construct plurals (ulu, mulaqu). Skeletons as the Uthmani word has them
// (letters only, superscript alef not counted, proclitics included). Left out on purpose because
// the same spelling is also a plural in the text: tad'u, banu.
const std::unordered_set<std::u32string>& waw_alef_drop() {
    static const std::unordered_set<std::u32string> words = {
        U"\u0623\u062F\u0639\u0648\u0627",
        U"\u0623\u0634\u0643\u0648\u0627",
        U"\u0623\u0646\u062F\u0639\u0648\u0627",
        U"\u0623\u0648\u0644\u0648\u0627",
        U"\u0628\u0627\u0633\u0637\u0648\u0627",
        U"\u062A\u0628\u0644\u0648\u0627",
        U"\u062A\u062A\u0644\u0648\u0627",
        U"\u062A\u0631\u062C\u0648\u0627",
        U"\u0633\u0623\u062A\u0644\u0648\u0627",
        U"\u0635\u0627\u0644\u0648\u0627",
        U"\u0643\u0627\u0634\u0641\u0648\u0627",
        U"\u0644\u062A\u0627\u0631\u0643\u0648\u0627",
        U"\u0644\u0630\u0627\u0626\u0642\u0648\u0627",
        U"\u0644\u0635\u0627\u0644\u0648\u0627",
        U"\u0644\u064A\u0631\u0628\u0648\u0627",
        U"\u0645\u0631\u0633\u0644\u0648\u0627",
        U"\u0645\u0644\u0642\u0648\u0627",
        U"\u0645\u0647\u0644\u0643\u0648\u0627",
        U"\u0646\u0627\u0643\u0633\u0648\u0627",
        U"\u0646\u062A\u0644\u0648\u0627",
        U"\u0646\u062F\u0639\u0648\u0627",
        U"\u0648\u0623\u062F\u0639\u0648\u0627",
        U"\u0648\u0623\u0648\u0644\u0648\u0627",
        U"\u0648\u064A\u0631\u062C\u0648\u0627",
        U"\u0648\u064A\u0639\u0641\u0648\u0627",
        U"\u064A\u062A\u0644\u0648\u0627",
        U"\u064A\u062F\u0639\u0648\u0627",
        U"\u064A\u0631\u0628\u0648\u0627",
        U"\u064A\u0631\u062C\u0648\u0627",
        U"\u064A\u0645\u062D\u0648\u0627",
    };
    return words;
}

// Stems whose superscript alef is not written out in common spelling (hadha, dhalika, ulaika,
// lakin, rahman, ilah): skeleton with the superscript alef kept. They may follow the proclitics
// wa/fa/a (or a-fa, a-wa), then bi/ka/li, then the article or li.
constexpr std::array<std::u32string_view, 10> kDaggerDropStems = {
    U"\u0647\u0670\u0630",
    U"\u0647\u0670\u0624\u0644\u0627",
    U"\u0647\u0670\u0643\u0630\u0627",
    U"\u0630\u0670\u0644\u0643",
    U"\u0623\u0648\u0644\u0670\u0626\u0643",
    U"\u0644\u0670\u0643\u0646",
    U"\u0631\u062D\u0645\u0670\u0646",
    U"\u0625\u0644\u0670\u0647",
    U"\u0627\u0644\u0670\u0647",
    U"\u0621\u0644\u0670\u0647",
};
constexpr std::array<std::u32string_view, 6> kDaggerDropConjunctions = {U"",       U"\u0648",       U"\u0641",
                                                                        U"\u0623", U"\u0623\u0641", U"\u0623\u0648"};
constexpr std::array<std::u32string_view, 4> kDaggerDropPrepositions = {U"", U"\u0628", U"\u0643", U"\u0644"};
constexpr std::array<std::u32string_view, 3> kDaggerDropArticles = {U"", U"\u0627\u0644", U"\u0644"};

bool dagger_drop_word(std::u32string_view skel) {
    static const std::vector<std::u32string> heads = [] {
        std::vector<std::u32string> all;
        for (auto c : kDaggerDropConjunctions)
            for (auto p : kDaggerDropPrepositions)
                for (auto a : kDaggerDropArticles)
                    for (auto stem : kDaggerDropStems)
                        all.push_back(std::u32string(c).append(p).append(a).append(stem));
        return all;
    }();
    return std::any_of(heads.begin(), heads.end(), [&](const std::u32string& h) { return skel.starts_with(h); });
}

// Detached letters that open some surahs: written without marks.
const std::unordered_set<std::u32string>& muqattaat() {
    static const std::unordered_set<std::u32string> words = {
        U"\u0627\u0644\u0631",
        U"\u0627\u0644\u0645",
        U"\u0627\u0644\u0645\u0631",
        U"\u0627\u0644\u0645\u0635",
        U"\u062D\u0645",
        U"\u0635",
        U"\u0637\u0633",
        U"\u0637\u0633\u0645",
        U"\u0637\u0647",
        U"\u0639\u0633\u0642",
        U"\u0642",
        U"\u0643\u0647\u064A\u0639\u0635",
        U"\u0646",
        U"\u064A\u0633",
    };
    return words;
}

int combining_class(char32_t c) {
    if (c >= 0x064B && c <= 0x0652) return 27 + static_cast<int>(c - 0x064B);
    if (c == 0x0670) return 35;
    if (c == 0x0618 || c == 0x0619 || c == 0x061A) return 30 + static_cast<int>(c - 0x0618);
    if (c == 0x0655 || c == 0x0656 || c == 0x065C || c == 0x065F || c == 0x06E3 || c == 0x06EA || c == 0x06ED)
        return 220;
    if ((c >= 0x0300 && c <= 0x036F) || is_combining_mark(c)) return 230;
    return 0;
}

struct Cluster {
    char32_t base = 0;
    std::u32string marks;

    bool has(char32_t m) const { return marks.find(m) != std::u32string::npos; }
    char32_t vowel() const {
        for (char32_t m : marks)
            if (is_vowel(m) || is_tanween(m) || m == SUKUN) return m;
        return NO_VOWEL;
    }
    bool remove_first(char32_t m) {
        const auto k = marks.find(m);
        if (k == std::u32string::npos) return false;
        marks.erase(k, 1);
        return true;
    }
    void remove_all(std::u32string_view ms) {
        std::erase_if(marks, [&](char32_t m) { return ms.find(m) != std::u32string_view::npos; });
    }
    std::u32string text() const { return base + marks; }
};

using Clusters = std::vector<Cluster>;

std::u32string without(std::u32string marks, std::u32string_view drop) {
    std::erase_if(marks, [&](char32_t m) { return drop.find(m) != std::u32string_view::npos; });
    return marks;
}

Clusters parse(std::u32string_view word) {
    Clusters out;
    for (char32_t ch : word) {
        if (is_combining_mark(ch) && !out.empty()) out.back().marks.push_back(ch);
        else out.push_back({ch, {}});
    }
    return out;
}

std::u32string skeleton(const Clusters& cl, bool keep_dagger) {
    std::u32string s;
    for (const auto& c : cl) {
        if (c.base == TATWEEL) {
        } else if (c.base == WASLA) {
            s.push_back(ALEF);
        } else if (c.base != SMALL_WAW && c.base != SMALL_YEH) {
            s.push_back(c.base);
        }
        if (keep_dagger && c.has(DAGGER)) s.push_back(DAGGER);
    }
    return s;
}

std::u32string strip_marks(std::u32string_view text) {
    std::u32string out;
    for (char32_t ch : text)
        if (!is_combining_mark(ch)) out.push_back(ch);
    return out;
}

std::string seat_name(char32_t seat) {
    switch (seat) {
        case HAMZA: return "hamza";
        case ALEF_HAMZA: return "alef with hamza above";
        case WAW_HAMZA: return "waw with hamza above";
        case YEH_HAMZA: return "yeh with hamza above";
        default: return "alef with hamza below";
    }
}

}  // namespace

bool is_combining_mark(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) ||
           c == 0x0670 || (c >= 0x06D6 && c <= 0x06DC) || (c >= 0x06DF && c <= 0x06E4) || c == 0x06E7 || c == 0x06E8 ||
           (c >= 0x06EA && c <= 0x06ED) || (c >= 0x08D3 && c <= 0x08FF && c != 0x08E2);
}

std::u32string arabic_nfd(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size() + 8);
    for (char32_t c : text) {
        switch (c) {
            case ALEF_MADDA: out += U"\u0627\u0653"; break;
            case ALEF_HAMZA: out += U"\u0627\u0654"; break;
            case WAW_HAMZA: out += U"\u0648\u0654"; break;
            case ALEF_HAMZA_BELOW: out += U"\u0627\u0655"; break;
            case YEH_HAMZA: out += U"\u064A\u0654"; break;
            case U'\u06C0': out += U"\u06D5\u0654"; break;
            case U'\u06C2': out += U"\u06C1\u0654"; break;
            case U'\u06D3': out += U"\u06D2\u0654"; break;
            default: out.push_back(c);
        }
    }
    // canonical ordering: stable sort of every run of marks by combining class
    for (std::size_t i = 0; i < out.size();) {
        if (combining_class(out[i]) == 0) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < out.size() && combining_class(out[j]) != 0) ++j;
        std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(i), out.begin() + static_cast<std::ptrdiff_t>(j),
                         [](char32_t a, char32_t b) { return combining_class(a) < combining_class(b); });
        i = j;
    }
    return out;
}

std::u32string source_order(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= FATHATAN && text[i] <= KASRA && i + 1 < text.size() && text[i + 1] == SHADDA) {
            out.push_back(SHADDA);
            out.push_back(text[i]);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::u32string search_form(std::u32string_view vocalised) {
    std::u32string s;
    s.reserve(vocalised.size());
    for (char32_t ch : vocalised)
        if (!is_haraka(ch) && ch != TATWEEL && ch != DAGGER) s.push_back(ch);
    return strip(collapse_blanks(s));
}

// The rules, one method per rule group; counts go to the converter's table.
class Rules {
public:
    explicit Rules(std::map<std::string, long>& stats) : stats_(stats) {}

    void hit(const std::string& rule, long n = 1) {
        if (n) stats_[rule] += n;
    }

    std::u32string strip_signs(std::u32string word);
    std::u32string convert_word(std::u32string_view word, bool muqattaat_candidate);

private:
    std::optional<std::u32string> vocative(std::u32string_view word);
    void standard_marks(Clusters& cl);
    void uthmani_signs(Clusters& cl);
    void common_letters(Clusters& cl);
    void word_endings(Clusters& cl);
    void silent_letters(Clusters& cl);
    void final_waw_hamza(Clusters& cl, const std::vector<std::size_t>& out);
    void madda(Clusters& cl);
    Clusters dagger(Clusters cl);
    Clusters hamza(Clusters cl);
    void article_lam(Clusters& cl);
    void add_sukun(Clusters& cl);
    static bool after_proclitics_only(const Clusters& out, std::size_t count);
    static char32_t prev_vowel(const Clusters& out);
    static char32_t medial_seat(const Cluster* prev, char32_t prev_v, char32_t own, const Cluster* nxt, bool at_end,
                                bool on_tooth);

    std::map<std::string, long>& stats_;
};

std::u32string Rules::strip_signs(std::u32string word) {
    // R1..R5: symbols, pause marks and reading signs that common spelling lacks
    long n = std::erase_if(word, [](char32_t c) { return c == RUB_EL_HIZB || c == SAJDAH; });
    hit("R01 drop rub-el-hizb / sajdah sign", n);
    n = std::erase_if(word, is_pause_mark);
    hit("R02 drop pause marks U+06D6..U+06DB", n);
    // yabsutu / bastatan: sad carrying a small seen after beh is read (and spelled) seen
    std::u32string out;
    n = 0;
    for (std::size_t i = 0; i < word.size();) {
        if (word[i] == BEH) {
            std::size_t j = i + 1;
            if (j < word.size() && (word[j] == FATHA || word[j] == DOTLESS_KHAH)) ++j;
            if (j < word.size() && word[j] == SAD) {
                std::size_t k = j + 1;
                if (k < word.size() &&
                    (word[k] == FATHA || word[k] == DAMMA || word[k] == KASRA || word[k] == DOTLESS_KHAH))
                    ++k;
                if (k < word.size() && word[k] == SMALL_HIGH_SEEN) {
                    out.append(word, i, j - i);
                    out.push_back(SEEN);
                    out.append(word, j + 1, k - j - 1);
                    i = k + 1;
                    ++n;
                    continue;
                }
            }
        }
        out.push_back(word[i]);
        ++i;
    }
    word = std::move(out);
    hit("R03 sad + small high seen after beh -> seen", n);
    const std::pair<char32_t, const char*> signs[] = {{SMALL_HIGH_SEEN, "R03 drop other small high seen U+06DC"},
                                                      {SMALL_HIGH_MADDA, "R04 drop small high madda U+06E4"},
                                                      {ROUNDED_STOP, "R05 drop rounded high stop U+06EC"}};
    for (const auto& [ch, rule] : signs) hit(rule, std::erase(word, ch));
    return word;
}

std::u32string Rules::convert_word(std::u32string_view word, bool muqattaat_candidate) {
    if (word.empty()) return {};
    if (auto words = vocative(word)) return *words;

    if (muqattaat_candidate) {
        std::u32string sk = strip_marks(word);
        if (muqattaat().contains(sk)) {
            hit("R06 muqatta'at: drop all marks");
            return sk;
        }
    }

    Clusters cl = parse(word);
    standard_marks(cl);          // R7 to R9
    silent_letters(cl);          // R10: silent letters (round zero U+0652 / rectangular zero U+06E0)
    uthmani_signs(cl);           // R11 to R14
    madda(cl);                   // R15: madda sign
    cl = dagger(std::move(cl));  // R16: superscript (dagger) alef
    cl = hamza(std::move(cl));   // R17: hamza seats
    common_letters(cl);          // R18 to R21
    article_lam(cl);             // R23: article + lam-initial word written with one lam in Uthmani
    word_endings(cl);            // R24 to R26
    add_sukun(cl);               // R27: bare consonants get an explicit sukun
    std::u32string res;
    for (const auto& c : cl) res += c.text();
    return res;
}

// R22: vocative ya / attention ha joined to the next word in Uthmani (ya-ayyuha, ya-qawmi,
// ha-antum), written with a superscript alef: the two words as common spelling writes them, or
// nothing when the word does not begin so.
std::optional<std::u32string> Rules::vocative(std::u32string_view word) {
    std::size_t p = (word.size() >= 2 && (word[0] == WAW || word[0] == FEH) && word[1] == FATHA) ? 2 : 0;
    std::size_t q = p;
    if (q + 1 < word.size() && (word[q] == YEH || word[q] == HEH) && word[q + 1] == FATHA) {
        q += 2;
        if (q < word.size() && word[q] == TATWEEL) ++q;
        if (q < word.size() && word[q] == DAGGER) {
            ++q;
            if (q + 1 < word.size() && word[q] == MADDA_ABOVE) ++q;
            if (q < word.size()) {
                const std::u32string_view rest = word.substr(q);
                const bool ha_antum = rest.size() >= 4 && rest[0] == ALEF_HAMZA && rest[1] == FATHA &&
                                      rest[2] == NOON && (rest[3] == TEH || (rest.size() >= 5 && rest[4] == TEH));
                if (word[p] == YEH || ha_antum) {
                    hit("R22 vocative ya / attention ha written as a separate word");
                    std::u32string res(word.substr(0, p + 1));
                    res.push_back(FATHA);
                    res.push_back(ALEF);
                    res.push_back(U' ');
                    return res + convert_word(rest, false);
                }
            }
        }
    }
    return std::nullopt;
}

// R7 to R9: the marks that the standard code points or common spelling write otherwise.
void Rules::standard_marks(Clusters& cl) {
    // R7: open tanween code points -> standard tanween; R8: imala dot below -> fatha
    for (auto& c : cl) {
        for (auto& m : c.marks) {
            if (m == OPEN_FATHATAN) {
                m = FATHATAN;
                hit("R07 open fathatan U+0657 -> U+064B");
            } else if (m == OPEN_DAMMATAN) {
                m = DAMMATAN;
                hit("R07 open dammatan U+065E -> U+064C");
            } else if (m == OPEN_KASRATAN) {
                m = KASRATAN;
                hit("R07 open kasratan U+0656 -> U+064D");
            } else if (m == DOT_BELOW) {
                m = FATHA;
                hit("R08 imala dot below U+065C -> fatha");
            }
        }
    }

    // R9: iqlab small meem: vowel + meem -> tanween, bare letter + meem -> sukun
    for (auto& c : cl) {
        for (char32_t mm : {SMALL_HIGH_MEEM, SMALL_LOW_MEEM}) {
            if (!c.remove_first(mm)) continue;
            const auto v = std::find_if(c.marks.begin(), c.marks.end(), is_vowel);
            if (v != c.marks.end()) {
                *v = to_tanween(*v);
                hit("R09 iqlab meem after vowel -> tanween");
            } else {
                hit("R09 iqlab meem on bare noon -> sukun");
                c.marks.push_back(SUKUN);
            }
        }
    }
}

// R11 to R14: the Uthmani signs for sukun, wasla and the small letters.
void Rules::uthmani_signs(Clusters& cl) {
    // R11: Uthmani sukun
    for (auto& c : cl)
        for (auto& m : c.marks)
            if (m == DOTLESS_KHAH) {
                m = SUKUN;
                hit("R11 dotless head of khah U+06E1 -> sukun U+0652");
            }

    // R12: alef wasla
    for (auto& c : cl)
        if (c.base == WASLA) {
            c.base = ALEF;
            hit("R12 alef wasla U+0671 -> alef");
        }

    // R13: small waw / small yeh
    {
        Clusters out;
        for (auto& c : cl) {
            if (c.base == SMALL_WAW || c.base == SMALL_YEH) {
                if (!out.empty() && out.back().base == HEH) {
                    hit("R13 small waw/yeh after pronoun heh (silah) -> dropped");
                    out.back().marks += without(c.marks, U"\u0653");
                    continue;
                }
                c.base = c.base == SMALL_WAW ? WAW : YEH;
                hit("R13 small waw/yeh elsewhere -> full waw/yeh");
            }
            out.push_back(std::move(c));
        }
        cl = std::move(out);
    }

    // R14: small high yeh / small high noon (on a tatweel or after a letter)
    {
        Clusters out;
        for (auto& orig : cl) {
            Cluster c = std::move(orig);
            const std::tuple<char32_t, char32_t, const char*> smalls[] = {
                {SMALL_HIGH_YEH, YEH, "R14 small high yeh U+06E7 -> yeh"},
                {SMALL_HIGH_NOON, NOON, "R14 small high noon U+06E8 -> noon"}};
            for (const auto& [small, full, rule] : smalls) {
                const auto k = c.marks.find(small);
                if (k == std::u32string::npos) continue;
                std::u32string after = c.marks.substr(k + 1);
                c.marks.resize(k);
                hit(rule);
                if (c.base == TATWEEL && c.marks.empty()) {
                    c.base = full;
                    c.marks = std::move(after);
                } else {
                    out.push_back(std::move(c));
                    c = Cluster{full, std::move(after)};
                }
            }
            out.push_back(std::move(c));
        }
        cl = std::move(out);
    }
}

// R18 to R21: letters and marks that common spelling writes otherwise inside a word.
void Rules::common_letters(Clusters& cl) {
    // R18: alef maksura inside a word -> alef
    for (std::size_t i = 0; i + 1 < cl.size(); ++i) {
        if (cl[i].base != ALEF_MAKSURA) continue;
        if (std::any_of(cl.begin() + static_cast<std::ptrdiff_t>(i) + 1, cl.end(),
                        [](const Cluster& x) { return x.base != TATWEEL; })) {
            cl[i].base = ALEF;
            hit("R18 alef maksura inside word -> alef");
        }
    }
    // R19: remaining tatweel
    {
        Clusters out;
        for (auto& c : cl) {
            if (c.base == TATWEEL) {
                hit("R19 drop tatweel");
                if (!out.empty()) out.back().marks += c.marks;
                continue;
            }
            out.push_back(std::move(c));
        }
        cl = std::move(out);
    }
    // R20: shadda on the first letter of a word = assimilation from the previous word (idgham);
    // not written in common spelling
    if (!cl.empty() && cl[0].remove_first(SHADDA)) hit("R20 word-initial idgham shadda dropped");
    // R21: assimilation inside a word (wajadtum, 'ahadtum): bare consonant before a shadda that is
    // not the article lam -> sukun, shadda dropped
    for (std::size_t i = 0; i + 1 < cl.size(); ++i) {
        Cluster& c = cl[i];
        Cluster& n = cl[i + 1];
        if (c.base == ALEF || c.base == ALEF_MAKSURA || c.base == ALEF_MADDA || c.base == TEH_MARBUTA || !n.has(SHADDA))
            continue;
        if (std::any_of(c.marks.begin(), c.marks.end(), is_haraka)) continue;
        if (c.base == LAM && i > 0 &&
            (cl[i - 1].base == ALEF || cl[i - 1].base == ALEF_MADDA ||
             (cl[i - 1].base == LAM && (cl[i - 1].marks == U"\u0650" || cl[i - 1].marks == U"\u064E"))))
            continue;  // article before a sun letter (al-, lil-, lal-, a-al-)
        if ((c.base == WAW || c.base == YEH) && i > 0 && (cl[i - 1].vowel() == DAMMA || cl[i - 1].vowel() == KASRA))
            continue;
        c.marks.push_back(SUKUN);
        n.remove_first(SHADDA);
        hit("R21 assimilation inside word -> sukun, shadda dropped");
    }
}

// R24 to R26: word endings and forms that Uthmani writes with a letter less.
void Rules::word_endings(Clusters& cl) {
    // R24: plural verb ending -u'u written without its alef (ja'u, ba'u, fa'u)
    if (cl.size() >= 2 && cl.back().base == WAW && cl.back().marks.empty() && cl[cl.size() - 2].base == HAMZA &&
        cl[cl.size() - 2].has(DAMMA)) {
        cl.push_back({ALEF, {}});
        hit("R24 plural -\u0621\u064F\u0648 without alef -> alef added");
    }
    // R25: imperative of sa'ala after wa/fa written without alef (fas'al)
    if (cl.size() >= 3 && (cl[0].base == WAW || cl[0].base == FEH) && cl[0].marks == U"\u064E" && cl[1].base == SEEN &&
        cl[1].marks == U"\u0652" && cl[2].base == ALEF_HAMZA) {
        cl.insert(cl.begin() + 1, Cluster{ALEF, {}});
        hit("R25 imperative of sa'ala after wa/fa -> alef added");
    }
    // R26: yuhyi / muhyi written with one yeh -> second yeh written
    if (cl.size() >= 3 && cl.back().base == YEH && cl.back().marks == U"\u0650" && cl[cl.size() - 2].base == HAH &&
        cl[cl.size() - 2].marks == U"\u0652") {
        std::u32string head;
        for (std::size_t i = 0; i + 2 < cl.size(); ++i) head.push_back(cl[i].base);
        const auto person = [](char32_t c) {
            return std::u32string_view(U"\u064A\u062A\u0623\u0646\u0645").find(c) != std::u32string_view::npos;
        };
        const auto proclitic = [](char32_t c) { return c == WAW || c == FEH || c == LAM; };
        if ((head.size() == 1 && person(head[0])) || (head.size() == 2 && proclitic(head[0]) && person(head[1]))) {
            cl.push_back({YEH, {}});
            hit("R26 final yeh+kasra (yuhyi) -> yeh added");
        }
    }
}

void Rules::article_lam(Clusters& cl) {
    // cl[k] is the alef of the article, cl[k+1] a lam with shadda: al-layl, al-lati, al-la'i,
    // al-ladhani / al-ladhayni (dual)
    if (cl.size() < 3) return;
    const std::size_t limit = std::min<std::size_t>(3, cl.size() - 2);
    for (std::size_t k = 0; k < limit; ++k) {
        const Cluster& a = cl[k];
        const Cluster& l = cl[k + 1];
        if (a.base != ALEF || !a.marks.empty() || l.base != LAM || !l.has(SHADDA)) continue;
        for (std::size_t j = 0; j < k; ++j) {
            const char32_t b = cl[j].base;
            if (b != WAW && b != FEH && b != BEH && b != KAF && b != ALEF_HAMZA) return;
        }
        std::u32string rest;
        for (std::size_t j = k + 2; j < cl.size(); ++j) rest.push_back(cl[j].base);
        std::u32string voc;
        for (std::size_t j = k + 1; j < cl.size(); ++j) voc += cl[j].text();
        if (rest.starts_with(U"\u064A\u0644") || rest.starts_with(U"\u0627\u062A") ||
            rest.starts_with(U"\u0627\u0626") || rest.starts_with(U"\u0630\u0627\u0646") ||
            voc.starts_with(U"\u0644\u0651\u064E\u0630\u064E\u064A")) {
            cl.insert(cl.begin() + static_cast<std::ptrdiff_t>(k) + 1, Cluster{LAM, {}});
            hit("R23 article + lam-initial word (al-layl, al-lati) -> second lam written");
        }
        return;
    }
}

// The clusters that stay are tracked by index so that a change to an earlier letter (a hamza
// seat rewritten) is seen by the skeleton of the whole word, which includes the dropped ones.
void Rules::silent_letters(Clusters& cl) {
    std::vector<std::size_t> out;
    const auto proclitics_only_before_last = [&]() {
        Clusters head;
        for (std::size_t j = 0; j + 1 < out.size(); ++j) head.push_back(cl[out[j]]);
        return after_proclitics_only(head, head.size());
    };
    for (std::size_t i = 0; i < cl.size(); ++i) {
        Cluster& c = cl[i];
        if (!c.has(SUKUN) && !c.has(ROUND_ZERO_RECT)) {
            out.push_back(i);
            continue;
        }
        if (c.base == ALEF && c.has(ROUND_ZERO_RECT)) {
            c.remove_first(ROUND_ZERO_RECT);
            hit("R10 rectangular zero on alef (ana) -> kept bare alef");
            out.push_back(i);
            continue;
        }
        c.remove_all(U"\u0652\u06E0");
        Cluster* prev = out.empty() ? nullptr : &cl[out.back()];
        if (c.base == YEH) {
            hit("R10 silent yeh -> dropped");
            if (prev != nullptr && prev->base == ALEF_HAMZA_BELOW && i + 1 < cl.size() &&
                !proclitics_only_before_last()) {
                prev->base = YEH_HAMZA;
                hit("R10 alef-hamza-below before a dropped silent yeh, mid-word -> yeh-hamza");
            }
            continue;
        }
        if (c.base == WAW) {
            if (i + 1 < cl.size() && cl[i + 1].base == LAM) {
                hit("R10 silent waw (ulaika/ulu) -> kept bare");
                out.push_back(i);
            } else {
                hit("R10 other silent waw (sa-urikum) -> dropped");
            }
            continue;
        }
        if (c.base == ALEF) {
            const char32_t pb = prev != nullptr ? prev->base : 0;
            if (pb == WAW_HAMZA) {
                hit("R10 silent alef after final waw-hamza -> dropped (hamza rewritten)");
                final_waw_hamza(cl, out);
                continue;
            }
            if ((pb == WAW || pb == SMALL_WAW) && !(prev->has(FATHA) && pb == WAW)) {
                if (pb == WAW && prev->has(DAGGER)) {  // al-riba
                    hit("R10 silent alef after waw+dagger -> dropped");
                    continue;
                }
                if (waw_alef_drop().contains(skeleton(cl, false))) {
                    hit("R10 silent alef after waw of singular verb / construct plural (list) -> dropped");
                    continue;
                }
                hit("R10 silent alef after plural waw -> kept bare");
                out.push_back(i);
                continue;
            }
            if (pb == MEEM) {  // mi'ah
                hit("R10 silent alef in mi'ah -> kept bare");
                out.push_back(i);
                continue;
            }
            hit("R10 other silent alef -> dropped");
            continue;
        }
        out.push_back(i);
    }
    Clusters kept;
    kept.reserve(out.size());
    for (std::size_t i : out) kept.push_back(std::move(cl[i]));
    cl = std::move(kept);
}

// Uthmani final -u'a with a silent alef: after a long a -> hamza on the line; after fatha -> alef-hamza
void Rules::final_waw_hamza(Clusters& cl, const std::vector<std::size_t>& out) {
    if (out.size() < 2) return;
    Cluster& c = cl[out.back()];
    const Cluster& prev = cl[out[out.size() - 2]];
    if (prev.base == ALEF || prev.has(DAGGER)) {  // long a: shuraka'u, jaza'u
        c.base = HAMZA;
        c.remove_all(U"\u0653");
        hit("R10b final waw-hamza after long a -> hamza on line");
    } else if (prev.has(FATHA)) {  // al-mala'u, yabda'u
        c.base = ALEF_HAMZA;
        hit("R10b final waw-hamza after fatha -> alef-hamza");
    }
}

void Rules::madda(Clusters& cl) {
    for (auto& c : cl) {
        if (!c.has(MADDA_ABOVE)) continue;
        if (c.base == ALEF_HAMZA) {
            c.base = ALEF_MADDA;
            c.remove_all(U"\u0653\u064E");
            hit("R15 alef-hamza + madda -> alef madda U+0622");
        } else {
            c.remove_first(MADDA_ABOVE);
            hit("R15 madd sign dropped");
        }
    }
}

Clusters Rules::dagger(Clusters cl) {
    bool drop = dagger_drop_word(skeleton(cl, true));
    Clusters out;
    for (auto& c : cl) {
        const auto k = c.marks.find(DAGGER);
        if (k == std::u32string::npos) {
            out.push_back(std::move(c));
            continue;
        }
        const std::u32string before = c.marks.substr(0, k);
        const std::u32string after = c.marks.substr(k + 1);
        const bool hamza_mark =
            before.find(HAMZA_ABOVE) != std::u32string::npos || after.find(HAMZA_ABOVE) != std::u32string::npos;
        if (c.base == ALEF_MAKSURA) {
            c.marks = before + after;
            hit("R16 dagger on alef maksura -> dropped");
            out.push_back(std::move(c));
            continue;
        }
        if (c.base == WAW && std::none_of(before.begin(), before.end(), is_vowel) && !out.empty() &&
            out.back().has(FATHA)) {
            c.base = ALEF;
            c.marks = before + after;
            hit("R16 waw + dagger (salat/zakat spelling) -> alef");
            out.push_back(std::move(c));
            continue;
        }
        if (c.base == ALEF_HAMZA) {
            // a-alihatuna: alef-hamza + fatha + dagger -> alef madda
            c.base = ALEF_MADDA;
            c.marks = without(before + after, U"\u064E");
            hit("R16 alef-hamza + dagger -> alef madda");
            out.push_back(std::move(c));
            continue;
        }
        if (hamza_mark && !out.empty() && out.back().base == YEH &&
            std::none_of(out.back().marks.begin(), out.back().marks.end(), is_haraka)) {
            // khati'atikum: hamza + fatha + dagger after long i -> yeh-hamza + alef
            c.base = YEH_HAMZA;
            c.marks = U"\u064E";
            out.push_back(std::move(c));
            out.push_back({ALEF, without(after, U"\u0654\u064E")});
            hit("R16 hamza + dagger after long i -> yeh-hamza + alef");
            continue;
        }
        if (hamza_mark) {
            // tatweel + hamza + fatha + dagger: al-aana -> alef madda
            c.base = ALEF_MADDA;
            c.marks = without(before + after, U"\u0654\u064E\u0653");
            hit("R16 hamza + dagger -> alef madda");
            out.push_back(std::move(c));
            continue;
        }
        if (drop) {
            drop = false;  // only the stem's dagger (hadhani keeps the second)
            c.marks = before + after;
            hit("R16 dagger dropped (hadha/dhalika/ulaika/lakin/rahman/ilah)");
            out.push_back(std::move(c));
            continue;
        }
        // default: write a full alef after the letter
        c.marks = before;
        Cluster alef{ALEF, after};
        if (c.base == TATWEEL && before.empty()) {
            out.push_back(std::move(alef));  // tatweel seat only: the alef replaces it
        } else {
            out.push_back(std::move(c));
            out.push_back(std::move(alef));
        }
        hit("R16 dagger -> full alef");
    }
    return out;
}

// Gives hamzas written on the line (U+0621), on a tatweel tooth (U+0640 U+0654) or as hamza below
// on yeh/waw a common-spelling seat.
Clusters Rules::hamza(Clusters cl) {
    Clusters out;
    std::size_t i = 0;
    while (i < cl.size()) {
        Cluster& c = cl[i];
        const bool on_tooth = c.base == TATWEEL && c.has(HAMZA_ABOVE);
        const bool yeh_below = c.base == YEH && c.has(HAMZA_BELOW);
        if (c.base == WAW && c.has(HAMZA_BELOW)) {
            c.base = WAW_HAMZA;
            c.remove_first(HAMZA_BELOW);
            hit("R17 waw + hamza below -> waw-hamza");
            out.push_back(std::move(c));
            ++i;
            continue;
        }
        if (!(c.base == HAMZA || on_tooth || yeh_below)) {
            out.push_back(std::move(c));
            ++i;
            continue;
        }
        const std::u32string marks = without(c.marks, U"\u0654\u0655");
        char32_t own = NO_VOWEL;
        for (char32_t m : marks)
            if (is_vowel(m) || is_tanween(m) || m == SUKUN) {
                own = m;
                break;
            }
        const Cluster* prev = out.empty() ? nullptr : &out.back();
        const Cluster* nxt = i + 1 < cl.size() ? &cl[i + 1] : nullptr;
        const std::size_t rest_size = cl.size() - i - 1;
        const bool at_end =
            std::all_of(cl.begin() + static_cast<std::ptrdiff_t>(i) + 1, cl.end(),
                        [](const Cluster& x) { return (x.base == ALEF || x.base == ALEF_MAKSURA) && x.marks.empty(); });
        const char32_t prev_v = prev_vowel(out);
        const bool initial = after_proclitics_only(out, out.size());

        // hamza + fatha + long alef -> alef madda (initial, or after fatha/sukun)
        if (own == FATHA && nxt != nullptr && nxt->base == ALEF && nxt->marks.empty() &&
            (initial || prev_v == FATHA || prev_v == SUKUN) &&
            !(prev != nullptr && prev->base == YEH && prev_v == SUKUN)) {
            if (rest_size == 1 && !initial) {
                // verb ra'a / na'a written -'a: common spelling -a'a with alef maksura
                out.push_back({ALEF_HAMZA, marks});
                out.push_back({ALEF_MAKSURA, {}});
                hit("R17 final hamza+fatha+alef (ra'a) -> alef-hamza + alef maksura");
                i += 2;
                continue;
            }
            out.push_back({ALEF_MADDA, without(marks, U"\u064E")});
            hit("R17 hamza + fatha + alef -> alef madda");
            i += 2;
            continue;
        }
        if (initial) {
            const char32_t seat = own == KASRA ? ALEF_HAMZA_BELOW : ALEF_HAMZA;
            hit("R17 word-initial hamza (after proclitics) -> alef seat");
            out.push_back({seat, marks});
            ++i;
            continue;
        }
        if (yeh_below) {
            const char32_t seat = prev_v == LONG_A ? HAMZA : YEH_HAMZA;
            hit(std::string("R17 yeh + hamza below -> ") + (seat == HAMZA ? "hamza on line" : "yeh-hamza"));
            out.push_back({seat, marks});
            ++i;
            continue;
        }
        const char32_t seat = medial_seat(prev, prev_v, own, nxt, at_end, on_tooth);
        hit(std::string("R17 hamza on ") + (on_tooth ? "tooth" : "line") + " -> " + seat_name(seat));
        const bool next_is_alef = nxt != nullptr && nxt->base == ALEF;
        out.push_back({seat, marks});
        if (at_end && own == FATHATAN && seat == ALEF_HAMZA && next_is_alef) {
            hit("R17 alef after final alef-hamza + fathatan dropped");
            i += 2;
            continue;
        }
        ++i;
    }
    return out;
}

// True when everything in the first count clusters is proclitics: wa/fa (fatha), bi/li (kasra),
// la/ka (fatha), interrogative a (fatha) -- or nothing.
bool Rules::after_proclitics_only(const Clusters& out, std::size_t count) {
    if (count > 2) return false;
    for (std::size_t j = 0; j < count; ++j) {
        const Cluster& x = out[j];
        if (x.marks.size() != 1) return false;
        const char32_t v = x.vowel();
        const bool ok = (x.base == WAW && v == FATHA) || (x.base == FEH && v == FATHA) ||
                        (x.base == BEH && v == KASRA) || (x.base == LAM && (v == KASRA || v == FATHA)) ||
                        (x.base == KAF && v == FATHA) || (x.base == ALEF_HAMZA && v == FATHA);
        if (!ok) return false;
    }
    return true;
}

char32_t Rules::prev_vowel(const Clusters& out) {
    if (out.empty()) return NO_VOWEL;
    const Cluster& p = out.back();
    if (p.base == ALEF && p.marks.empty()) return LONG_A;
    if (p.base == TATWEEL) return p.marks.empty() ? LONG_A : p.vowel();
    const char32_t v = p.vowel();
    if (v == NO_VOWEL && (p.base == WAW || p.base == YEH) && out.size() > 1) {
        const char32_t pv = out[out.size() - 2].vowel();
        if ((p.base == WAW && pv == DAMMA) || (p.base == YEH && pv == KASRA)) return p.base == WAW ? LONG_U : LONG_I;
    }
    if (v == NO_VOWEL && p.base == ALEF_MAKSURA) return LONG_A;
    return v;
}

char32_t Rules::medial_seat(const Cluster* prev, char32_t prev_v, char32_t own, const Cluster* nxt, bool at_end,
                            bool on_tooth) {
    const bool joins = prev != nullptr && !is_non_joining(prev->base);
    if (at_end) {
        if (own == FATHATAN && on_tooth) return prev_v == FATHA ? ALEF_HAMZA : YEH_HAMZA;  // khata'an / shay'an
        if (prev_v == FATHA) return ALEF_HAMZA;
        if (prev_v == KASRA) return YEH_HAMZA;
        if (prev_v == DAMMA) return WAW_HAMZA;
        return HAMZA;
    }
    if (prev_v == LONG_A) return own == KASRA ? YEH_HAMZA : HAMZA;  // isra'il / tasa'alun
    if (prev_v == LONG_U || prev_v == LONG_I) return (own == KASRA || prev_v == LONG_I) && joins ? YEH_HAMZA : HAMZA;
    if (own == KASRA || prev_v == KASRA) return YEH_HAMZA;
    if (prev != nullptr && prev->base == YEH && prev_v == SUKUN) {
        if (nxt != nullptr && nxt->base == SEEN) return ALEF_HAMZA;  // yay'asu, istay'asa (lexical)
        return YEH_HAMZA;                                            // shay'an, hay'a
    }
    if (own == DAMMA && nxt != nullptr && nxt->base == WAW) return on_tooth ? YEH_HAMZA : HAMZA;  // mas'ulan / ra'uf
    if (own == DAMMA || prev_v == DAMMA) return WAW_HAMZA;
    if (prev != nullptr && prev->base == WAW && prev_v == SUKUN) return HAMZA;  // saw'a
    return ALEF_HAMZA;
}

void Rules::add_sukun(Clusters& cl) {
    const std::size_t n = cl.size();
    for (std::size_t i = 0; i < n; ++i) {
        Cluster& c = cl[i];
        if (c.base == ALEF || c.base == ALEF_MAKSURA || c.base == ALEF_MADDA || c.base == TATWEEL ||
            c.base == TEH_MARBUTA)
            continue;
        if (std::any_of(c.marks.begin(), c.marks.end(), is_haraka)) continue;
        if ((c.base == WAW || c.base == YEH) && i > 0) {
            const char32_t pv = cl[i - 1].vowel();
            if ((c.base == WAW && pv == DAMMA) || (c.base == YEH && pv == KASRA)) continue;  // long vowel letter
            if (pv == NO_VOWEL && (cl[i - 1].base == WAW_HAMZA || cl[i - 1].base == HAMZA) && c.base == WAW) continue;
        }
        if (c.base == WAW && i > 0 && cl[i - 1].base == ALEF_HAMZA && cl[i - 1].has(DAMMA))
            continue;                                      // ulaika / ulu: silent waw
        if (i + 1 < n && cl[i + 1].has(SHADDA)) continue;  // assimilated (sun-letter lam, idgham inside a word)
        if (c.base == WAW && i == 1 && cl[0].base == ALEF && cl[0].marks.empty()) continue;
        c.marks.push_back(SUKUN);
        hit("R27 bare consonant -> explicit sukun");
    }
}

std::u32string SpellingConverter::convert_verse(std::u32string_view text, int surah, int ayah) {
    Rules rules(stats_);
    const std::u32string cleaned = rules.strip_signs(std::u32string(text));
    const auto words = split_words(cleaned);
    std::vector<std::u32string> out;
    out.reserve(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto& exceptions = word_exceptions();
        const auto exc = exceptions.find(arabic_nfd(words[i]));
        if (exc != exceptions.end()) {
            rules.hit("X  whole-word exception");
            out.push_back(exc->second);
            continue;
        }
        const bool muq = i == 0 && (ayah == 1 || (surah == 42 && ayah == 2));
        out.push_back(rules.convert_word(words[i], muq));
    }
    std::u32string res;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i > 0) res.push_back(U' ');
        res += out[i];
    }
    return strip(collapse_blanks(res));
}

}  // namespace quran_data
