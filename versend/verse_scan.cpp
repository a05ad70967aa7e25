#include "versend/verse_scan.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>

namespace versend {
namespace {

// The line that starts at pos, without its line end; pos moves past the line end.
std::string_view takeLine(const FileBytes& buffer, std::size_t& pos) {
    const char* start = buffer.data() + pos;
    const std::size_t left = buffer.size() - pos;
    const void* lf = std::memchr(start, '\n', left);
    std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : left;
    pos += lf ? length + 1 : length;
    if (length > 0 && start[length - 1] == '\r') --length;
    return {start, length};
}

}  // namespace

FileBytes readVerseFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0) throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    FileBytes bytes(static_cast<std::size_t>(size));
    in.seekg(0, std::ios::beg);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()))
        throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    return bytes;
}

VerseFileError::VerseFileError(Kind kind, std::filesystem::path file)
    : std::runtime_error((kind == Kind::Unreadable ? "cannot read verse file " : "verse file ends early: ")
                         + file.string()),
      kind_(kind), file_(std::move(file)) {}

VerseFiles VerseFiles::in(const std::filesystem::path& folder) {
    return {folder / kSearchFileName, folder / kVocalisedFileName};
}

VerseScan::VerseScan(const VerseFiles& files)
    : files_(files), search_(readVerseFile(files.search)), vocalised_(readVerseFile(files.vocalised)) {}

bool VerseScan::atEnd() const {
    return lineCount_ >= kVerseLineLimit || searchPos_ >= search_.size();
}

void VerseScan::readLinePair() {
    searchLine_ = takeLine(search_, searchPos_);
    if (vocalisedPos_ >= vocalised_.size()) throw VerseFileError(VerseFileError::Kind::TooShort, files_.vocalised);
    vocalisedLine_ = takeLine(vocalised_, vocalisedPos_);
    ++lineCount_;
}

bool VerseScan::next() {
    if (atEnd()) return false;
    readLinePair();
    return true;
}

bool VerseScan::nextContaining(std::string_view needle) {
    // A needle with a line end could only match across lines; test those line by line.
    if (needle.empty() || needle.find_first_of("\r\n") != std::string_view::npos) {
        while (next()) {
            if (searchLine_.find(needle) != std::string_view::npos) return true;
        }
        return false;
    }
    if (atEnd()) return false;
    // One search over the rest of the file (memmem is not on every platform; this is as fast).
    const std::string_view rest = search_.view().substr(searchPos_);
    const auto hit = std::search(rest.begin(), rest.end(), std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    if (hit == rest.end()) {
        skipToEnd();
        return false;
    }
    const std::size_t hitPos = searchPos_ + static_cast<std::size_t>(hit - rest.begin());
    // Read up to the line that holds the hit; it cannot span a line end.
    while (next()) {
        if (searchPos_ > hitPos) return true;
    }
    return false;  // the hit lies beyond line 6236
}

void VerseScan::skipToEnd() {
    while (next()) {
    }
}

}  // namespace versend
