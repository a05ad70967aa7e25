#include "versend/surah_names.h"

#include <array>

#include "quran/quran_text.h"

namespace versend {
namespace {
// Entry 0 is the prompt of the surah chooser; entry n is the name of surah n.
constexpr std::array<std::u16string_view, 115> kChooserNames{
    u"اختر اسم السورة",
    u"الفاتحة",    // 1
    u"البقرة",     // 2
    u"آل عمران",   // 3
    u"النّساء",     // 4
    u"المائدة",    // 5
    u"الأنعام",    // 6
    u"الأعراف",    // 7
    u"الأنفال",    // 8
    u"التوبة",     // 9
    u"يونس",       // 10
    u"هود",        // 11
    u"يوسف",       // 12
    u"الرعد",      // 13
    u"إبراهيم",    // 14
    u"الحجر",      // 15
    u"النّحل",      // 16
    u"الإسراء",    // 17
    u"الكهف",      // 18
    u"مريم",       // 19
    u"طه",         // 20
    u"الأنبياء",   // 21
    u"الحج",       // 22
    u"المؤمنون",   // 23
    u"النّور",      // 24
    u"الفرقان",    // 25
    u"الشعراء",    // 26
    u"النمل",      // 27
    u"القصص",      // 28
    u"العنكبوت",   // 29
    u"الرُّوم",      // 30
    u"لقمان",      // 31
    u"السجدة",     // 32
    u"الأحزاب",    // 33
    u"سبأ",        // 34
    u"فاطر",       // 35
    u"يس",         // 36
    u"الصَّفات",     // 37
    u"ص",          // 38
    u"الزُّمر",      // 39
    u"غافر",       // 40
    u"فصِّلت",       // 41
    u"الشُّورى",     // 42
    u"الزُّخرف",     // 43
    u"الدُخان",     // 44
    u"الجاثية",    // 45
    u"الأحقاف",    // 46
    u"محمد",       // 47
    u"الفتح",      // 48
    u"الحجرات",    // 49
    u"ق",          // 50
    u"الذِّاريات",   // 51
    u"الطُّور",      // 52
    u"النَّجم",      // 53
    u"القمر",      // 54
    u"الرَّحمن",     // 55
    u"الواقعة",    // 56
    u"الحديد",     // 57
    u"المجادلة",   // 58
    u"الحشر",      // 59
    u"الممتحنة",   // 60
    u"الصَّف",       // 61
    u"الجمعة",     // 62
    u"المنافقون",  // 63
    u"التغابن",    // 64
    u"الطَّلاق",     // 65
    u"التَّحريم",    // 66
    u"الملك",      // 67
    u"القلم",      // 68
    u"الحاقَّة",     // 69
    u"المعارج",    // 70
    u"نوح",        // 71
    u"الجنّ",       // 72
    u"المزمل",     // 73
    u"المدَّثر",     // 74
    u"القيامة",    // 75
    u"الإنسان",    // 76
    u"المرسلات",   // 77
    u"النَّبأ",      // 78
    u"النَّازعات",   // 79
    u"عبس",        // 80
    u"التَّكوير",    // 81
    u"الانفطار",   // 82
    u"المطَّففين",   // 83
    u"الانشقاق",   // 84
    u"البروج",     // 85
    u"الطًّارق",     // 86
    u"الأعلى",     // 87
    u"الغاشية",    // 88
    u"الفجر",      // 89
    u"البلد",      // 90
    u"الشّمس",      // 91
    u"الليل",      // 92
    u"الضُّحى",      // 93
    u"الشّرح",      // 94
    u"التِّين",      // 95
    u"العلق",      // 96
    u"القدر",      // 97
    u"البيِّنة",     // 98
    u"الزَّلزلة",    // 99
    u"العاديات",   // 100
    u"القارعة",    // 101
    u"التَّكاثر",    // 102
    u"العصر",      // 103
    u"الهمزة",     // 104
    u"الفيل",      // 105
    u"قريش",       // 106
    u"الماعون",    // 107
    u"الكوثر",     // 108
    u"الكافرون",   // 109
    u"النَّصر",      // 110
    u"المسد",      // 111
    u"الاخلاص",    // 112
    u"الفلق",      // 113
    u"النّاس",      // 114
};

// Citation names that differ from the chooser: written without the shadda (and, for 51, the kasra).
struct CitationOverride {
    int surah;
    std::u16string_view name;
};
constexpr std::array<CitationOverride, 7> kCitationOverrides{{
    {4, u"النساء"},
    {16, u"النحل"},
    {24, u"النور"},
    {51, u"الذاريات"},
    {91, u"الشمس"},
    {94, u"الشرح"},
    {114, u"الناس"},
}};

}  // namespace

std::u16string_view chooserName(int index) {
    if (index < 0 || index > quran::kSurahCount) return {};
    return kChooserNames[static_cast<std::size_t>(index)];
}

std::u16string_view citationName(int surah) {
    if (surah == 0) return u"0";
    if (surah < 0 || surah > quran::kSurahCount) return {};
    for (const auto& entry : kCitationOverrides) {
        if (entry.surah == surah) return entry.name;
    }
    return kChooserNames[static_cast<std::size_t>(surah)];
}

std::string surahCode(int number) {
    std::string digits = std::to_string(number);
    if (digits.size() == 1) return "00" + digits;
    if (digits.size() == 2) return "0" + digits;
    return digits;
}

}  // namespace versend
