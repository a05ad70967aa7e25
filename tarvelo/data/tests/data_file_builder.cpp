#include "tarvelo/data/tests/data_file_builder.h"

#include <fstream>
#include <stdexcept>

namespace datafiles {

std::string BigEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string LittleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

namespace {
Indexed MakeIndex(const std::vector<std::string>& items, bool big) {
    Indexed result;
    std::uint32_t position = 1;
    auto put = [&](std::uint32_t p) { result.index += big ? BigEndian(p, 3) : LittleEndian(p, 4); };
    for (const auto& item : items) {
        put(position);
        result.block += item;
        position += static_cast<std::uint32_t>(item.size());
    }
    put(position);
    return result;
}

std::vector<std::string> IdItems(const std::vector<WordIds>& lists) {
    std::vector<std::string> items;
    for (const auto& ids : lists) items.push_back(Ids(ids));
    return items;
}
}  // namespace

Indexed Index3(const std::vector<std::string>& items) { return MakeIndex(items, true); }
Indexed Index4(const std::vector<std::string>& items) { return MakeIndex(items, false); }

std::string Ids(const WordIds& ids) {
    std::string out;
    for (auto id : ids) out += BigEndian(id, 2);
    return out;
}

std::string Assemble(const std::vector<std::pair<std::string, std::string>>& entries, const std::string& trailer) {
    std::size_t directorySize = 2;
    for (const auto& [name, block] : entries) directorySize += 7 + name.size();
    std::string directory = LittleEndian(static_cast<std::uint32_t>(entries.size()), 2);
    std::string blocks;
    for (const auto& [name, block] : entries) {
        directory += static_cast<char>(6 + name.size());
        directory += BigEndian(static_cast<std::uint32_t>(directorySize + blocks.size()), 3);
        directory += BigEndian(static_cast<std::uint32_t>(block.size()), 3);
        directory += name;
        blocks += block;
    }
    return directory + blocks + trailer;
}

std::string ArabicFile(const Words& words, const std::vector<WordIds>& verses, const std::vector<Surah>& surahs,
                       const std::string& rtfHeader) {
    const Indexed w = Index3(words);
    const Indexed v = Index3(IdItems(verses));
    std::string offsets, table;
    std::uint32_t before = 0;
    for (std::size_t s = 0; s < 114; ++s) {
        const Surah surah = s < surahs.size() ? surahs[s] : Surah{};
        offsets += BigEndian(before, 2);
        std::string name = surah.name;
        name.resize(30, ' ');
        table += name + LittleEndian(surah.verses, 2) + LittleEndian(0, 2);
        before += surah.verses;
    }
    return Assemble({{"Words", w.block},
                     {"WordIndex", w.index},
                     {"Verses", v.block},
                     {"VerseIndex", v.index},
                     {"SurahOffsets", offsets},
                     {"Surahs", table},
                     {"RtfHeader", rtfHeader}});
}

std::string TranslationFile(const Words& words, const std::vector<WordIds>& verses, const std::vector<WordIds>& notes,
                            const std::string& trailer) {
    const Indexed w = Index3(words);
    const Indexed v = Index3(IdItems(verses));
    const Indexed n = Index3(IdItems(notes));
    return Assemble({{"Words", w.block},
                     {"WordIndex", w.index},
                     {"Verses", v.block},
                     {"VerseIndex", v.index},
                     {"Notes", n.block},
                     {"NoteIndex", n.index}},
                    trailer);
}

std::string UnicodeFile(const Words& words, const std::vector<WordIds>& verses) {
    const Indexed w = Index4(words);
    const Indexed v = Index4(IdItems(verses));
    return Assemble({{"Words", w.block}, {"WordIndex", w.index}, {"Verses", v.block}, {"VerseIndex", v.index}});
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteSampleSet(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    // Glyph words: pairs of a font key and a code byte; each verse's last word has one extra byte.
    WriteFile(folder / "Arabic.dabrel", ArabicFile({"1A2B", "6C", "3D4E5F", "1Gx", "6Hx", "2Ix"},
                                                   {{1, 4}, {2, 3, 5}, {6}, {1, 2, 4}, {3, 5}, {2, 6}},
                                                   {{"Al-Fatihah", 2}, {"Al-Baqarah", 1}, {"Ali 'Imran", 3}},
                                                   "{\\rtf1\\ansi{\\fonttbl{\\f31 Amiri;}}"));
    // Unicode words: low bytes of U+06xx letters.
    WriteFile(folder / "UnicodeArabic.dbu", UnicodeFile({"\x28\x33\x45", "\x27\x44\x44\x47", "\x31", "\x28"},
                                                        {{1, 2}, {3}, {4}, {1, 2, 3}, {2}, {4, 4}}));
    WriteFile(folder / "English.dabrel",
              TranslationFile({"in", "the", "name", "of", "god", "[1]", "praise", "\xe9t\xe9"},
                              {{1, 2, 3, 4, 5, 6}, {7, 8}, {5}, {2, 5}, {7}, {4, 5}}, {{2, 3, 4, 5}}, "L1033UNC"));
}

}  // namespace datafiles
