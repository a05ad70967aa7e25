#include "versend/settings_file.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace versend {

QStringList splitSettingsFields(const QString& text) {
    QStringList fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'*') {
            fields.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

QString joinSettingsFields(const QStringList& fields) {
    QString text;
    for (const QString& field : fields) text += field + u'*';
    return text + QStringLiteral("\r\n");
}

std::optional<float> parseSinglePrecision(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    const std::string bytes = trimmed.toStdString();
    double value = 0;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
    if (error != std::errc{} || end != bytes.data() + bytes.size()) {
        bool ok = false;
        value = QLocale::system().toDouble(trimmed, &ok);
        if (!ok) return std::nullopt;
    }
    if (!std::isfinite(value) || std::fabs(value) > 3.4028234663852886e38) return std::nullopt;
    return static_cast<float>(value);
}

std::optional<int> parseInteger16(const QString& text) {
    const auto number = parseSinglePrecision(text);
    if (!number) return std::nullopt;
    const double rounded = std::nearbyint(static_cast<double>(*number));  // half to even
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<int>(rounded);
}

QString formatSinglePrecision(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace versend
