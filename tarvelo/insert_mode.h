// What a chooser command or a typed tag inserts (InsertMode's values), and the one place that
// turns a mode into calls of the composers.
#pragma once

#include <cstdint>
#include <functional>

namespace mTarvelo {

// InsertMode's values; 0 until a command or a tag first sets one.
enum InsertModes : std::int16_t {
    NoInsertMode = 0,
    ArabicAndTranslation = 1,
    ArabicOnly = 2,
    TranslationOnly = 3,
};

// The composers as one insertion calls them, for verses `from` to `to` of the chosen surah.
struct VerseInserters {
    std::function<void(std::int16_t from, std::int16_t to)> arabic;
    std::function<void(std::int16_t from, std::int16_t to)> translation;
};

// Inserts verses `from` to `to` as `mode` says. Arabic and translation go as two blocks, or with
// `alternate` verse by verse (each verse's Arabic, then its translation), until `stop` (when
// given) says so after a verse. Any other mode inserts nothing.
inline void InsertVerses(std::int16_t mode, std::int16_t from, std::int16_t to, bool alternate,
                         const VerseInserters& insert, const std::function<bool()>& stop = {}) {
    switch (mode) {
        case ArabicAndTranslation:
            if (!alternate) {
                insert.arabic(from, to);
                insert.translation(from, to);
                return;
            }
            for (int verse = from; verse <= to; ++verse) {
                insert.arabic(static_cast<std::int16_t>(verse), static_cast<std::int16_t>(verse));
                insert.translation(static_cast<std::int16_t>(verse), static_cast<std::int16_t>(verse));
                if (stop && stop()) return;
            }
            return;
        case ArabicOnly: insert.arabic(from, to); return;
        case TranslationOnly: insert.translation(from, to); return;
        default: return;
    }
}

}  // namespace mTarvelo
