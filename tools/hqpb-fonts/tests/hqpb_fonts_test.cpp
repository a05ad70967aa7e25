// The glyph fonts as built: loading in FreeType and HarfBuzz, names and licence, a glyph for every
// code of the data, and the round trip: the composer's SYMBOL fields of a verse, read back as a
// paste reads them and drawn glyph by glyph in the HQPB fonts, place the same source glyphs where
// HarfBuzz places them when it shapes the verse in the source font.
#include "codepage/code_page.h"
#include "quran/quran_text.h"
#include "tarvelo/composer_fragments.h"
#include "tarvelo/data/data_files.h"
#include "tools/quran-data/arabic_files.h"
#include "tools/quran-data/glyph_shaping.h"
#include "tools/quran-data/glyph_slots.h"
#include "tools/quran-data/source.h"
#include "tools/quran-data/text.h"
#include "word/rtf/rich_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SFNT_NAMES_H
#include <hb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path fontDir = HQPB_FONT_DIR;

struct LibraryDeleter {
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
struct FaceDeleter {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using Face = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

FT_Library library() {
    static const std::unique_ptr<FT_LibraryRec_, LibraryDeleter> lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) throw std::runtime_error("FreeType does not start");
        return std::unique_ptr<FT_LibraryRec_, LibraryDeleter>(l);
    }();
    return lib.get();
}

Face openFace(const fs::path& file) {
    FT_Face f = nullptr;
    if (FT_New_Face(library(), file.c_str(), 0, &f) != 0) return nullptr;
    return Face(f);
}

std::string sfntName(FT_Face face, FT_UShort nameId) {
    const FT_UInt n = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < n; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId || name.platform_id != 3) continue;
        std::string ascii;  // UTF-16BE; the names we look at are ASCII
        for (FT_UInt k = 1; k < name.string_len; k += 2) ascii += static_cast<char>(name.string[k]);
        return ascii;
    }
    return {};
}

std::string glyphName(FT_Face face, FT_UInt glyph) {
    std::array<char, 64> name{};
    if (FT_Get_Glyph_Name(face, glyph, name.data(), name.size()) != 0) return {};
    return name.data();
}

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The fonts, 1..5 (index 0 unused)
struct Fonts {
    std::array<Face, 6> face;
};

const Fonts& fonts() {
    static const Fonts f = [] {
        Fonts all;
        for (int n = 1; n <= 5; ++n) {
            all.face[n] = openFace(fontDir / ("HQPB" + std::to_string(n) + ".ttf"));
            if (all.face[n]) FT_Select_Charmap(all.face[n].get(), FT_ENCODING_MS_SYMBOL);
        }
        return all;
    }();
    return f;
}

class DataFiles : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace mTarvelo;
        ShowMessage = [this](std::u16string_view text) { messages.push_back(ToUtf8(text)); };
        DataFolderOverride = QV_DATA_DIR;
        CloseDataFiles();
        loade();
        ASSERT_TRUE(messages.empty()) << messages.front();
    }
    void TearDown() override {
        mTarvelo::CloseDataFiles();
        mTarvelo::ShowMessage = nullptr;
        mTarvelo::DataFolderOverride.reset();
    }
    static std::int32_t globalIndex(int surah, int ayah) { return mTarvelo::SurahVerseOffset[surah] + ayah; }
    std::vector<std::string> messages;
};

TEST(GlyphFonts, LoadWithTheirNamesTheLicenceAndASymbolMap) {
    for (int n = 1; n <= 5; ++n) {
        const std::string family = "HQPB" + std::to_string(n);
        FT_Face face = fonts().face[n].get();
        ASSERT_NE(face, nullptr) << family;
        EXPECT_EQ(std::string(face->family_name), family);
        EXPECT_EQ(face->units_per_EM, 1000);
        EXPECT_EQ(face->charmap ? face->charmap->encoding : FT_ENCODING_NONE, FT_ENCODING_MS_SYMBOL) << family;
        for (FT_UShort id : {1, 4, 6, 16})
            EXPECT_EQ(sfntName(face, id).find("Amiri"), std::string::npos) << family << " name " << id;
        EXPECT_NE(sfntName(face, 0).find("The Amiri Project Authors"), std::string::npos) << family;
        EXPECT_NE(sfntName(face, 13).find("SIL Open Font License, Version 1.1"), std::string::npos) << family;

        // HarfBuzz reads it and finds the symbol codes the way an office does.
        hb_blob_t* blob = hb_blob_create_from_file((fontDir / (family + ".ttf")).c_str());
        hb_face_t* hbFace = hb_face_create(blob, 0);
        hb_font_t* hbFont = hb_font_create(hbFace);
        EXPECT_EQ(hb_face_get_glyph_count(hbFace), static_cast<unsigned>(face->num_glyphs));
        hb_codepoint_t glyph = 0;
        EXPECT_TRUE(hb_font_get_nominal_glyph(hbFont, 0xF021, &glyph)) << family;
        EXPECT_EQ(glyph, FT_Get_Char_Index(face, 0xF021));
        hb_font_destroy(hbFont);
        hb_face_destroy(hbFace);
        hb_blob_destroy(blob);
    }
    const std::string licence = readAll(fontDir / "OFL.txt");
    EXPECT_NE(licence.find("SIL OPEN FONT LICENSE Version 1.1"), std::string::npos);
    EXPECT_NE(licence.find("Copyright 2010-2020 The Amiri Project Authors"), std::string::npos);
}

TEST_F(DataFiles, EveryPairOfTheGlyphFormHasAGlyphInItsFont) {
    std::array<std::set<unsigned char>, 6> used;
    for (std::int32_t k = 1; k <= quran::kVerseCount; ++k) {
        std::u16string verse = mTarvelo::ReadVerseText(k, mTarvelo::slotArabic);
        ASSERT_FALSE(verse.empty()) << k;
        verse.pop_back();  // the sentinel the composer drops
        for (std::size_t at = 0; at < verse.size();) {
            const std::size_t blank = std::min(verse.find(u' ', at), verse.size());
            ASSERT_EQ((blank - at) % 2, 0u) << "verse " << k;
            for (std::size_t j = at; j < blank; j += 2) {
                ASSERT_TRUE(verse[j] >= u'1' && verse[j] <= u'5') << "verse " << k;
                used[verse[j] - u'0'].insert(static_cast<unsigned char>(verse[j + 1]));
            }
            at = blank + 1;
        }
    }
    std::size_t total = 0;
    for (int n = 1; n <= 5; ++n) {
        FT_Face face = fonts().face[n].get();
        ASSERT_NE(face, nullptr);
        for (unsigned char code : used[n])
            EXPECT_NE(FT_Get_Char_Index(face, 0xF000 + code), 0u) << "HQPB" << n << " code " << int(code);
        // the font holds what the data uses and nothing more (.notdef and the blank besides)
        EXPECT_EQ(static_cast<std::size_t>(face->num_glyphs), used[n].size() + 2) << "HQPB" << n;
        total += used[n].size();
    }
    std::printf("glyph slots used: %zu (%zu, %zu, %zu, %zu, %zu)\n", total, used[1].size(), used[2].size(),
                used[3].size(), used[4].size(), used[5].size());
}

// A drawn glyph: the source glyph it draws and the control box of its outline where it lands.
struct Placed {
    std::string name;
    FT_BBox box;
};

FT_BBox placedBox(FT_Face face, FT_UInt glyph, FT_Pos x, FT_Pos y) {
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) != 0) throw std::runtime_error("glyph does not load");
    FT_BBox box;
    FT_Outline_Get_CBox(&face->glyph->outline, &box);
    if (face->glyph->outline.n_points == 0) box = {0, 0, 0, 0};
    return {box.xMin + x, box.yMin + y, box.xMax + x, box.yMax + y};
}

// The composer's glyph fields of one verse, as a paste reads them: one list of (font, character)
// per word, in the order the fields are laid out.
std::vector<std::vector<word::rtf::PastePiece>> composedWords(const std::u16string& verseText) {
    std::u16string verse = verseText;
    verse.pop_back();  // the composer never draws the verse's last character
    std::string fragment = codepage::textToBytes(mTarvelo::RtfHeader);
    mTarvelo::GlyphFieldWriter writer("14", "28");
    writer.AppendVerse(fragment, codepage::textToBytes(verse));
    fragment += mTarvelo::ClosingGroup;
    std::vector<std::vector<word::rtf::PastePiece>> words(1);
    for (auto& piece : word::rtf::readRichText(fragment).pieces) {
        if (piece.kind == word::rtf::PastePiece::Kind::Glyph) words.back().push_back(piece);
        else if (!words.back().empty()) words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

std::vector<Placed> drawHqpb(const std::vector<word::rtf::PastePiece>& fields) {
    std::vector<Placed> out;
    FT_Pos pen = 0;
    for (const auto& f : fields) {
        if (!f.font || f.font->size() != 5 || f.font->substr(0, 4) != u"HQPB" || f.text.size() != 1)
            throw std::runtime_error("a glyph field outside the HQPB fonts");
        FT_Face face = fonts().face[(*f.font)[4] - u'0'].get();
        const FT_UInt glyph = FT_Get_Char_Index(face, f.text[0]);
        if (glyph == 0) throw std::runtime_error("a code without a glyph");
        const FT_BBox box = placedBox(face, glyph, pen, 0);
        std::string name = glyphName(face, glyph);
        name = name.substr(name.find('.') + 1);  // "c042.uni0628.init" draws "uni0628.init"
        out.push_back({name, box});
        pen += face->glyph->metrics.horiAdvance;
    }
    return out;
}

std::vector<Placed> shapeSource(FT_Face source, const quran_data::Shaper& shaper, std::u32string_view word) {
    std::vector<Placed> out;
    FT_Pos pen = 0;
    for (const auto& g : shaper.shape(quran_data::with_open_tanween(word))) {
        out.push_back({glyphName(source, g.glyph), placedBox(source, g.glyph, pen + g.dx, g.dy)});
        pen += g.advance;
    }
    return out;
}

TEST_F(DataFiles, ComposedFieldsDrawTheVersesAsHarfBuzzShapesThem) {
    const quran_data::Source source = quran_data::load_arabic(QURAN_JSON_DIST);
    const quran_data::Shaper shaper(HQPB_SOURCE_FONT);
    const Face sourceFace = openFace(HQPB_SOURCE_FONT);
    ASSERT_NE(sourceFace, nullptr);
    const std::pair<int, int> samples[] = {{1, 1},   {2, 255}, {2, 282}, {112, 1},
                                           {112, 2}, {112, 3}, {112, 4}, {114, 6}};
    FT_Pos worst = 0;
    std::size_t glyphs = 0;
    for (const auto& [surah, ayah] : samples) {
        const auto& v = *std::find_if(source.verses.begin(), source.verses.end(),
                                      [&](const auto& x) { return x.surah == surah && x.ayah == ayah; });
        auto expectedWords = quran_data::split_words(quran_data::mushaf_text(v));
        expectedWords.push_back(quran_data::verse_end_text(ayah));
        const auto composed = composedWords(mTarvelo::ReadVerseText(globalIndex(surah, ayah), mTarvelo::slotArabic));
        ASSERT_EQ(composed.size(), expectedWords.size()) << surah << ":" << ayah;
        for (std::size_t w = 0; w < composed.size(); ++w) {
            const auto drawn = drawHqpb(composed[w]);
            const auto shaped = shapeSource(sourceFace.get(), shaper, expectedWords[w]);
            ASSERT_EQ(drawn.size(), shaped.size()) << surah << ":" << ayah << " word " << w + 1;
            for (std::size_t g = 0; g < drawn.size(); ++g) {
                const std::string where = std::to_string(surah) + ":" + std::to_string(ayah) + " word " +
                                          std::to_string(w + 1) + " glyph " + std::to_string(g + 1);
                EXPECT_EQ(drawn[g].name, shaped[g].name) << where;
                const FT_BBox& a = drawn[g].box;
                const FT_BBox& b = shaped[g].box;
                const FT_Pos off = std::max({std::abs(a.xMin - b.xMin), std::abs(a.yMin - b.yMin),
                                             std::abs(a.xMax - b.xMax), std::abs(a.yMax - b.yMax)});
                // Marks sit on the slots' grid; every other glyph exactly where HarfBuzz put it.
                EXPECT_LE(off, quran_data::kOffsetGrid / 2) << where;
                worst = std::max(worst, off);
                ++glyphs;
            }
        }
    }
    std::printf("round trip: %zu glyphs, largest distance from HarfBuzz's place %ld font units\n", glyphs,
                static_cast<long>(worst));
}

}  // namespace
