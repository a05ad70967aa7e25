// quran-data: builds every verse and translation data file of both programs from the source
// package, checks them, and prints a short summary.
//   usage: quran-data --source <dist dir> --out <dir> --header <path of dain_texts.h>
#include "tools/quran-data/dain.h"
#include "tools/quran-data/error.h"
#include "tools/quran-data/source.h"
#include "tools/quran-data/spelling.h"
#include "tools/quran-data/verse_files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace quran_data;

namespace {

struct Options {
    fs::path source;
    fs::path out;
    fs::path header;
};

Options parse_args(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc)
            throw DataError("option " + a + " needs a value");
        if (a == "--source")
            o.source = argv[++i];
        else if (a == "--out")
            o.out = argv[++i];
        else if (a == "--header")
            o.header = argv[++i];
        else
            throw DataError("unknown option " + a);
    }
    if (o.source.empty() || o.out.empty() || o.header.empty())
        throw DataError("usage: quran-data --source <dist dir> --out <dir> --header <dain_texts.h>");
    return o;
}

void write_file(const fs::path& path, const std::string& bytes)
{
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw DataError("cannot write " + path.string());
    std::printf("  %-22s %9zu bytes\n", path.filename().string().c_str(), bytes.size());
}

int run(const Options& o)
{
    const auto t0 = std::chrono::steady_clock::now();
    const Source source = load_arabic(o.source);
    SpellingConverter converter;
    const VerseTexts texts = build_verse_texts(source, converter);
    const std::string search_file = encode_lines(texts.search);
    const std::string vocalised_file = encode_lines(texts.vocalised);
    check_verse_files(search_file, vocalised_file);

    std::printf("quran-data: %zu surahs, %zu verses\n", source.surahs.size(), source.verses.size());
    write_file(o.out / "QuranV.Qur", search_file);
    write_file(o.out / "Qurant.Qur", vocalised_file);

    std::size_t i_2_282 = 0;
    while (!(source.verses[i_2_282].surah == 2 && source.verses[i_2_282].ayah == 282))
        ++i_2_282;
    const auto [dain1, dain2] = split_dain(texts.vocalised[i_2_282]);
    write_file(o.header, dain_header(dain1, dain2));
    std::printf("  verse 2:282 halves: %zu + %zu characters\n", dain1.size(), dain2.size());

    std::printf("spelling rules fired:\n");
    for (const auto& [rule, n] : converter.stats())
        std::printf("  %7ld  %s\n", n, rule.c_str());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("quran-data: done in %.2f s\n", s);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return run(parse_args(argc, argv));
    } catch (const DataError& e) {
        std::fprintf(stderr, "quran-data: error: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quran-data: error: %s\n", e.what());
    }
    return 1;
}
