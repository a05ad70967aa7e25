#pragma once
// The verse store: the two line-aligned verse files, read whole with their lines indexed, and
// the pass over their line pairs. The store keeps the texts between passes and reads the files
// again only when one of them changes on disk.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "quran/quran_text.h"

namespace versend {

// Only the first lines of the search file, one a verse, are ever examined.
inline constexpr int kVerseLineLimit = quran::kVerseCount;

inline constexpr std::string_view kSearchFileName = "QuranV.Qur";
inline constexpr std::string_view kVocalisedFileName = "Qurant.Qur";

// A verse file that cannot be read, or a vocalised file that ends before the search file.
class VerseFileError : public std::runtime_error {
public:
    enum class Kind { Unreadable, TooShort };
    VerseFileError(Kind kind, std::filesystem::path file);
    Kind kind() const { return kind_; }
    const std::filesystem::path& file() const { return file_; }

private:
    Kind kind_;
    std::filesystem::path file_;
};

struct VerseFiles {
    std::filesystem::path search;
    std::filesystem::path vocalised;
    static VerseFiles in(const std::filesystem::path& folder);
};

// The folder of the verse files: the program's own folder when the search file lies there, else
// sharedFolder when it lies there (an installed system keeps the data apart from the program),
// else the program's folder, whose missing files the first scan then reports.
std::filesystem::path verseFolderFor(const std::filesystem::path& programFolder,
                                     const std::filesystem::path& sharedFolder);

// The bytes of one verse file and where its first lines start. Lines end at LF; a CR before it
// is not part of the line; a last line without a line end is a line.
class LineText {
public:
    LineText() = default;
    // Indexes at most `lineLimit` lines.
    LineText(std::string bytes, int lineLimit);
    int lineCount() const { return static_cast<int>(starts_.size()); }
    std::string_view line(int index) const;
    std::string_view bytes() const { return bytes_; }
    // The index of the line that holds byte `offset` (an offset inside an indexed line).
    int lineAt(std::size_t offset) const;
    // Where the indexed lines end (the byte after the last indexed line's line end).
    std::size_t indexedEnd() const { return indexedEnd_; }
    // The same lines, each in its forgiving form (letter_folding.h), in one pass through the
    // fold's byte table. Lines are ended by LF alone. Folding may drop bytes (marks, tatweel),
    // so offsets can differ from this text's, but line i is always line i.
    LineText folded() const;

private:
    std::string bytes_;
    std::vector<std::uint32_t> starts_;
    std::vector<std::uint32_t> lengths_;  // without the line end, so that a line is found without reading it
    std::size_t indexedEnd_ = 0;
};

// Both verse files as read at one moment.
struct VerseTexts {
    VerseFiles files;
    LineText search;
    LineText vocalised;
    // The search lines folded, made at the first folded search of these texts and kept with them.
    const LineText& foldedSearch() const;
    // Reads both files; throws VerseFileError (Unreadable) naming the file.
    static std::shared_ptr<const VerseTexts> read(const VerseFiles& files);
    // The texts of two buffers (for tests and the fuzzer); the paths only name them in errors.
    static std::shared_ptr<const VerseTexts> fromBytes(std::string search, std::string vocalised,
                                                       VerseFiles names = {});

private:
    mutable std::once_flag foldedOnce_;
    mutable LineText foldedSearch_;
};

// Reads a whole file; throws VerseFileError (Unreadable) naming it.
std::string readVerseFile(const std::filesystem::path& path);

// Keeps the verse texts of one folder between passes; reads them again when either file's size
// or modification time changes, and reports a file that has gone at the next pass.
class VerseStore {
public:
    // Throws VerseFileError. The texts stay valid as long as the pointer is held.
    std::shared_ptr<const VerseTexts> texts(const VerseFiles& files);

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const std::filesystem::path& path);

    std::shared_ptr<const VerseTexts> texts_;
    Stamp search_;
    Stamp vocalised_;
};

// The form of the search lines that a byte search looks in: as written in the file, or folded.
enum class SearchForm { Exact, Folded };

// Walks the line pairs of the two texts. The pass ends at the end of the search file or after
// line 6236, whichever comes first.
class VerseScan {
public:
    explicit VerseScan(std::shared_ptr<const VerseTexts> texts);
    // Reads both files first; throws VerseFileError.
    explicit VerseScan(const VerseFiles& files);

    // Reads the next line pair. False at the end of the pass; throws VerseFileError when the
    // vocalised file has no line to pair with the search line.
    bool next();

    // Moves to the next line pair whose search line contains needle (exact bytes), in the given
    // form of the search lines (a folded needle for the folded form). False when the pass ended
    // without one. Lines without a hit are passed over in one byte search.
    bool nextContaining(std::string_view needle, SearchForm form = SearchForm::Exact);

    // Reads the remaining line pairs without looking at them.
    void skipToEnd();

    std::string_view searchLine() const;
    std::string_view vocalisedLine() const;
    // Lines read so far.
    int lineCount() const { return lineCount_; }
    const std::shared_ptr<const VerseTexts>& texts() const { return texts_; }

private:
    // Moves to line `index` (0-based), passing over the lines before it.
    void moveTo(int index);

    std::shared_ptr<const VerseTexts> texts_;
    int lineCount_ = 0;
};

}  // namespace versend
