#include "tools/quran-data/codepage.h"

#include "tools/quran-data/error.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quran_data {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

}  // namespace

CodePage::CodePage(int number) : number_(number) {
    const std::string name = "CP" + std::to_string(number);
    iconv_t raw = iconv_open("UTF-32LE", name.c_str());
    if (raw == reinterpret_cast<iconv_t>(-1))
        throw DataError("code page " + std::to_string(number) + " is not available from iconv");
    const std::unique_ptr<void, IconvCloser> cd(raw);
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inp = &in;
        char* outp = reinterpret_cast<char*>(out);
        std::size_t inleft = 1;
        std::size_t outleft = sizeof out;
        iconv(raw, nullptr, nullptr, nullptr, nullptr);
        const std::size_t r = iconv(raw, &inp, &inleft, &outp, &outleft);
        if (r == static_cast<std::size_t>(-1) || outleft != sizeof out - 4) {
            to_unicode_[b] = U'\uFFFD';
            continue;
        }
        const char32_t c = char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
        to_unicode_[b] = c;
        to_byte_.emplace(c, static_cast<unsigned char>(b));
    }
}

std::optional<unsigned char> CodePage::encode(char32_t c) const {
    const auto it = to_byte_.find(c);
    if (it == to_byte_.end()) return std::nullopt;
    return it->second;
}

std::string CodePage::encode(std::u32string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = encode(text[i]);
        if (!b)
            throw DataError("code page " + std::to_string(number_) + " cannot hold " + code_point_name(text[i]) +
                            " (character " + std::to_string(i + 1) + ")");
        out.push_back(static_cast<char>(*b));
    }
    return out;
}

std::string code_point_name(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

}  // namespace quran_data
