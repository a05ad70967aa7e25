// Code pages through the Win32 code-page API.
#include "codepage/code_page.h"

#include <windows.h>

namespace codepage {
namespace {

// Windows gives the bytes that a single-byte code page leaves undefined a character anyway: a C1
// control (0x81 in 1252 is U+0081) or a private-use one. No such code page defines either.
bool undefinedInSingleByte(char16_t c) { return (c >= 0x80 && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF); }

// The whole input at once; false when a byte or sequence is not defined in the code page.
bool decodeStrict(std::string_view bytes, UINT codePage, bool singleByte, std::u16string& out) {
    if (bytes.empty()) return true;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(size));
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                            reinterpret_cast<wchar_t*>(out.data() + start), size) != size) {
        out.resize(start);
        return false;
    }
    if (singleByte) {
        for (std::size_t i = start; i < out.size(); ++i) {
            if (undefinedInSingleByte(out[i]) && static_cast<unsigned char>(bytes[i - start]) >= 0x80) {
                out.resize(start);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::optional<std::u16string> decode(std::string_view bytes, int codePage) {
    const auto page = static_cast<UINT>(codePage);
    CPINFO info{};
    if (codePage < 0 || !GetCPInfo(page, &info)) return std::nullopt;
    // A single-byte code page gives one character per byte (UTF-8 and UTF-7 are not one).
    const bool singleByte = info.MaxCharSize == 1;
    std::u16string out;
    out.reserve(bytes.size());
    if (decodeStrict(bytes, page, singleByte, out)) return out;
    // Something in it is undefined: character by character (a lead byte with its trail byte), so
    // that each undefined byte or broken sequence becomes one replacement.
    out.clear();
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<BYTE>(bytes[i]);
        std::size_t length = 1;
        if (info.MaxCharSize > 1 && IsDBCSLeadByteEx(page, byte)) length = 2;
        if (page == CP_UTF8) {
            length = byte < 0x80             ? 1
                     : (byte & 0xE0) == 0xC0 ? 2
                     : (byte & 0xF0) == 0xE0 ? 3
                     : (byte & 0xF8) == 0xF0 ? 4
                                             : 1;
        }
        if (i + length > bytes.size() || !decodeStrict(bytes.substr(i, length), page, singleByte, out)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += length;
    }
    return out;
}

}  // namespace codepage
