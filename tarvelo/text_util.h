// Text helpers shared by the composer and the dialog: number conversions with the rules the
// add-in's messages and fragments rely on, trimming, and code-page decoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tarvelo/data/data_files.h"

namespace mTarvelo {

// The leading number of a text, 0 when it does not start with one (blanks before it skipped).
double Val(std::u16string_view text);
// Val as a whole number (the fraction cut off), held to the 32-bit range: what a typed number
// becomes where a count or a position is meant.
std::int32_t WholeVal(std::u16string_view text);

// A whole text read as a number by the rules of a locale whose decimal separator is `decimal`
// and whose digit-group separator is `group` (group separators are ignored, surrounding blanks
// allowed). nullopt when the text is not a number, an empty text included.
std::optional<double> ParseLocaleNumber(std::u16string_view text, char16_t decimal, char16_t group);

// A number as its shortest decimal text with a point: 24, 21, 20.5.
std::string FormatNumber(double value);

std::u16string TrimBlanks(std::u16string_view text);
std::u16string TrimLeadingBlanks(std::u16string_view text);

std::u16string AsciiToUtf16(std::string_view text);

// UTF-8 (FromUtf8, ToUtf8), the code page of a locale (CodePageForLcid) and the decoding of
// code-page text (DecodeLowBytes) come from the data module, so that messages, settings and
// translations use one conversion.

}  // namespace mTarvelo
