// The add-in's data files as the logic reaches them, over the module's readers: their errors
// become the add-in's error with the same number and description, and the messages they show
// themselves go to the installed host's message box.
#include "tarvelo/module_data.h"

#include "codepage/code_page.h"
#include "tarvelo/addin_error.h"
#include "tarvelo/data/data_files.h"

namespace mTarvelo {

namespace {

// Reader errors become the add-in's error with the same number and description.
template <typename F>
auto Reading(F&& read) {
    try {
        return read();
    } catch (const DataError& e) {
        throw AddinError(e.Number(), e.Description());
    }
}

class ModuleData : public AddinData {
public:
    // The readers' own messages ("Error 53 (File not found) in procedure loade of Module
    // mTarvelo") go to the host's message box, whichever host is installed when they arise; with
    // none installed (the add-in shutting down) they are dropped.
    ModuleData() {
        ShowMessage = [](std::u16string_view text) {
            try {
                Host().MsgBox(text, MessageIcon::None);
            } catch (...) {
                // no host (any more): the message cannot be shown
            }
        };
    }

    void loade() override { mTarvelo::loade(); }
    void loadeFile(std::int16_t slot) override { mTarvelo::loadeFile(slot); }
    std::u16string SurahName(int surah) const override {
        return surah >= 1 && surah <= quran::kSurahCount ? SurahTable[surah].Name : std::u16string();
    }
    int VerseCount(int surah) const override {
        return surah >= 1 && surah <= quran::kSurahCount ? SurahTable[surah].VerseCount : 0;
    }
    int SurahVerseOffset(int surah) const override {
        if (surah < 1 || surah > quran::kSurahCount) throw AddinError(ErrSubscriptOutOfRange, "Subscript out of range");
        return static_cast<std::uint16_t>(mTarvelo::SurahVerseOffset[surah]);
    }
    std::string RtfHeader() const override { return codepage::textToBytes(mTarvelo::RtfHeader); }
    std::string ReadArabicVerse(std::int32_t verseIndex) override {
        return Reading([&] { return codepage::textToBytes(ReadVerseText(verseIndex, slotArabic)); });
    }
    std::string AmbilUnicode(std::int32_t verseIndex, std::int16_t ayah) override {
        return codepage::textToBytes(mTarvelo::AmbilUnicode(verseIndex, ayah));
    }
    std::u16string ReadTranslationVerse(std::int32_t verseIndex) override {
        return Reading([&] { return ReadVerseText(verseIndex, slotTranslation); });
    }
    std::u16string ReadNoteText(std::int32_t noteNo) override {
        return Reading([&] { return mTarvelo::ReadNoteText(noteNo, slotTranslation); });
    }
    TranslationStorage TranslationEncoding() const override {
        switch (mTarvelo::TranslationEncoding) {
            case TextEncoding::CodePage: return TranslationStorage::CodePage;
            case TextEncoding::Hexadecimal: return TranslationStorage::Hexadecimal;
            case TextEncoding::ShiftedPair: return TranslationStorage::ShiftedPair;
            case TextEncoding::Plain: break;
        }
        return TranslationStorage::Plain;
    }
    std::int32_t TranslationLcid() const override { return mTarvelo::TranslationLcid; }
    char16_t TranslationDirection() const override { return mTarvelo::TranslationDirection; }
    bool TranslationSingleByte() const override { return mTarvelo::TranslationSingleByte; }
    std::u16string TranslationName() const override { return mTarvelo::TranslationName; }
    void SetTranslationName(std::u16string_view name) override { mTarvelo::TranslationName = name; }
    std::vector<std::u16string> TranslationFiles() const override {
        std::vector<std::u16string> names;
        for (const auto& path : mTarvelo::TranslationFiles()) names.push_back(path.filename().u16string());
        return names;
    }
};

}  // namespace

std::shared_ptr<AddinData> MakeModuleData() { return std::make_shared<ModuleData>(); }

}  // namespace mTarvelo
