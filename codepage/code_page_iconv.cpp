// Code pages through iconv (glibc names Windows code page N "CPN").
#include "codepage/code_page.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>

namespace codepage {
namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Decoder = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

std::string iconvName(int codePage) {
    switch (codePage) {
        case 10000: return "MACINTOSH";
        case 20127: return "ASCII";
        case 28591: return "ISO-8859-1";
        case 65001: return "UTF-8";
        default: return "CP" + std::to_string(codePage);
    }
}

// Opened once per code page and thread: opening costs more than a short conversion.
iconv_t decoderFor(int codePage) {
    thread_local std::map<int, Decoder> decoders;
    auto found = decoders.find(codePage);
    if (found == decoders.end()) {
        iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).c_str());
        found = decoders.emplace(codePage, Decoder(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd)).first;
    }
    return found->second.get();
}

}  // namespace

std::optional<std::u16string> decode(std::string_view bytes, int codePage) {
    iconv_t decoder = decoderFor(codePage);
    if (decoder == nullptr) return std::nullopt;
    std::u16string out;
    out.reserve(bytes.size());
    iconv(decoder, nullptr, nullptr, nullptr, nullptr);
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::array<char, 4096> buffer{};
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(decoder, &in, &inLeft, &outPtr, &outLeft);
        const std::size_t produced = buffer.size() - outLeft;
        for (std::size_t i = 0; i + 1 < produced; i += 2)
            out += static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                         (static_cast<unsigned char>(buffer[i + 1]) << 8));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An undefined byte, or an invalid or cut-off sequence: one replacement for its first byte.
            out += u'\uFFFD';
            ++in;
            --inLeft;
            iconv(decoder, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace codepage
