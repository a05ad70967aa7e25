#include "tools/quran-data/verse_files.h"

#include "quran/quran_text.h"
#include "tools/quran-data/codepage.h"
#include "tools/quran-data/error.h"

#include <charconv>
#include <cstdio>

namespace quran_data {

namespace {

const CodePage& arabic_page() {
    static const CodePage page(1256);
    return page;
}

std::vector<std::string_view> split_crlf_lines(std::string_view data, const char* name) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t cr = data.find_first_of("\r\n", start);
        if (cr == std::string_view::npos)
            throw DataError(std::string(name) + ": line " + std::to_string(lines.size() + 1) + " has no CR LF ending");
        if (data[cr] != '\r' || cr + 1 >= data.size() || data[cr + 1] != '\n')
            throw DataError(std::string(name) + ": line " + std::to_string(lines.size() + 1) + " has a bare CR or LF");
        lines.push_back(data.substr(start, cr - start));
        start = cr + 2;
    }
    return lines;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::u32string search_line(int surah, int ayah, std::u32string_view vocalised) {
    char code[8];
    std::snprintf(code, sizeof code, "%03d", surah);
    std::u32string line(code, code + 3);
    line.push_back(U' ');
    line += search_form(vocalised);
    line.push_back(U' ');
    const std::string number = std::to_string(ayah);
    line.append(number.begin(), number.end());
    return line;
}

VerseTexts build_verse_texts(const Source& source, SpellingConverter& converter) {
    VerseTexts out;
    out.vocalised.reserve(source.verses.size());
    out.search.reserve(source.verses.size());
    for (const auto& v : source.verses) {
        out.vocalised.push_back(converter.convert_verse(v.text, v.surah, v.ayah));
        out.search.push_back(search_line(v.surah, v.ayah, out.vocalised.back()));
    }
    return out;
}

std::string encode_lines(const std::vector<std::u32string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        try {
            out += arabic_page().encode(lines[i]);
        } catch (const DataError& e) {
            throw DataError("line " + std::to_string(i + 1) + ": " + e.what());
        }
        out += "\r\n";
    }
    return out;
}

void check_verse_files(std::string_view search_file, std::string_view vocalised_file) {
    const auto search = split_crlf_lines(search_file, "QuranV.Qur");
    const auto vocalised = split_crlf_lines(vocalised_file, "Qurant.Qur");
    if (search.size() != quran::kVerseCount)
        throw DataError("QuranV.Qur has " + std::to_string(search.size()) + " lines instead of 6236");
    if (vocalised.size() != quran::kVerseCount)
        throw DataError("Qurant.Qur has " + std::to_string(vocalised.size()) + " lines instead of 6236");
    int surah = 1;
    int ayah = 0;
    for (std::size_t i = 0; i < search.size(); ++i) {
        const std::string_view line = search[i];
        const std::string where = "QuranV.Qur line " + std::to_string(i + 1);
        if (line.size() < 7 || !is_digit(line[0]) || !is_digit(line[1]) || !is_digit(line[2]) || line[3] != ' ')
            throw DataError(where + ": does not start with a surah code and a blank");
        const std::size_t blank = line.rfind(' ');
        const std::string_view number = line.substr(blank + 1);
        if (number.empty() || number.size() > 3 || number[0] == '0')
            throw DataError(where + ": does not end with a verse number");
        for (char c : number)
            if (!is_digit(c)) throw DataError(where + ": does not end with a verse number");
        int s = 0;
        int a = 0;
        std::from_chars(line.data(), line.data() + 3, s);
        std::from_chars(number.data(), number.data() + number.size(), a);
        if (s == surah && a == ayah + 1) {
            ayah = a;
        } else if (s == surah + 1 && a == 1) {
            surah = s;
            ayah = 1;
        } else {
            throw DataError(where + ": verse " + std::to_string(s) + ":" + std::to_string(a) + " out of order");
        }
        const std::string_view text = line.substr(4, blank - 4);
        if (text.empty() || text.front() == ' ' || text.back() == ' ' || text.find("  ") != std::string_view::npos)
            throw DataError(where + ": words are not separated by single blanks");
        std::u32string voc;
        for (char c : vocalised[i]) voc.push_back(arabic_page().decode(static_cast<unsigned char>(c)));
        const std::string expected = arabic_page().encode(search_form(voc));
        if (text != expected) throw DataError(where + ": does not match the vocalised line of the same verse");
    }
    if (surah != quran::kSurahCount || ayah != 6) throw DataError("QuranV.Qur does not end with verse 114:6");
}

}  // namespace quran_data
