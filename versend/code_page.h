#pragma once
// Conversion between the Windows Arabic code page (1256) of the verse and settings files and
// the program's Unicode text. Every byte of the code page maps to one UTF-16 code unit, so a
// byte-wise comparison of encoded text is a code-unit comparison of the decoded text.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace versend {

QString decodeArabicCodePage(std::string_view bytes);

// The encoded bytes, or nothing when a character has no place in the code page.
std::optional<std::string> encodeArabicCodePage(const QString& text);

// As above, but a character outside the code page becomes "?".
std::string encodeArabicCodePageLossy(const QString& text);

}  // namespace versend
