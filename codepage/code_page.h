#pragma once
// Decoding bytes in a Windows code page (Arabic 1256 for the verse files, the code page of a
// locale for the add-in's data, the charset of a Rich Text font): one decoder per platform, chosen
// by the build (iconv on Linux, the Win32 code-page API on Windows); and single-byte text.

#include <optional>
#include <string>
#include <string_view>

namespace codepage {

// The UTF-16 text of `bytes` in Windows code page `codePage`. A byte that the code page does not
// define, and a lead byte whose sequence is invalid or cut off, each become one U+FFFD; decoding
// goes on after it. Nothing when the platform does not know the code page.
std::optional<std::u16string> decode(std::string_view bytes, int codePage);

// Single-byte text as the add-in's data files and clipboard formats carry it: byte b is character
// U+00bb. Back to bytes, a character above U+00FF becomes "?".
inline std::u16string bytesToText(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char b : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(b));
    return text;
}
inline std::string textToBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
    return bytes;
}

}  // namespace codepage
