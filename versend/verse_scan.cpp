#include "versend/verse_scan.h"

#include "versend/letter_folding.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <system_error>

namespace versend {
namespace {

// The first place of `needle` in `text`, or null. glibc's memmem is the fastest search there is
// for this; elsewhere (mingw has no memmem) the standard library's Boyer-Moore-Horspool.
const char* findBytes(std::string_view text, std::string_view needle) {
#ifdef __GLIBC__
    return static_cast<const char*>(memmem(text.data(), text.size(), needle.data(), needle.size()));
#else
    const auto hit =
        std::search(text.begin(), text.end(), std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    return hit == text.end() ? nullptr : text.data() + (hit - text.begin());
#endif
}

}  // namespace

VerseFileError::VerseFileError(Kind kind, std::filesystem::path file)
    : std::runtime_error((kind == Kind::Unreadable ? "cannot read verse file " : "verse file ends early: ") +
                         file.string()),
      kind_(kind),
      file_(std::move(file)) {}

VerseFiles VerseFiles::in(const std::filesystem::path& folder) {
    return {folder / kSearchFileName, folder / kVocalisedFileName};
}

std::filesystem::path verseFolderFor(const std::filesystem::path& programFolder,
                                     const std::filesystem::path& sharedFolder) {
    std::error_code error;
    if (std::filesystem::is_regular_file(programFolder / kSearchFileName, error) || sharedFolder.empty())
        return programFolder;
    if (std::filesystem::is_regular_file(sharedFolder / kSearchFileName, error)) return sharedFolder;
    return programFolder;
}

LineText::LineText(std::string bytes, int lineLimit) : bytes_(std::move(bytes)) {
    // Offsets are 32-bit: a file of 4 GiB or more is indexed only as far as they reach.
    const std::size_t size = std::min<std::size_t>(bytes_.size(), std::numeric_limits<std::uint32_t>::max());
    std::size_t pos = 0;
    while (pos < size && static_cast<int>(starts_.size()) < lineLimit) {
        const void* lf = std::memchr(bytes_.data() + pos, '\n', size - pos);
        const std::size_t next = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - bytes_.data()) + 1 : size;
        std::size_t end = lf ? next - 1 : next;
        if (end > pos && bytes_[end - 1] == '\r') --end;
        starts_.push_back(static_cast<std::uint32_t>(pos));
        lengths_.push_back(static_cast<std::uint32_t>(end - pos));
        pos = next;
    }
    indexedEnd_ = pos;
}

std::string_view LineText::line(int index) const {
    const auto i = static_cast<std::size_t>(index);
    return {bytes_.data() + starts_[i], lengths_[i]};
}

int LineText::lineAt(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<int>(after - starts_.begin()) - 1;
}

LineText LineText::folded() const {
    LineText out;
    out.bytes_.reserve(indexedEnd_);
    out.starts_.reserve(starts_.size());
    out.lengths_.reserve(lengths_.size());
    for (int i = 0; i < lineCount(); ++i) {
        const std::size_t start = out.bytes_.size();
        appendFoldedBytes(line(i), out.bytes_);
        // No longer than the line it comes from, so within the 32-bit offsets of this text.
        out.starts_.push_back(static_cast<std::uint32_t>(start));
        out.lengths_.push_back(static_cast<std::uint32_t>(out.bytes_.size() - start));
        out.bytes_.push_back('\n');
    }
    out.indexedEnd_ = out.bytes_.size();
    return out;
}

std::string readVerseFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    return bytes;
}

std::shared_ptr<const VerseTexts> VerseTexts::read(const VerseFiles& files) {
    std::string search = readVerseFile(files.search);
    std::string vocalised = readVerseFile(files.vocalised);
    return fromBytes(std::move(search), std::move(vocalised), files);
}

std::shared_ptr<const VerseTexts> VerseTexts::fromBytes(std::string search, std::string vocalised, VerseFiles names) {
    auto texts = std::make_shared<VerseTexts>();
    texts->files = std::move(names);
    texts->search = LineText(std::move(search), kVerseLineLimit);
    texts->vocalised = LineText(std::move(vocalised), kVerseLineLimit);
    return texts;
}

const LineText& VerseTexts::foldedSearch() const {
    std::call_once(foldedOnce_, [this] { foldedSearch_ = search.folded(); });
    return foldedSearch_;
}

VerseStore::Stamp VerseStore::stampOf(const std::filesystem::path& path) {
    std::error_code error;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    stamp.time = std::filesystem::last_write_time(path, error);
    if (error) throw VerseFileError(VerseFileError::Kind::Unreadable, path);
    return stamp;
}

std::shared_ptr<const VerseTexts> VerseStore::texts(const VerseFiles& files) {
    const Stamp search = stampOf(files.search);
    const Stamp vocalised = stampOf(files.vocalised);
    if (!texts_ || texts_->files.search != files.search || texts_->files.vocalised != files.vocalised ||
        !(search == search_) || !(vocalised == vocalised_)) {
        texts_.reset();
        texts_ = VerseTexts::read(files);
        search_ = search;
        vocalised_ = vocalised;
    }
    return texts_;
}

VerseScan::VerseScan(std::shared_ptr<const VerseTexts> texts) : texts_(std::move(texts)) {}

VerseScan::VerseScan(const VerseFiles& files) : texts_(VerseTexts::read(files)) {}

std::string_view VerseScan::searchLine() const {
    return lineCount_ > 0 ? texts_->search.line(lineCount_ - 1) : std::string_view();
}

std::string_view VerseScan::vocalisedLine() const {
    return lineCount_ > 0 ? texts_->vocalised.line(lineCount_ - 1) : std::string_view();
}

void VerseScan::moveTo(int index) {
    // The vocalised file must hold every line up to this one; a pass fails where it ends.
    if (index >= texts_->vocalised.lineCount()) {
        lineCount_ = texts_->vocalised.lineCount();
        throw VerseFileError(VerseFileError::Kind::TooShort, texts_->files.vocalised);
    }
    lineCount_ = index + 1;
}

bool VerseScan::next() {
    if (lineCount_ >= texts_->search.lineCount()) return false;
    moveTo(lineCount_);
    return true;
}

bool VerseScan::nextContaining(std::string_view needle, SearchForm form) {
    // Line i of the folded form is line i of the search file.
    const LineText& lines = form == SearchForm::Folded ? texts_->foldedSearch() : texts_->search;
    // A needle with a line end could only match across lines; test those line by line.
    if (needle.empty() || needle.find_first_of("\r\n") != std::string_view::npos) {
        while (next()) {
            if (lines.line(lineCount_ - 1).find(needle) != std::string_view::npos) return true;
        }
        return false;
    }
    if (lineCount_ >= lines.lineCount()) return false;
    // From the start of the next line to the end of the pass's last line.
    const std::string_view bytes = lines.bytes();
    const std::string_view current = lineCount_ == 0 ? std::string_view() : lines.line(lineCount_ - 1);
    const std::size_t from =
        lineCount_ == 0 ? 0 : static_cast<std::size_t>(current.data() - bytes.data()) + current.size();
    const char* hit = findBytes(bytes.substr(from, lines.indexedEnd() - from), needle);
    if (!hit) {
        skipToEnd();
        return false;
    }
    moveTo(lines.lineAt(static_cast<std::size_t>(hit - bytes.data())));
    return true;
}

void VerseScan::skipToEnd() {
    if (lineCount_ < texts_->search.lineCount()) moveTo(texts_->search.lineCount() - 1);
}

}  // namespace versend
