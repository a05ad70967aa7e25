// The add-in's data files and their readers.
//
// Three kinds of binary file lie in the add-in's own folder: Arabic.dabrel (glyph-code words, the
// surah table, the per-surah verse offsets and the Rich Text header), UnicodeArabic.dbu (the
// Arabic text as low bytes of U+06xx letters) and one <Name>.dabrel per translation. They are
// opened once by `loade` and stay open; every verse, word and note is read from disk on demand.
//
// Byte orders: the directory count and the surah records are 16-bit little-endian; directory
// fields, the indexes of the .dabrel files, the surah verse offsets and every word identifier are
// big-endian; the indexes of UnicodeArabic.dbu are 32-bit little-endian.
//
// Text: strings returned by the readers are UTF-16. Where the files hold single-byte text
// ("plain", "code page" translations, surah names), each byte b becomes the character U+00bb:
// the add-in's single-byte code page maps byte b to character b and back, so byte strings survive
// the way to the clipboard unchanged (see SetTextData of cCustomClipboard).
//
// Failures: `loade`, `loadeFile` and `AmbilUnicode` report their own errors through ShowMessage
// ("Error 53 (File not found) in procedure loadeFile of Module mTarvelo") and return. The other
// readers throw DataError; their callers (the composers) report it. Every position, length and
// identifier read from a file is checked against the file's size and the index's bounds, so a
// corrupted file ends the read with an error, never with a crash or a read outside the file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "quran/quran_text.h"

namespace mTarvelo {

// ---------------------------------------------------------------------------------------------
// Errors

// The one error type of the data readers: an error number and its usual description.
class DataError : public std::runtime_error {
public:
    DataError(int number, std::string description);
    int Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }

private:
    int number_;
    std::string description_;
};

// The error numbers the readers raise.
inline constexpr int errInvalidCall = 5;      // "Invalid procedure call or argument"
inline constexpr int errOverflow = 6;         // "Overflow"
inline constexpr int errSubscript = 9;        // "Subscript out of range"
inline constexpr int errTypeMismatch = 13;    // "Type mismatch"
inline constexpr int errBadFileNumber = 52;   // "Bad file name or number" (slot not open)
inline constexpr int errFileNotFound = 53;    // "File not found"
inline constexpr int errPastEndOfFile = 62;   // "Input past end of file"
inline constexpr int errInvalidFormat = 321;  // "Invalid file format" (corrupted directory/index)

// Throws DataError with `number` and its usual description.
[[noreturn]] void RaiseDataError(int number);

// The message the procedures with their own handler show for an error:
// "Error " + number + " (" + description + ") in procedure " + procedure + " of Module mTarvelo".
std::u16string ErrorMessage(int number, std::string_view description, std::string_view procedure);

// How the module shows a message box with only an OK button (the host fills in its caption, the
// add-in's title). Set by the host; tests capture the texts. Unset, messages are dropped.
inline std::function<void(std::u16string_view text)> ShowMessage;

// ---------------------------------------------------------------------------------------------
// Files

// File slots.
inline constexpr int slotTranslation = 1;  // <TranslationName>.dabrel
inline constexpr int slotArabic = 2;       // Arabic.dabrel
inline constexpr int slotUnicode = 3;      // UnicodeArabic.dbu

// One open read-only data file with a current position. Every read is checked against the
// file's size (error 62 past its end).
class DataFile {
public:
    // Opens `path` read-only; error 53 if it cannot be opened.
    explicit DataFile(const std::filesystem::path& path);

    std::uint64_t Size() const noexcept { return size_; }
    std::uint64_t Position() const noexcept { return position_; }
    // Moves to a 0-based offset; error 62 beyond the end of the file.
    void Seek(std::uint64_t offset);
    // Reads `count` bytes at the current position and moves past them; error 62 if the file
    // ends before.
    std::string Read(std::uint64_t count);

private:
    std::ifstream stream_;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    // A few recently read pages of the file (a buffer like a C stream's, only several): a verse
    // reads the verse index, the verse block, the word index and the word text, four places far
    // apart, so one buffer alone would be read again for nearly every read.
    struct Page {
        std::uint64_t Start = 0;
        std::string Bytes;
        std::uint64_t LastUse = 0;
    };
    static constexpr std::uint64_t pageSize = 4096;
    const std::string& PageAt(std::uint64_t start);
    std::array<Page, 8> pages_;
    std::uint64_t uses_ = 0;
};

// The three open files by slot (index 0 unused). A slot is empty while its file is not open.
inline std::array<std::optional<DataFile>, 4> DataFiles;

// Closes the three files (the add-in is unloaded, or a test starts afresh).
void CloseDataFiles() noexcept;

// The open file of a slot; error 52 if the slot is out of range or not open.
DataFile& SlotFile(int slot);

// The folder of the data files: DataFolderOverride when set (tests), else ChooseDataFolder of
// the folder of the library (or program) that contains this module and the shared data folder of
// an installed system (none unless the build names one).
inline std::optional<std::filesystem::path> DataFolderOverride;
std::filesystem::path DataFolder();

// The folder beside the library when Arabic.dabrel lies there, else sharedFolder when it lies
// there (an installed system keeps the data apart from the library), else the folder beside the
// library, whose missing files loade then reports.
std::filesystem::path ChooseDataFolder(const std::filesystem::path& besideFolder,
                                       const std::filesystem::path& sharedFolder);

// Whether the system is of the Windows 9x family: false on every platform we support.
bool IsWin9x();

// Whether two names of files in the data folder name the same file: regardless of case on
// Windows, whose file systems ignore it; letter for letter elsewhere.
bool SameFileName(std::u16string_view a, std::u16string_view b);

// ---------------------------------------------------------------------------------------------
// Module state, filled by loade and loadeFile

inline constexpr int maxDirectoryEntries = 7;

struct DirectoryEntry {
    std::string Name;          // stored, never interpreted
    std::uint32_t Offset = 0;  // 0-based file offset of the entry's block
    std::uint32_t Length = 0;  // block length in bytes
};

// DataDirectory[slot][entry], slot 1 to 3, entry 1 to 7 (index 0 unused in both). Entries that
// a file does not have stay empty (offset and length 0).
inline std::array<std::array<DirectoryEntry, maxDirectoryEntries + 1>, 4> DataDirectory;

// Directory entries of the three file kinds.
inline constexpr int entryWordText = 1;
inline constexpr int entryWordIndex = 2;
inline constexpr int entryVerseBlock = 3;
inline constexpr int entryVerseIndex = 4;
inline constexpr int entrySurahOffsets = 5;  // Arabic.dabrel
inline constexpr int entrySurahTable = 6;    // Arabic.dabrel
inline constexpr int entryRtfHeader = 7;     // Arabic.dabrel
inline constexpr int entryNoteBlock = 5;     // translations
inline constexpr int entryNoteIndex = 6;     // translations

inline constexpr int surahRecordSize = 34;
inline constexpr int surahNameLength = 30;

struct SurahRecord {
    std::u16string Name;  // 30 characters as stored, padded with blanks: trim to use
    std::int16_t VerseCount = 0;
    std::int16_t Spare = 0;
};

// Surah 1 to 114 (index 0 left empty).
inline std::array<SurahRecord, quran::kSurahCount + 1> SurahTable;

// Number of verses before each surah in the whole text, surah 1 to 114 (index 0 left empty).
// The global verse index of verse a of surah s is SurahVerseOffset[s] + a.
inline std::array<std::int16_t, quran::kSurahCount + 1> SurahVerseOffset{};

// The opening of every Rich Text fragment (Arabic.dabrel entry 7), one character per byte.
inline std::u16string RtfHeader;

// Base name of the current translation file (file name without ".dabrel").
inline std::u16string TranslationName;

// How the words of the current translation are stored (its trailer's marker).
enum class TextEncoding {
    Plain,        // no marker: one byte per character
    CodePage,     // "UNC": one byte per character in the code page of TranslationLcid
    Hexadecimal,  // "CNU": three hexadecimal digits per character
    ShiftedPair,  // "CNN": two bytes (h, l) per character, code (h - 1) * 256 + l
};

inline TextEncoding TranslationEncoding = TextEncoding::Plain;
inline std::int32_t TranslationLcid = 1033;
// "L" left-to-right; any other letter right-to-left.
inline char16_t TranslationDirection = u'L';
// Whether code-page text is typed as read (only ever true on the Windows 9x family).
inline bool TranslationSingleByte = false;

// ---------------------------------------------------------------------------------------------
// Procedures

// Loads everything: Arabic.dabrel with the surah table, offsets and Rich Text header, chooses the
// default translation (the first *.dabrel whose name up to its first "." is not "ARABIC" in any
// case, in name order), then opens the translation and UnicodeArabic.dbu. Reports failures.
void loade();

// (Re)opens the file of a slot (1, 2 or 3) and reads its directory; for slot 1 also its trailer
// and, with the "UNC" marker, decides TranslationSingleByte. Reports failures and returns.
void loadeFile(std::int16_t slot);

// The next byteCount (1 to 4) bytes of a slot's file at its current position, as an unsigned
// big-endian number.
std::uint32_t ReadNumberBE(int byteCount, int slot);

// One word of slot 1 or 2; for slot 1 decoded by TranslationEncoding.
std::u16string ReadWord(std::int32_t wordId, int slot);

// One verse of slot 1 or 2 by global verse index: its words joined by single blanks, trimmed.
std::u16string ReadVerseText(std::int32_t verseIndex, int slot);

// One note of slot 1: like a verse, with the first character of its first word in upper case.
std::u16string ReadNoteText(std::int32_t noteNo, int slot);

// One verse of UnicodeArabic.dbu with its number: the UTF-16LE bytes of
// " <words separated by blanks> (<ayah in Arabic-Indic digits>)", one byte per character.
// Reports failures and returns "".
std::u16string AmbilUnicode(std::int32_t verseIndex, std::int16_t ayah);

// ---------------------------------------------------------------------------------------------
// Code pages

// The ANSI code page of a Windows locale identifier (1252 for locales without one or unknown).
int CodePageForLcid(std::int32_t lcid);

// Decodes bytes in a Windows code page (iconv); bytes the code page does not define become
// U+FFFD. Error 5 for a code page iconv does not know.
std::u16string DecodeCodePage(std::string_view bytes, int codePage);

// The low bytes of the characters of `text`, decoded in the ANSI code page of `lcid`: how
// code-page translation text is turned into Unicode.
std::u16string DecodeLowBytes(std::u16string_view text, std::int32_t lcid);

// Single-byte text of the module: codepage::bytesToText and textToBytes (codepage/code_page.h).

// UTF-8 for file names and messages.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// The data files of the data folder whose names end in ".dabrel" (in any case), in name order.
std::vector<std::filesystem::path> TranslationFiles();

}  // namespace mTarvelo
