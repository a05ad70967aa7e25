#pragma once
// The verse store: one sequential pass over the two line-aligned verse files. Both files are
// read whole at the start of a pass and released at its end; nothing is kept between passes.

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace versend {

// Only the first 6236 lines of the search file are ever examined.
inline constexpr int kVerseLineLimit = 6236;

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

// The bytes of a whole file, read into a buffer that is not cleared first.
class FileBytes {
public:
    FileBytes() = default;
    explicit FileBytes(std::size_t size) : data_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}
    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
};

// Reads a whole verse file; throws VerseFileError (Unreadable) naming it.
FileBytes readVerseFile(const std::filesystem::path& path);

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

// Walks the line pairs of the two files. Lines end at LF; a CR before it is not part of the
// line. The pass ends at the end of the search file or after line 6236, whichever comes first.
class VerseScan {
public:
    // Opens the search file and then the vocalised file; throws VerseFileError.
    explicit VerseScan(const VerseFiles& files);

    // Reads the next line pair. False at the end of the pass; throws VerseFileError when the
    // vocalised file has no line to pair with the search line.
    bool next();

    // Reads line pairs until one whose search line contains needle (exact bytes). False when
    // the pass ended without one. Much faster than next() with a test per line.
    bool nextContaining(std::string_view needle);

    // Reads the remaining line pairs without looking at them.
    void skipToEnd();

    std::string_view searchLine() const { return searchLine_; }
    std::string_view vocalisedLine() const { return vocalisedLine_; }
    // Lines read so far.
    int lineCount() const { return lineCount_; }

private:
    bool atEnd() const;
    void readLinePair();

    VerseFiles files_;
    FileBytes search_;
    FileBytes vocalised_;
    std::size_t searchPos_ = 0;
    std::size_t vocalisedPos_ = 0;
    std::string_view searchLine_;
    std::string_view vocalisedLine_;
    int lineCount_ = 0;
};

}  // namespace versend
