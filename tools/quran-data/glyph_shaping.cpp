#include "tools/quran-data/glyph_shaping.h"

#include "tools/quran-data/codepage.h"
#include "tools/quran-data/error.h"

#include <algorithm>

#include <hb-ot.h>
#include <hb.h>

namespace quran_data {

namespace {

struct BlobDeleter {
    void operator()(hb_blob_t* b) const { hb_blob_destroy(b); }
};
struct FaceDeleter {
    void operator()(hb_face_t* f) const { hb_face_destroy(f); }
};
struct BufferDeleter {
    void operator()(hb_buffer_t* b) const { hb_buffer_destroy(b); }
};

// Arabic-Indic digits, the Arabic number signs and the end-of-verse sign.
bool is_arabic_number(char32_t c) {
    return (c >= U'\u0660' && c <= U'\u0669') || (c >= U'\u0600' && c <= U'\u0605') || c == U'\u066B' ||
           c == U'\u066C' || c == U'\u06DD' || c == U'\u08E2';
}

}  // namespace

void Shaper::FontDeleter::operator()(hb_font_t* font) const { hb_font_destroy(font); }

Shaper::Shaper(const std::filesystem::path& font_file) {
    const std::unique_ptr<hb_blob_t, BlobDeleter> blob(hb_blob_create_from_file_or_fail(font_file.c_str()));
    if (!blob) throw DataError("cannot read the font " + font_file.string());
    const std::unique_ptr<hb_face_t, FaceDeleter> face(hb_face_create(blob.get(), 0));
    if (hb_face_get_glyph_count(face.get()) == 0) throw DataError(font_file.string() + " holds no glyphs");
    font_.reset(hb_font_create(face.get()));
    units_per_em_ = static_cast<int>(hb_face_get_upem(face.get()));
    // Positions in font units
    hb_font_set_scale(font_.get(), units_per_em_, units_per_em_);
}

Shaper::~Shaper() = default;
Shaper::Shaper(Shaper&&) noexcept = default;
Shaper& Shaper::operator=(Shaper&&) noexcept = default;

std::vector<ShapedGlyph> Shaper::shape(std::u32string_view word) const {
    const std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(word.data()),
                        static_cast<int>(word.size()), 0, static_cast<int>(word.size()));
    const bool number = !word.empty() && std::all_of(word.begin(), word.end(), is_arabic_number);
    hb_buffer_set_direction(buffer.get(), number ? HB_DIRECTION_LTR : HB_DIRECTION_RTL);
    hb_buffer_set_script(buffer.get(), HB_SCRIPT_ARABIC);
    hb_buffer_set_language(buffer.get(), hb_language_from_string("ar", -1));
    hb_shape(font_.get(), buffer.get(), nullptr, 0);

    unsigned n = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &n);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &n);
    std::vector<ShapedGlyph> out;
    out.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        if (info[i].codepoint == 0)
            throw DataError("the glyph font has no glyph for " + code_point_name(word[info[i].cluster]));
        out.push_back({info[i].codepoint, pos[i].x_advance, pos[i].x_offset, pos[i].y_offset});
    }
    return out;
}

std::string Shaper::glyph_name(std::uint32_t glyph) const {
    char name[64] = {};
    if (!hb_font_get_glyph_name(font_.get(), glyph, name, sizeof name)) return "glyph" + std::to_string(glyph);
    return name;
}

bool Shaper::is_mark(std::uint32_t glyph) const {
    return hb_ot_layout_get_glyph_class(hb_font_get_face(font_.get()), glyph) == HB_OT_LAYOUT_GLYPH_CLASS_MARK;
}

}  // namespace quran_data
