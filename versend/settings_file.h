#pragma once
// The text of the settings file: eight fields, each followed by "*", then CR LF.

#include <QString>
#include <QStringList>

#include <optional>

namespace versend {

// Each field is the text between one "*" and the next (the first from the start of the text);
// whatever follows the last "*" (the line end) is not a field.
QStringList splitSettingsFields(const QString& text);

// The fields, each followed by "*", then CR LF.
QString joinSettingsFields(const QStringList& fields);

// Text to a single-precision number: decimal digits with "." or the locale's separator and
// blanks around; nothing for text that is not a finite number.
std::optional<float> parseSinglePrecision(const QString& text);

// Text to a 16-bit integer, rounding a fraction half to even; nothing outside -32768..32767
// or for text that is not a number.
std::optional<int> parseInteger16(const QString& text);

// A single-precision number as plain decimal text, "1560" for a whole number.
QString formatSinglePrecision(float value);

}  // namespace versend
