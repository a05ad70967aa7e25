// The settings file under libFuzzer: any bytes as the text of Versend.ini, decoded from the
// code page, split into its fields and every field converted the way the settings are applied.
// Saving what was read must give the same fields back.
#include "versend/code_page.h"
#include "versend/settings_file.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QString text = versend::decodeArabicCodePage(bytes);
    check(versend::encodeArabicCodePageLossy(text) == bytes);  // every byte survives

    const QStringList fields = versend::splitSettingsFields(text);
    for (const QString& field : fields) {
        check(!field.contains(u'*'));
        if (const auto number = versend::parseSinglePrecision(field)) {
            check(std::isfinite(*number));
            // A number written back reads as the same number.
            const auto again = versend::parseSinglePrecision(versend::formatSinglePrecision(*number));
            check(again && *again == *number);
        }
        if (const auto value = versend::parseInteger16(field)) check(*value >= -32768 && *value <= 32767);
    }
    // Saving the fields and reading them again gives them back.
    check(versend::splitSettingsFields(versend::joinSettingsFields(fields)) == fields);
    return 0;
}
