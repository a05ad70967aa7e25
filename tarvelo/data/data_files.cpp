// The add-in's data files: loading, the directory, and the readers of words, verses and notes.
#include "tarvelo/data/data_files.h"

#include <algorithm>
#include <cctype>

#include "codepage/code_page.h"

namespace mTarvelo {

namespace {

// Reports an error of a procedure with its own handler.
void Report(const DataError& error, std::string_view procedure) {
    if (ShowMessage) ShowMessage(ErrorMessage(error.Number(), error.Description(), procedure));
}

// Runs the body of a procedure with its own handler: any error is shown and ends the procedure.
template <typename Body>
bool WithHandler(std::string_view procedure, Body&& body) {
    try {
        body();
        return true;
    } catch (const DataError& error) {
        Report(error, procedure);
    } catch (const std::bad_alloc&) {
        Report(DataError(7, "Out of memory"), procedure);
    }
    return false;
}

std::uint32_t BigEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

std::uint32_t LittleEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) value = (value << 8) | static_cast<unsigned char>(*it);
    return value;
}

const DirectoryEntry& Entry(int slot, int entry) {
    if (slot < 1 || slot > 3 || entry < 1 || entry > maxDirectoryEntries) RaiseDataError(errSubscript);
    return DataDirectory[static_cast<std::size_t>(slot)][static_cast<std::size_t>(entry)];
}

// Reads `count` bytes at `offset` inside the block of a directory entry; the read must lie inside
// both the block and the file.
std::string ReadInBlock(int slot, int entry, std::uint64_t offset, std::uint64_t count) {
    DataFile& file = SlotFile(slot);
    const DirectoryEntry& block = Entry(slot, entry);
    if (offset > block.Length || count > block.Length - offset) RaiseDataError(errInvalidFormat);
    file.Seek(std::uint64_t{block.Offset} + offset);
    return file.Read(count);
}

enum class IndexWidth { BigEndian3, LittleEndian4 };

// The bytes of item k (from 1) of an index and block pair: positions P(k) and P(k + 1) from the
// index, then P(k + 1) - P(k) bytes of the block from position P(k) (the block's first byte is
// position 1).
std::string ReadItem(int slot, int indexEntry, int blockEntry, std::int64_t k, IndexWidth width) {
    SlotFile(slot);  // error 52 before anything else when the slot is not open
    const std::uint64_t size = width == IndexWidth::BigEndian3 ? 3 : 4;
    const DirectoryEntry& index = Entry(slot, indexEntry);
    // The index holds one more position than items: item k needs positions k and k + 1.
    if (k < 1 || static_cast<std::uint64_t>(k) + 1 > index.Length / size) RaiseDataError(errSubscript);
    const std::string positions = ReadInBlock(slot, indexEntry, size * static_cast<std::uint64_t>(k - 1), 2 * size);
    const std::string_view view(positions);
    const bool big = width == IndexWidth::BigEndian3;
    const std::uint64_t first = big ? BigEndian(view.substr(0, size)) : LittleEndian(view.substr(0, size));
    const std::uint64_t next = big ? BigEndian(view.substr(size)) : LittleEndian(view.substr(size));
    if (first < 1 || next < first) RaiseDataError(errInvalidFormat);
    return ReadInBlock(slot, blockEntry, first - 1, next - first);
}

// The upper-case form of a letter of the Latin, Greek and Cyrillic alphabets; other characters
// unchanged.
char16_t UpperCase(char16_t c) {
    auto shifted = [c](int by) { return static_cast<char16_t>(c - by); };
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return shifted(0x20);
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<char16_t>(c & ~1u);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? shifted(1) : c;
    if (c == 0x3C2) return 0x3A3;
    if ((c >= 0x3B1 && c <= 0x3C9) || (c >= 0x430 && c <= 0x44F)) return shifted(0x20);
    if (c >= 0x450 && c <= 0x45F) return shifted(0x50);
    return c;
}

// Joins the words of a verse or note: every two bytes a big-endian word identifier; each word
// is followed by one blank, and the result is trimmed of blanks at both ends.
std::u16string JoinWords(std::string_view ids, int slot, bool capitaliseFirst) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < ids.size(); i += 2) {
        std::u16string word = ReadWord(static_cast<std::int32_t>(BigEndian(ids.substr(i, 2))), slot);
        if (capitaliseFirst && i == 0 && !word.empty()) word[0] = UpperCase(word[0]);
        text += word;
        text += u' ';
    }
    const auto begin = text.find_first_not_of(u' ');
    if (begin == std::u16string::npos) return {};
    const auto end = text.find_last_not_of(u' ');
    return text.substr(begin, end - begin + 1);
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    RaiseDataError(errTypeMismatch);
}

std::u16string DecodeHexadecimal(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        unsigned code = 0;
        for (char16_t c : text.substr(i, 3)) code = code * 16 + static_cast<unsigned>(HexDigit(c));
        out += static_cast<char16_t>(code);
    }
    return out;
}

std::u16string DecodeShiftedPairs(std::u16string_view text) {
    if (text.size() % 2 != 0) RaiseDataError(errInvalidCall);
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        if (text[i] == 0) RaiseDataError(errInvalidCall);
        out += static_cast<char16_t>((text[i] - 1) * 256 + text[i + 1]);
    }
    return out;
}

std::u16string ToUpperAscii(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}

// Reads the directory of a slot's open file into DataDirectory.
void ReadDirectory(int slot) {
    DataFile& file = SlotFile(slot);
    auto& directory = DataDirectory[static_cast<std::size_t>(slot)];
    directory.fill(DirectoryEntry{});
    file.Seek(0);
    const std::uint32_t count = LittleEndian(file.Read(2));
    for (std::uint32_t i = 1; i <= count; ++i) {
        if (i > maxDirectoryEntries) RaiseDataError(errSubscript);
        const auto length = static_cast<unsigned char>(file.Read(1)[0]);
        DirectoryEntry entry;
        entry.Offset = ReadNumberBE(3, slot);
        entry.Length = ReadNumberBE(3, slot);
        if (length < 6) RaiseDataError(errInvalidFormat);
        entry.Name = file.Read(length - 6u);
        const bool outside = std::uint64_t{entry.Offset} + entry.Length > file.Size();
        directory[i] = std::move(entry);
        if (outside) RaiseDataError(errInvalidFormat);
    }
}

// Reads the 8-byte trailer of the translation file.
void ReadTrailer() {
    DataFile& file = SlotFile(slotTranslation);
    if (file.Size() < 8) RaiseDataError(errPastEndOfFile);
    file.Seek(file.Size() - 8);
    const std::u16string trailer = codepage::bytesToText(file.Read(8));
    TranslationEncoding = TextEncoding::Plain;
    const std::u16string_view marker = std::u16string_view(trailer).substr(5);
    bool recognised = true;
    if (marker == u"UNC") TranslationEncoding = TextEncoding::CodePage;
    else if (marker == u"CNU") TranslationEncoding = TextEncoding::Hexadecimal;
    else if (marker == u"CNN") TranslationEncoding = TextEncoding::ShiftedPair;
    else recognised = false;
    if (!recognised) {
        TranslationLcid = 1033;
        TranslationDirection = u'L';
        return;
    }
    std::int32_t lcid = 0;
    for (char16_t c : std::u16string_view(trailer).substr(1, 4)) {
        if (c < u'0' || c > u'9') RaiseDataError(errTypeMismatch);
        lcid = lcid * 10 + (c - u'0');
    }
    TranslationLcid = lcid;
    TranslationDirection = trailer[0];
}

// Whether code-page text is to be typed as read: six or more of the first ten characters of the
// first verse decode below 255 in the locale's code page, and the system is of the 9x family.
void DecideSingleByte() {
    const std::u16string first = ReadVerseText(1, slotTranslation);
    const int codePage = CodePageForLcid(TranslationLcid);
    int count = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(10, first.size()); ++i) {
        const std::string byte(1, static_cast<char>(first[i] & 0xFF));
        const std::u16string decoded = DecodeCodePage(byte, codePage);
        if (!decoded.empty() && decoded[0] < 255) ++count;
    }
    TranslationSingleByte = count / 10.0 > 0.5;
    if (!IsWin9x()) TranslationSingleByte = false;
}

void LoadFile(int slot) {
    if (slot < 1 || slot > 3) RaiseDataError(errBadFileNumber);
    const auto index = static_cast<std::size_t>(slot);
    DataFiles[index].reset();
    DataDirectory[index].fill(DirectoryEntry{});
    std::filesystem::path path = DataFolder();
    switch (slot) {
        case slotTranslation: path /= std::filesystem::path(ToUtf8(TranslationName + u".dabrel")); break;
        case slotArabic: path /= "Arabic.dabrel"; break;
        default: path /= "UnicodeArabic.dbu"; break;
    }
    DataFiles[index].emplace(path);
    if (slot == slotTranslation) ReadTrailer();
    ReadDirectory(slot);
    if (slot == slotTranslation && TranslationEncoding == TextEncoding::CodePage) DecideSingleByte();
}

void LoadArabicTables() {
    // Surah table: 114 records of 34 bytes.
    const std::string table =
        ReadInBlock(slotArabic, entrySurahTable, 0, std::uint64_t{quran::kSurahCount} * surahRecordSize);
    for (int s = 1; s <= quran::kSurahCount; ++s) {
        const std::string_view record =
            std::string_view(table).substr(static_cast<std::size_t>(s - 1) * surahRecordSize, surahRecordSize);
        SurahRecord& surah = SurahTable[static_cast<std::size_t>(s)];
        surah.Name = codepage::bytesToText(record.substr(0, surahNameLength));
        surah.VerseCount = static_cast<std::int16_t>(LittleEndian(record.substr(30, 2)));
        surah.Spare = static_cast<std::int16_t>(LittleEndian(record.substr(32, 2)));
    }
    // Surah verse offsets: 114 big-endian 16-bit numbers.
    const DirectoryEntry& offsets = Entry(slotArabic, entrySurahOffsets);
    if (offsets.Length < std::uint32_t{quran::kSurahCount} * 2) RaiseDataError(errInvalidFormat);
    SlotFile(slotArabic).Seek(offsets.Offset);
    for (int s = 1; s <= quran::kSurahCount; ++s)
        SurahVerseOffset[static_cast<std::size_t>(s)] = static_cast<std::int16_t>(ReadNumberBE(2, slotArabic));
    // Rich Text header: the whole block.
    const DirectoryEntry& header = Entry(slotArabic, entryRtfHeader);
    RtfHeader = codepage::bytesToText(ReadInBlock(slotArabic, entryRtfHeader, 0, header.Length));
}

void ChooseDefaultTranslation() {
    for (const std::filesystem::path& file : TranslationFiles()) {
        const std::u16string name = FromUtf8(file.filename().string());
        const std::u16string base = name.substr(0, name.find(u'.'));
        if (ToUpperAscii(base) != u"ARABIC") {
            TranslationName = base;
            return;
        }
    }
}

}  // namespace

DataError::DataError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

void RaiseDataError(int number) {
    switch (number) {
        case errInvalidCall: throw DataError(number, "Invalid procedure call or argument");
        case errOverflow: throw DataError(number, "Overflow");
        case errSubscript: throw DataError(number, "Subscript out of range");
        case errTypeMismatch: throw DataError(number, "Type mismatch");
        case errBadFileNumber: throw DataError(number, "Bad file name or number");
        case errFileNotFound: throw DataError(number, "File not found");
        case errPastEndOfFile: throw DataError(number, "Input past end of file");
        case errInvalidFormat: throw DataError(number, "Invalid file format");
        default: throw DataError(number, "Application-defined or object-defined error");
    }
}

std::u16string ErrorMessage(int number, std::string_view description, std::string_view procedure) {
    return FromUtf8("Error " + std::to_string(number) + " (" + std::string(description) + ") in procedure " +
                    std::string(procedure) + " of Module mTarvelo");
}

DataFile& SlotFile(int slot) {
    if (slot < 1 || slot > 3 || !DataFiles[static_cast<std::size_t>(slot)]) RaiseDataError(errBadFileNumber);
    return *DataFiles[static_cast<std::size_t>(slot)];
}

void CloseDataFiles() noexcept {
    for (auto& file : DataFiles) file.reset();
}

void loade() {
    WithHandler("loade", [] {
        loadeFile(slotArabic);
        LoadArabicTables();
        ChooseDefaultTranslation();
        loadeFile(slotTranslation);
        loadeFile(slotUnicode);
    });
}

void loadeFile(std::int16_t slot) {
    WithHandler("loadeFile", [slot] { LoadFile(slot); });
}

std::uint32_t ReadNumberBE(int byteCount, int slot) {
    if (byteCount < 1 || byteCount > 4) RaiseDataError(errInvalidCall);
    return BigEndian(SlotFile(slot).Read(static_cast<std::uint64_t>(byteCount)));
}

std::u16string ReadWord(std::int32_t wordId, int slot) {
    if (slot != slotTranslation && slot != slotArabic) RaiseDataError(errBadFileNumber);
    const std::u16string text =
        codepage::bytesToText(ReadItem(slot, entryWordIndex, entryWordText, wordId, IndexWidth::BigEndian3));
    if (slot == slotTranslation) {
        if (TranslationEncoding == TextEncoding::Hexadecimal) return DecodeHexadecimal(text);
        if (TranslationEncoding == TextEncoding::ShiftedPair) return DecodeShiftedPairs(text);
    }
    return text;
}

std::u16string ReadVerseText(std::int32_t verseIndex, int slot) {
    if (slot != slotTranslation && slot != slotArabic) RaiseDataError(errBadFileNumber);
    return JoinWords(ReadItem(slot, entryVerseIndex, entryVerseBlock, verseIndex, IndexWidth::BigEndian3), slot, false);
}

std::u16string ReadNoteText(std::int32_t noteNo, int slot) {
    if (slot != slotTranslation) RaiseDataError(errBadFileNumber);
    return JoinWords(ReadItem(slot, entryNoteIndex, entryNoteBlock, noteNo, IndexWidth::BigEndian3), slot, true);
}

std::u16string AmbilUnicode(std::int32_t verseIndex, std::int16_t ayah) {
    std::u16string result;
    const bool ok = WithHandler("AmbilUnicode", [&] {
        if (ayah < 0) RaiseDataError(errInvalidCall);
        const std::string ids =
            ReadItem(slotUnicode, entryVerseIndex, entryVerseBlock, verseIndex, IndexWidth::LittleEndian4);
        std::u16string bytes;
        auto letter = [&bytes](unsigned char low, unsigned char high) {
            bytes += static_cast<char16_t>(low);
            bytes += static_cast<char16_t>(high);
        };
        for (std::size_t i = 0; i + 1 < ids.size(); i += 2) {
            const std::uint32_t id = BigEndian(std::string_view(ids).substr(i, 2));
            if (id >= 32768) RaiseDataError(errOverflow);
            const std::string word = ReadItem(slotUnicode, entryWordIndex, entryWordText, static_cast<std::int64_t>(id),
                                              IndexWidth::LittleEndian4);
            letter(0x20, 0x00);
            // A blank stays a blank; every other byte b is the letter U+0600 + b.
            for (char b : word) letter(static_cast<unsigned char>(b), b == ' ' ? 0x00 : 0x06);
        }
        letter(0x20, 0x00);
        letter(0x28, 0x00);
        for (char digit : std::to_string(ayah)) letter(static_cast<unsigned char>(0x60 + (digit - '0')), 0x06);
        letter(0x29, 0x00);
        result = std::move(bytes);
    });
    return ok ? result : std::u16string{};
}

}  // namespace mTarvelo
