// Writes the fuzzer's seed corpus: small valid files of each kind, the kind byte first.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tarvelo/data/tests/data_file_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarvelo_data_seeds <folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const std::filesystem::path sample = folder / "sample-set";
    datafiles::WriteSampleSet(sample);
    auto seed = [&](const std::string& name, char kind, const std::string& bytes) {
        datafiles::WriteFile(folder / name, std::string(1, kind) + bytes);
    };
    auto read = [&](const char* name) {
        std::ifstream in(sample / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    seed("translation-unc", 0, read("English.dabrel"));
    seed("arabic", 1, read("Arabic.dabrel"));
    seed("unicode", 2, read("UnicodeArabic.dbu"));
    seed("translation-cnu", 0, datafiles::TranslationFile({"041", "627644"}, {{1, 2}, {2}}, {{1}}, "R1056CNU"));
    seed("translation-cnn", 0, datafiles::TranslationFile({"\x01\x41\x4f\x60"}, {{1}}, {{1, 1}}, "L2052CNN"));
    seed("translation-plain", 0, datafiles::TranslationFile({"a", "b"}, {{1, 2}}, {}, ""));
    std::filesystem::remove_all(sample);
    return 0;
}
