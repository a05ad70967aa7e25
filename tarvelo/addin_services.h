// What the add-in's logic needs from its surroundings, behind small interfaces: the data readers,
// the clipboard, and the host's user-interface services (message boxes, letting pending events
// through, the per-user setting, the dialogs' windows). The office extension installs the real
// ones when it connects; tests install fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mTarvelo {

class ChooseControls;

// How the words of the current translation file are stored.
enum class TranslationStorage { Plain, CodePage, Hexadecimal, ShiftedPair };

// The add-in's data files: loading, the surah table and the readers of one verse or note.
class AddinData {
public:
    virtual ~AddinData() = default;
    // Loads all data files; reports its own failures.
    virtual void loade() = 0;
    // (Re)opens one file slot: 1 the current translation, 2 the glyph codes, 3 the Unicode text.
    virtual void loadeFile(std::int16_t slot) = 0;

    // Surah 1 to 114: name without surrounding blanks, verse count, verses before it.
    virtual std::u16string SurahName(int surah) const = 0;
    virtual int VerseCount(int surah) const = 0;
    virtual int SurahVerseOffset(int surah) const = 0;
    // The opening of every Rich Text fragment.
    virtual std::string RtfHeader() const = 0;

    // One verse of the glyph-code file: pairs of a font key and a code byte, words joined by
    // blanks. Throws on a failed read.
    virtual std::string ReadArabicVerse(std::int32_t verseIndex) = 0;
    // One verse of the Unicode file with its number: UTF-16LE bytes, one byte per character.
    virtual std::string AmbilUnicode(std::int32_t verseIndex, std::int16_t ayah) = 0;
    // One verse or note of the current translation, decoded by its encoding (for the code-page
    // encoding every character is one stored byte). Throw on a failed read.
    virtual std::u16string ReadTranslationVerse(std::int32_t verseIndex) = 0;
    virtual std::u16string ReadNoteText(std::int32_t noteNo) = 0;

    virtual TranslationStorage TranslationEncoding() const = 0;
    virtual std::int32_t TranslationLcid() const = 0;
    virtual char16_t TranslationDirection() const = 0;
    virtual bool TranslationSingleByte() const = 0;
    virtual std::u16string TranslationName() const = 0;
    virtual void SetTranslationName(std::u16string_view name) = 0;
    // File names (with extension) of the data folder matching "*.dabrel", in listing order.
    virtual std::vector<std::u16string> TranslationFiles() const = 0;
};

// The clipboard, as the composer uses it. Errors are thrown as AddinError.
class AddinClipboard {
public:
    virtual ~AddinClipboard() = default;
    virtual std::uint32_t AddFormat(std::string_view name) = 0;
    virtual bool ClipboardOpen(std::uintptr_t owner) = 0;
    virtual void ClearClipboard() = 0;
    // Every character of `bytes` is one byte of the clipboard data.
    virtual bool SetTextData(std::uint32_t formatId, std::string_view bytes) = 0;
    virtual void ClipboardClose() = 0;
};

enum class MessageIcon { None, Information, Exclamation, Critical };

// How the user writes numbers: the decimal separator and the digit-group separator.
struct NumberSeparators {
    char16_t decimal = u'.';
    char16_t group = u',';
};

// The separators of the user's locale: on Linux the one the environment names (LC_ALL,
// LC_NUMERIC, LANG) as the C library knows it, on Windows the regional settings' one; "." and ","
// when there is none.
NumberSeparators EnvironmentNumberSeparators();

// The host's user-interface services.
class AddinHost {
public:
    virtual ~AddinHost() = default;
    // A message box with an OK button and the add-in's title as caption.
    virtual void MsgBox(std::u16string_view text, MessageIcon icon) = 0;
    // Lets the events waiting in the host's queue run (a click on Stop among them).
    virtual void DoEvents() = 0;
    virtual void ShowAbout() = 0;
    // Per-user setting that survives restarts; "" when missing.
    virtual std::u16string GetSetting(std::string_view app, std::string_view section, std::string_view key) = 0;
    virtual void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                             std::u16string_view value) = 0;
    virtual std::unique_ptr<AddinClipboard> NewClipboard() = 0;
    // The controls of a new, hidden chooser dialog.
    virtual std::unique_ptr<ChooseControls> NewChooseControls() = 0;
    // The user's separators for numbers typed into the dialog (its font size).
    virtual NumberSeparators UserNumberSeparators() { return EnvironmentNumberSeparators(); }
};

struct AddinServices {
    std::shared_ptr<AddinData> data;
    std::shared_ptr<AddinHost> host;
};

// Installed once by the hosting component (or a test); the logic reaches them through these.
void SetServices(AddinServices services);
AddinData& Data();
AddinHost& Host();
bool HasServices();

// Where the per-user setting keeps the name of the current translation: application, section, key
// of GetSetting and SaveSetting.
inline constexpr std::string_view TranslationSettingApp = "tarvelocfg";
inline constexpr std::string_view TranslationSettingSection = "language";
inline constexpr std::string_view TranslationSettingKey = "default";

// The add-in's title, the caption of its message boxes.
inline constexpr std::u16string_view AppTitle = u"Tarvelo";

}  // namespace mTarvelo
