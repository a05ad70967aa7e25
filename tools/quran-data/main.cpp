// quran-data: builds every verse and translation data file of both programs from the source
// package, checks them, and prints a short summary. Any broken invariant ends it with a message
// and exit status 1, before a file is written.
// The glyph form is shaped in the source font of the glyph fonts; the slots it uses are written
// as a list from which the font build makes the fonts HQPB1..HQPB5.
//   usage: quran-data --source <dist dir> --out <dir> --header <dain_texts.h> --license <template>
//                     --glyph-font <source font> --glyph-slots <slot list>
#include "tools/quran-data/arabic_files.h"
#include "tools/quran-data/dain.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/file_io.h"
#include "tools/quran-data/glyph_shaping.h"
#include "tools/quran-data/glyph_slots.h"
#include "tools/quran-data/source.h"
#include "tools/quran-data/spelling.h"
#include "tools/quran-data/translations.h"
#include "tools/quran-data/verse_files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quran_data;

namespace {

constexpr const char* kSourceVersion = "3.1.2";

struct Options {
    fs::path source;
    fs::path out;
    fs::path header;
    fs::path license_template;
    fs::path glyph_font;
    fs::path glyph_slots;
};

Options parse_args(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) throw DataError("option " + a + " needs a value");
        if (a == "--source") o.source = argv[++i];
        else if (a == "--out") o.out = argv[++i];
        else if (a == "--header") o.header = argv[++i];
        else if (a == "--license") o.license_template = argv[++i];
        else if (a == "--glyph-font") o.glyph_font = argv[++i];
        else if (a == "--glyph-slots") o.glyph_slots = argv[++i];
        else throw DataError("unknown option " + a);
    }
    if (o.source.empty() || o.out.empty() || o.header.empty() || o.license_template.empty() || o.glyph_font.empty() ||
        o.glyph_slots.empty())
        throw DataError(
            "usage: quran-data --source <dist dir> --out <dir> --header <dain_texts.h> --license <template>"
            " --glyph-font <source font> --glyph-slots <slot list>");
    return o;
}

struct OutputFile {
    fs::path path;
    std::string bytes;
    std::string note;  // summary line
};

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::size_t index_of(const Source& source, int surah, int ayah) {
    for (std::size_t i = 0; i < source.verses.size(); ++i)
        if (source.verses[i].surah == surah && source.verses[i].ayah == ayah) return i;
    throw DataError("verse " + std::to_string(surah) + ":" + std::to_string(ayah) + " is missing");
}

// The desktop program's verse files and the header with the halves of verse 2:282.
void add_verse_files(const Options& o, const Source& source, SpellingConverter& converter,
                     std::vector<OutputFile>& files) {
    const VerseTexts texts = build_verse_texts(source, converter);
    const std::string search_file = encode_lines(texts.search);
    const std::string vocalised_file = encode_lines(texts.vocalised);
    check_verse_files(search_file, vocalised_file);
    files.push_back({o.out / "QuranV.Qur", search_file, "6236 lines, search form"});
    files.push_back({o.out / "Qurant.Qur", vocalised_file, "6236 lines, vocalised"});

    const auto [dain1, dain2] = split_dain(texts.vocalised[index_of(source, 2, 282)]);
    const std::string halves = "verse 2:282 halves of " + std::to_string(dain1.size()) + " and " +
                               std::to_string(dain2.size()) + " characters";
    files.push_back({o.header, dain_header(dain1, dain2), halves});
}

// The add-in's Arabic files and the list of glyph slots; returns the seconds the glyph form took.
double add_arabic_files(const Options& o, const Source& source, std::vector<OutputFile>& files) {
    const BuiltFile unicode = build_unicode_arabic(source);
    files.push_back(
        {o.out / "UnicodeArabic.dbu", unicode.bytes, std::to_string(unicode.distinct_words) + " distinct words"});
    // The glyph form draws the Mushaf text, the one the source font is made for.
    const auto t_glyphs = std::chrono::steady_clock::now();
    const Shaper shaper(o.glyph_font);
    SlotTable slots;
    const ShapedGlyphs mapping(shaper, slots);
    std::vector<std::u32string> mushaf;
    mushaf.reserve(source.verses.size());
    for (const auto& v : source.verses) mushaf.push_back(mushaf_text(v));
    const BuiltFile glyphs = build_arabic_glyphs(source, mushaf, mapping, verse_end_text);
    files.push_back(
        {o.out / "Arabic.dabrel", glyphs.bytes, std::to_string(glyphs.distinct_words) + " distinct glyph words"});
    std::string used;
    for (int font = 1; font <= kGlyphFontCount; ++font)
        used += (font > 1 ? ", " : "") + std::to_string(slots.used_in(font));
    files.push_back({o.glyph_slots, slots.listing(shaper),
                     std::to_string(slots.slots().size()) + " glyph slots (" + used + " in HQPB1..5) for " +
                         std::to_string(mapping.shaped_words()) + " shaped words"});
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t_glyphs).count();
}

using MappedCharacters = std::vector<std::pair<std::string, MappingCounts>>;

// The translation files; returns what each wrote in a plain form.
MappedCharacters add_translations(const Options& o, const Source& source, std::vector<OutputFile>& files) {
    MappedCharacters mapped;
    for (const auto& lang : languages()) {
        BuiltTranslation t;
        try {
            t = build_translation(load_translation(o.source, lang.code, source), lang);
        } catch (const DataError& e) {
            throw DataError(lang.file_name + ".dabrel: " + e.what());
        }
        long n = 0;
        for (const auto& [what, count] : t.mapped) n += count;
        files.push_back(
            {o.out / (lang.file_name + ".dabrel"), std::move(t.bytes),
             std::to_string(t.distinct_words) + " distinct words, " + std::to_string(n) + " characters mapped"});
        mapped.emplace_back(lang.file_name, std::move(t.mapped));
    }
    return mapped;
}

// The attribution note, which lists every file of the output folder.
void add_license_note(const Options& o, std::vector<OutputFile>& files) {
    std::string list;
    for (const auto& f : files)
        if (f.path.parent_path() == o.out) list += "  " + f.path.filename().string() + "\n";
    std::string note = replace_all(read_file(o.license_template), "@SOURCE_VERSION@", kSourceVersion);
    note = replace_all(note, "@FILES@", list);
    files.push_back({o.out / "DATA-LICENSE.txt", note, "source and licence of the data"});
}

void print_summary(const Source& source, const std::vector<OutputFile>& files, const MappedCharacters& mapped,
                   const SpellingConverter& converter) {
    std::printf("quran-data: %zu surahs, %zu verses from quran-json %s\n", source.surahs.size(), source.verses.size(),
                kSourceVersion);
    for (const auto& f : files)
        std::printf("  %-20s %9zu bytes  %s\n", f.path.filename().string().c_str(), f.bytes.size(), f.note.c_str());
    std::printf("characters written in a plain form:\n");
    for (const auto& [name, counts] : mapped)
        for (const auto& [what, count] : counts) std::printf("  %-10s %6ld  %s\n", name.c_str(), count, what.c_str());
    std::printf("spelling rules fired:\n");
    for (const auto& [rule, n] : converter.stats()) std::printf("  %7ld  %s\n", n, rule.c_str());
}

int run(const Options& o) {
    const auto t0 = std::chrono::steady_clock::now();
    const Source source = load_arabic(o.source);
    std::vector<OutputFile> files;
    SpellingConverter converter;
    add_verse_files(o, source, converter, files);
    const double glyph_seconds = add_arabic_files(o, source, files);
    const MappedCharacters mapped = add_translations(o, source, files);
    add_license_note(o, files);

    // Every check has passed: write
    for (const auto& f : files) write_file(f.path, f.bytes);

    print_summary(source, files, mapped, converter);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("quran-data: glyph form shaped in %.2f s; done in %.2f s\n", glyph_seconds, s);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(parse_args(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quran-data: error: %s\n", e.what());
    }
    return 1;
}
