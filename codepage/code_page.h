#pragma once
// Decoding bytes in a Windows code page (Arabic 1256 for the verse files, the code page of a
// locale for the add-in's data, the charset of a Rich Text font): one decoder per platform, chosen
// by the build (iconv on Linux, the Win32 code-page API on Windows).

#include <optional>
#include <string>
#include <string_view>

namespace codepage {

// The UTF-16 text of `bytes` in Windows code page `codePage`. A byte that the code page does not
// define, and a lead byte whose sequence is invalid or cut off, each become one U+FFFD; decoding
// goes on after it. Nothing when the platform does not know the code page.
std::optional<std::u16string> decode(std::string_view bytes, int codePage);

}  // namespace codepage
